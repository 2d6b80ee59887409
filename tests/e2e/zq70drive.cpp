// Drives a running zq70load.exe from outside, as a user would, one step per invocation:
//   zq70drive wait-main [ms]                 wait until the main window is visible
//   zq70drive command ID                     post a menu command to the main window
//   zq70drive answer-box TEXT [ms]           wait for the message box showing TEXT, press its
//                                            first button; fails (and prints what it saw)
//                                            when another box comes up instead
//   zq70drive save-as PATH [ms]              fill the "Save File" dialog with PATH, press OK
//   zq70drive close                          post WM_CLOSE to the main window
// Exit status 0 on success. Runs under the same Wine server as the program.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

const char kMainClass[] = "zq70loadClass";

HWND find_main() {
    HWND main = FindWindowA(kMainClass, nullptr);
    return main && IsWindowVisible(main) ? main : nullptr;
}

template <typename Probe> HWND wait_for(Probe probe, DWORD ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND found = probe()) return found;
        if (GetTickCount() - start >= ms) return nullptr;
        Sleep(20);
    }
}

struct BoxSearch {
    DWORD process;
    const char* caption; // nullptr: any message box (a dialog with the text control 0xFFFF)
    HWND found;
};

// Top-level dialogs of the program's process, message boxes and common dialogs alike.
BOOL CALLBACK find_dialog(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<BoxSearch*>(param);
    char cls[64] = "";
    GetClassNameA(hwnd, cls, sizeof cls);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (process != search->process || std::strcmp(cls, "#32770") != 0 || !IsWindowVisible(hwnd))
        return TRUE;
    char caption[256] = "";
    GetWindowTextA(hwnd, caption, sizeof caption);
    if (search->caption ? std::strcmp(caption, search->caption) != 0
                        : GetDlgItem(hwnd, 0xFFFF) == nullptr)
        return TRUE;
    search->found = hwnd;
    return FALSE;
}

HWND find_program_dialog(const char* caption) {
    HWND main = FindWindowA(kMainClass, nullptr);
    if (!main) return nullptr;
    BoxSearch search{0, caption, nullptr};
    GetWindowThreadProcessId(main, &search.process);
    EnumWindows(find_dialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string text_of(HWND hwnd) {
    char buffer[1024] = "";
    if (hwnd) GetWindowTextA(hwnd, buffer, sizeof buffer);
    return buffer;
}

// A message box's text is the static control 0xFFFF; its buttons are IDOK..IDNO.
std::string box_text(HWND box) {
    return text_of(GetDlgItem(box, 0xFFFF));
}

void press_first_button(HWND box) {
    for (int id : {IDOK, IDYES, IDNO, IDCANCEL}) {
        if (HWND button = GetDlgItem(box, id)) {
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)button);
            return;
        }
    }
}

std::string unescape(const char* text) {
    std::string out;
    for (const char* p = text; *p; ++p) {
        if (p[0] == '\\' && p[1] == 'n') {
            out += '\n';
            ++p;
        } else {
            out += *p;
        }
    }
    return out;
}

BOOL CALLBACK find_edit(HWND hwnd, LPARAM param) {
    char cls[32] = "";
    GetClassNameA(hwnd, cls, sizeof cls);
    if (_stricmp(cls, "Edit") != 0 || !IsWindowVisible(hwnd)) return TRUE;
    *reinterpret_cast<HWND*>(param) = hwnd;
    return FALSE;
}

int fail(const char* what) {
    std::fprintf(stderr, "zq70drive: %s\n", what);
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) return fail("usage: zq70drive STEP [ARGS]");
    const std::string step = argv[1];
    auto timeout = [&](int index, DWORD fallback) {
        return argc > index ? static_cast<DWORD>(std::atoi(argv[index])) : fallback;
    };

    if (step == "wait-main")
        return wait_for(find_main, timeout(2, 30000)) ? 0 : fail("no main window");

    HWND main = find_main();
    if (!main) return fail("the program is not running");

    if (step == "command" && argc > 2) {
        return PostMessageA(main, WM_COMMAND, MAKEWPARAM(std::atoi(argv[2]), 0), 0)
                   ? 0
                   : fail("post failed");
    }
    if (step == "close") return PostMessageA(main, WM_CLOSE, 0, 0) ? 0 : fail("post failed");

    if (step == "answer-box" && argc > 2) {
        const std::string expected = unescape(argv[2]);
        HWND box = wait_for([] { return find_program_dialog(nullptr); }, timeout(3, 60000));
        if (!box) return fail(("no message box; expected: " + expected).c_str());
        const std::string seen = box_text(box);
        std::printf("box \"%s\": %s\n", text_of(box).c_str(), seen.c_str());
        press_first_button(box);
        wait_for([box] { return IsWindow(box) ? nullptr : box; }, 5000);
        return seen == expected ? 0 : fail(("unexpected box text; expected: " + expected).c_str());
    }

    if (step == "save-as" && argc > 2) {
        HWND dialog = wait_for([] { return find_program_dialog("Save File"); }, timeout(3, 30000));
        if (!dialog) return fail("no Save File dialog");
        HWND edit = nullptr;
        wait_for(
            [&] {
                EnumChildWindows(dialog, find_edit, reinterpret_cast<LPARAM>(&edit));
                return edit;
            },
            5000);
        if (!edit) return fail("no file name field");
        SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(argv[2]));
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        wait_for([dialog] { return IsWindow(dialog) ? nullptr : dialog; }, 10000);
        return IsWindow(dialog) ? fail("the Save File dialog stayed open") : 0;
    }
    return fail("unknown step");
}
