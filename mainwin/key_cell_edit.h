// A click (or Enter) on a visible key button: the cell gets its key, macro or raw code.
#pragma once

#include "main_window.h"

namespace zq70 {

// `button` is the index of the clicked button among the visible ones.
void edit_key_cell(MainWindow& main, int button);

} // namespace zq70
