#include "message_pump.h"

#include "link/keyboard_platform_win32.h"
#include "progress_window.h"

namespace zq70 {

namespace {

bool g_quit_taken = false;
WPARAM g_quit_code = 0;

} // namespace

void pump_messages(int ms) {
    const uint32_t start = millisecond_ticks();
    while (millisecond_ticks() - start < static_cast<uint32_t>(ms)) {
        MSG message;
        if (!PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            Sleep(1);
            continue;
        }
        dispatch_other(message);
    }
}

void dispatch_other(const MSG& message) {
    if (message.message == WM_QUIT) {
        g_quit_taken = true;
        g_quit_code = message.wParam;
        return;
    }
    HWND progress = progress_window();
    if (progress && IsWindow(progress) && IsDialogMessageA(progress, const_cast<MSG*>(&message)))
        return;
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

void repost_quit_request() {
    if (!g_quit_taken) return;
    g_quit_taken = false;
    PostQuitMessage(static_cast<int>(g_quit_code));
}

} // namespace zq70
