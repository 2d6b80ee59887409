// File > Write to ZQ70 (Ctrl+W) and File > Read from ZQ70 (Ctrl+R), run under the
// main window's transfer guard.
#pragma once

#include "main_window.h"
#include "mainwin/transfer_commands.h"

namespace zq70 {

void write_to_device(MainWindow& main);
void read_from_device(MainWindow& main);

// Replaces the transports the two commands use (tests: a simulated device).
void use_transports(Transports transports);

} // namespace zq70
