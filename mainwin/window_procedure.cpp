#include "window_procedure.h"

#include "commands.h"
#include "config/files.h"
#include "grid.h"
#include "list_notifications.h"
#include "main_window.h"
#include "res/resource_ids.h"

namespace zq70 {
namespace {

void on_command(MainWindow& m, WPARAM wparam, LPARAM lparam) {
    const int id = LOWORD(wparam);
    if (id >= IDC_FILE_NEW && id <= IDC_HELP_ABOUT) {
        if (!m.transfer_running) run_command(m, id);
        return;
    }
    handle_control_notification(m, reinterpret_cast<HWND>(lparam), HIWORD(wparam));
}

// True when the window may be destroyed now.
bool close_requested(MainWindow& m) {
    if (m.transfer_running) {
        m.close_pending = true;
        return false;
    }
    return query_save_changes(*m.session);
}

} // namespace

MainWindow* main_window_of(HWND window) {
    const HWND top = GetAncestor(window, GA_ROOT);
    return top ? reinterpret_cast<MainWindow*>(GetWindowLongPtrA(top, GWLP_USERDATA)) : nullptr;
}

LRESULT CALLBACK main_window_procedure(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        auto* main =
            static_cast<MainWindow*>(reinterpret_cast<CREATESTRUCTA*>(lparam)->lpCreateParams);
        main->window = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(main));
    }
    auto* main = reinterpret_cast<MainWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (!main || !main->controls_ready) return DefWindowProcA(window, message, wparam, lparam);
    MainWindow& m = *main;

    switch (message) {
    case WM_COMMAND: on_command(m, wparam, lparam); return 0;
    case WM_HSCROLL:
    case WM_VSCROLL: handle_scroll_message(m, message, wparam, lparam); return 0;
    case WM_SIZING:
        snap_window_size(static_cast<int>(wparam), *reinterpret_cast<RECT*>(lparam));
        return TRUE;
    case WM_SIZE:
        if (wparam != SIZE_MINIMIZED) show_grid(m);
        return 0;
    case WM_KEYDOWN:
        if (wparam == VK_TAB) SetFocus(m.rows_box);
        return 0;
    case WM_LBUTTONDOWN: SetFocus(window); return 0;
    case WM_CLOSE:
        if (!close_requested(m)) return 0;
        break;
    case WM_DESTROY: PostQuitMessage(0); return 0;
    default: break;
    }
    return DefWindowProcA(window, message, wparam, lparam);
}

} // namespace zq70
