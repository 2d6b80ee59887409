// Drives a running zq70load from outside, as a user would, for screenshots:
//   mainwin_driver ACTION [ARGS] [ACTION [ARGS]...]
// Actions: rows N, columns N (pick a count in the list), command ID (a menu item), answer
// yes|no (the open message box), code N (in RS-232 mode: give the first cell the raw code N
// through the Key Code dialog), menu LETTER (open a menu of the menu bar), escape (close
// it), maximize, restore, close (ask the window to close). After each action the driver
// waits until the program is idle again.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

HWND main_window = nullptr;
HANDLE process = nullptr;

void wait_until_idle() {
    if (process) WaitForInputIdle(process, 5000);
    Sleep(100);
}

HWND nth_combo_box(int n) {
    HWND box = nullptr;
    for (int i = 0; i <= n; ++i)
        box = FindWindowExA(main_window, box, "ComboBox", nullptr);
    return box;
}

void pick(HWND box, int index) {
    SendMessageA(box, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    PostMessageA(main_window, WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(box));
}

struct BoxSearch {
    HWND found;
};

BOOL CALLBACK find_box(HWND window, LPARAM search) {
    char name[16] = "";
    GetClassNameA(window, name, sizeof name);
    if (std::strcmp(name, "#32770") == 0 && GetWindow(window, GW_OWNER) == main_window &&
        IsWindowVisible(window)) {
        reinterpret_cast<BoxSearch*>(search)->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND wait_for_box() {
    BoxSearch search{nullptr};
    for (int tries = 0; tries < 50 && !search.found; ++tries) {
        EnumWindows(find_box, reinterpret_cast<LPARAM>(&search));
        if (!search.found) Sleep(100);
    }
    return search.found;
}

bool answer(const char* what) {
    const HWND box = wait_for_box();
    if (!box) return false;
    PostMessageA(box, WM_COMMAND, std::strcmp(what, "yes") == 0 ? IDYES : IDNO, 0);
    return true;
}

// The first button child is the first key cell: the controls keep their creation order.
bool enter_code(const char* code) {
    PostMessageA(FindWindowExA(main_window, nullptr, "Button", nullptr), BM_CLICK, 0, 0);
    const HWND dialog = wait_for_box();
    if (!dialog) return false;
    SetDlgItemTextA(dialog, 2301, code);       // the number field
    PostMessageA(dialog, WM_COMMAND, 2228, 0); // OK
    return true;
}

// Returns how many arguments the action took, or 0 when it failed.
int act(int argc, char** argv) {
    const char* action = argv[0];
    const char* argument = argc > 1 ? argv[1] : "";
    if (std::strcmp(action, "rows") == 0) {
        pick(nth_combo_box(0), std::atoi(argument));
    } else if (std::strcmp(action, "columns") == 0) {
        pick(nth_combo_box(1), std::atoi(argument));
    } else if (std::strcmp(action, "command") == 0) {
        PostMessageA(main_window, WM_COMMAND, static_cast<WPARAM>(std::atoi(argument)), 0);
        Sleep(200);
        return 2;
    } else if (std::strcmp(action, "answer") == 0) {
        if (!answer(argument)) return 0;
    } else if (std::strcmp(action, "code") == 0) {
        if (!enter_code(argument)) return 0;
    } else if (std::strcmp(action, "menu") == 0) {
        PostMessageA(main_window, WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(argument[0]));
        Sleep(500);
        return 2;
    } else if (std::strcmp(action, "escape") == 0) {
        PostMessageA(main_window, WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageA(main_window, WM_KEYDOWN, VK_ESCAPE, 0);
        Sleep(300);
        return 1;
    } else if (std::strcmp(action, "maximize") == 0 || std::strcmp(action, "restore") == 0) {
        PostMessageA(main_window, WM_SYSCOMMAND, action[0] == 'm' ? SC_MAXIMIZE : SC_RESTORE, 0);
        wait_until_idle();
        return 1;
    } else if (std::strcmp(action, "close") == 0) {
        PostMessageA(main_window, WM_CLOSE, 0, 0);
        Sleep(200);
        return 1;
    } else {
        return 0;
    }
    wait_until_idle();
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    for (int tries = 0; tries < 100 && !main_window; ++tries) {
        main_window = FindWindowA("zq70loadClass", nullptr);
        if (!main_window) Sleep(100);
    }
    if (!main_window) {
        std::fprintf(stderr, "mainwin_driver: no zq70load window\n");
        return 1;
    }
    DWORD process_id = 0;
    GetWindowThreadProcessId(main_window, &process_id);
    process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, process_id);
    for (int i = 1; i < argc;) {
        const int used = act(argc - i, argv + i);
        if (used == 0) {
            std::fprintf(stderr, "mainwin_driver: %s failed\n", argv[i]);
            return 1;
        }
        i += used;
    }
    return 0;
}
