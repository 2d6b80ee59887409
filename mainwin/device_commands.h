// File > Write to ZQ70 (Ctrl+W) and File > Read from ZQ70 (Ctrl+R).
#pragma once

#include "main_window.h"

namespace zq70 {

void write_to_device(MainWindow& main);
void read_from_device(MainWindow& main);

} // namespace zq70
