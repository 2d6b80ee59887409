// The main window's commands, one function each, named after what the user asked for.
#pragma once

#include "main_window.h"

namespace zq70 {

// Menu items and accelerators 1003..1080 (nothing happens while a transfer runs).
void run_command(MainWindow& main, int command);

void new_file(MainWindow& main);
void save_to_file(MainWindow& main);
void open_from_file(MainWindow& main);
void exit_program(MainWindow& main);
// Option items 1010..1068 except Switches/Keypad: the check mark moves, the value is stored.
void choose_option(MainWindow& main, int command);
// Switches/Keypad to (1015, 1016): a real change asks first and clears the key tables.
void choose_switches_keypad(MainWindow& main, int command);
// Communication port (1070..1076): remembered in the preferences file, not a change.
void choose_port(MainWindow& main, int command);
void show_about_box(MainWindow& main);

} // namespace zq70
