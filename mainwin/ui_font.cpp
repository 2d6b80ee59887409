#include "ui_font.h"

#include "main_window_texts.h"

namespace zq70 {

// 8.25 points is 33 quarter points; 72 points make an inch.
int ui_font_height(int dpi) {
    return -MulDiv(33, dpi, 288);
}

HFONT create_ui_font(HWND window) {
    const HDC dc = GetDC(window);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(window, dc);
    return CreateFontA(ui_font_height(dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH, kUiFontFace);
}

} // namespace zq70
