// The main window procedure: the one entry for the user's actions on the main window.
#pragma once

#include <windows.h>

namespace zq70 {

LRESULT CALLBACK main_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam);

} // namespace zq70
