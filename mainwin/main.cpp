// Entry point of zq70load: start-up, message loop, shut-down.
#include <windows.h>

#include "main_window.h"
#include "main_window_texts.h"
#include "volume_check.h"
#include "win32_user_interface.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int show_command) {
    using namespace zq70;
    static MainWindow main;
    static Session session;
    session.ui = make_win32_user_interface(&main.window);

    warn_if_distribution_volume(current_volume_label(), session.ui);
    if (!create_main_window(main, session, instance, show_command)) {
        MessageBoxA(nullptr, kCannotCreateWindow, kProgramCaption, MB_ICONERROR | MB_OK);
        return 1;
    }
    const int exit_code = run_message_loop(main);
    release_main_window(main);
    return exit_code;
}
