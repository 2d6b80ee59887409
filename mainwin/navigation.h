// Keyboard work in the key grid: the main window runs no dialog-style navigation, so the
// grid's buttons and lists handle Tab, Shift+Tab, Enter and the arrows themselves and then
// pass every message on to their class procedure.
#pragma once

#include <windows.h>

namespace zq70 {

LRESULT CALLBACK key_button_procedure(HWND button, UINT message, WPARAM wparam, LPARAM lparam);
LRESULT CALLBACK list_box_procedure(HWND box, UINT message, WPARAM wparam, LPARAM lparam);

} // namespace zq70
