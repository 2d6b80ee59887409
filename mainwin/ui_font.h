// The one font of every control of the main window: 8.25 points at the display's
// logical-inch setting.
#pragma once

#include <windows.h>

namespace zq70 {

// LOGFONT height (negative: character height) at `dpi` pixels per logical inch.
int ui_font_height(int dpi);

HFONT create_ui_font(HWND window);

} // namespace zq70
