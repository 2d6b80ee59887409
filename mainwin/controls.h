// The three kinds of child control of the main window. Each is created hidden, without an
// identifier (notifications are told apart by handle) and with the window's font.
#pragma once

#include "main_window.h"

namespace zq70 {

// Drop-down list running list_box_procedure.
HWND create_list_box(MainWindow& main, int x, int y, int width, int height);
// Multi-line push button running key_button_procedure.
HWND create_key_button(MainWindow& main, int x, int y, int width, int height, const char* text);
// Centred static text.
HWND create_label(MainWindow& main, int x, int y, int width, int height, const char* text);

// The class procedures that the subclassed buttons and lists pass every message on to.
WNDPROC button_class_procedure();
WNDPROC list_box_class_procedure();

} // namespace zq70
