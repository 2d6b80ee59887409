// The window half of the model: menu check marks and graying, and the count lists, drawn
// from the configuration (never read back from the controls).
#pragma once

#include "main_window.h"

namespace zq70 {

// Check marks of the ten option popups and the graying of the two "Make Only" items.
void show_option_marks(MainWindow& main);
// The check mark of the Communication port popup.
void show_port_mark(MainWindow& main);
// Row and column list selections and the discretes count.
void show_counts(MainWindow& main);

} // namespace zq70
