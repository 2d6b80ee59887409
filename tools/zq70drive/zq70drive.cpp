// Drives a running zq70load.exe from outside, as a user would (end-to-end runs and
// screenshots). Runs under the same Wine server as the program:
//   zq70drive ACTION [ARG] [ACTION [ARG]...]
// Actions:
//   wait-main          wait (up to 30 s) until the main window is visible
//   command NAME       pick a menu item: new, open, save, read, write, exit, about; a port
//                      ("port=Com 3", "port=Keyboard"); or an option by the captions of the
//                      Options menu ("Switches/Keypad to=RS-232", "Baud Rate Setting=9600")
//   rows N, columns N  pick a count in the "Number of Rows" / "Number of Columns" list
//   answer yes|no      press Yes or No in the message box that is up
//   answer-box TEXT    wait for the message box showing TEXT (\n for a line break) and press
//                      its first button; fails, printing what it saw, on any other text
//   save-as PATH       fill the "Save File" dialog with PATH and press OK
//   open PATH          File > Open, then fill the "Open File" dialog with PATH and press OK
//   code N             in RS-232 mode, give the first cell the raw code N (Key Code dialog)
//   menu LETTER        open a menu of the menu bar; escape closes it again
//   maximize, restore  the window's size
//   close              ask the window to close (WM_CLOSE)
// Exit status 0 when every action succeeded; the first failure ends the run.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "config/options.h"
#include "res/resource_ids.h"

namespace {

HWND g_main = nullptr;
HANDLE g_process = nullptr;
DWORD g_process_id = 0;

template <typename Probe> HWND wait_for(Probe probe, DWORD ms) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (HWND found = probe()) return found;
        if (GetTickCount() - start >= ms) return nullptr;
        Sleep(20);
    }
}

void wait_until_idle() {
    if (g_process) WaitForInputIdle(g_process, 5000);
    Sleep(100);
}

HWND find_main() {
    HWND main = FindWindowA("zq70loadClass", nullptr);
    return main && IsWindowVisible(main) ? main : nullptr;
}

struct DialogSearch {
    const char* caption; // nullptr: any message box (a dialog with the text control 0xFFFF)
    HWND found;
};

// Visible top-level dialogs of the program's process: message boxes and common dialogs.
BOOL CALLBACK find_dialog(HWND hwnd, LPARAM param) {
    auto* search = reinterpret_cast<DialogSearch*>(param);
    char cls[64] = "";
    GetClassNameA(hwnd, cls, sizeof cls);
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (process != g_process_id || std::strcmp(cls, "#32770") != 0 || !IsWindowVisible(hwnd))
        return TRUE;
    char caption[256] = "";
    GetWindowTextA(hwnd, caption, sizeof caption);
    if (search->caption ? std::strcmp(caption, search->caption) != 0
                        : GetDlgItem(hwnd, 0xFFFF) == nullptr)
        return TRUE;
    search->found = hwnd;
    return FALSE;
}

HWND wait_for_dialog(const char* caption, DWORD ms = 60000) {
    return wait_for(
        [caption] {
            DialogSearch search{caption, nullptr};
            EnumWindows(find_dialog, reinterpret_cast<LPARAM>(&search));
            return search.found;
        },
        ms);
}

// Any dialog of the program owned by the main window (boxes and the Key Code dialog).
HWND wait_for_owned_dialog() {
    return wait_for(
        [] {
            HWND found = nullptr;
            EnumWindows(
                [](HWND hwnd, LPARAM param) -> BOOL {
                    char cls[16] = "";
                    GetClassNameA(hwnd, cls, sizeof cls);
                    if (std::strcmp(cls, "#32770") != 0 || GetWindow(hwnd, GW_OWNER) != g_main ||
                        !IsWindowVisible(hwnd))
                        return TRUE;
                    *reinterpret_cast<HWND*>(param) = hwnd;
                    return FALSE;
                },
                reinterpret_cast<LPARAM>(&found));
            return found;
        },
        5000);
}

void wait_gone(HWND hwnd) {
    wait_for([hwnd] { return IsWindow(hwnd) ? nullptr : hwnd; }, 10000);
}

std::string text_of(HWND hwnd) {
    char buffer[1024] = "";
    if (hwnd) GetWindowTextA(hwnd, buffer, sizeof buffer);
    return buffer;
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

void press(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

void pick(int list, int index) {
    HWND box = nullptr;
    for (int i = 0; i <= list; ++i)
        box = FindWindowExA(g_main, box, "ComboBox", nullptr);
    SendMessageA(box, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    PostMessageA(g_main, WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE), reinterpret_cast<LPARAM>(box));
    wait_until_idle();
}

bool answer_box(const char* expected_text) {
    const std::string expected = unescape(expected_text);
    HWND box = wait_for_dialog(nullptr);
    if (!box) {
        std::fprintf(stderr, "zq70drive: no message box; expected: %s\n", expected.c_str());
        return false;
    }
    const std::string seen = text_of(GetDlgItem(box, 0xFFFF));
    std::printf("box \"%s\": %s\n", text_of(box).c_str(), seen.c_str());
    for (int id : {IDOK, IDYES, IDNO, IDCANCEL}) {
        if (GetDlgItem(box, id)) {
            press(box, id);
            break;
        }
    }
    wait_gone(box);
    if (seen != expected)
        std::fprintf(stderr, "zq70drive: unexpected box text; expected: %s\n", expected.c_str());
    return seen == expected;
}

BOOL CALLBACK find_edit(HWND hwnd, LPARAM param) {
    char cls[32] = "";
    GetClassNameA(hwnd, cls, sizeof cls);
    if (_stricmp(cls, "Edit") != 0 || !IsWindowVisible(hwnd)) return TRUE;
    *reinterpret_cast<HWND*>(param) = hwnd;
    return FALSE;
}

// Fills the file dialog with this title, once it is up, and presses OK.
bool fill_file_dialog(const char* title, const char* path) {
    HWND dialog = wait_for_dialog(title, 30000);
    if (!dialog) return false;
    HWND edit = nullptr;
    wait_for(
        [&] {
            EnumChildWindows(dialog, find_edit, reinterpret_cast<LPARAM>(&edit));
            return edit;
        },
        5000);
    if (!edit) return false;
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path));
    press(dialog, IDOK);
    wait_gone(dialog);
    return !IsWindow(dialog);
}

// The first button child is the first key cell: the controls keep their creation order.
bool enter_code(const char* code) {
    PostMessageA(FindWindowExA(g_main, nullptr, "Button", nullptr), BM_CLICK, 0, 0);
    HWND dialog = wait_for_owned_dialog();
    if (!dialog) return false;
    SetDlgItemTextA(dialog, IDC_NUMBER_FIELD, code);
    press(dialog, IDC_NUMBER_OK);
    wait_until_idle();
    return true;
}

struct NamedCommand {
    const char* name;
    int id;
};
constexpr NamedCommand kFileCommands[] = {
    {"new", IDC_FILE_NEW},     {"open", IDC_FILE_OPEN},   {"save", IDC_FILE_SAVE},
    {"read", IDC_FILE_READ},   {"write", IDC_FILE_WRITE}, {"exit", IDC_FILE_EXIT},
    {"about", IDC_HELP_ABOUT},
};
constexpr const char* kPortItems[] = {"Com 1", "Com 2", "Com 3",   "Com 4",
                                      "Com 5", "Com 6", "Keyboard"};

// The command id of a name, or 0 when it names no menu item.
int command_of_name(const std::string& name) {
    for (const NamedCommand& command : kFileCommands)
        if (name == command.name) return command.id;
    const std::size_t equals = name.find('=');
    if (equals == std::string::npos) return 0;
    const std::string popup = name.substr(0, equals);
    const std::string item = name.substr(equals + 1);
    if (popup == "port") {
        for (int i = 0; i < 7; ++i)
            if (item == kPortItems[i]) return IDC_PORT_FIRST + i;
        return 0;
    }
    const zq70::OptionGroup* option = zq70::option_of_caption(popup);
    const int value = option ? zq70::option_value(*option, item) : -1;
    return value < 0 ? 0 : option->first_command + value;
}

bool post_command(const char* name) {
    const int id = command_of_name(name);
    if (id == 0) {
        std::fprintf(stderr, "zq70drive: no command named %s\n", name);
        return false;
    }
    PostMessageA(g_main, WM_COMMAND, MAKEWPARAM(id, 0), 0);
    Sleep(200);
    return true;
}

bool answer(const char* what) {
    HWND box = wait_for_owned_dialog();
    if (!box) return false;
    press(box, std::strcmp(what, "yes") == 0 ? IDYES : IDNO);
    wait_until_idle();
    return true;
}

// Carries out one action with its argument; false when it failed.
bool act(const std::string& action, const char* argument) {
    if (action == "command") return post_command(argument);
    if (action == "rows" || action == "columns") {
        pick(action == "rows" ? 0 : 1, std::atoi(argument));
        return true;
    }
    if (action == "answer") return answer(argument);
    if (action == "answer-box") return answer_box(argument);
    if (action == "save-as") return fill_file_dialog("Save File", argument);
    if (action == "open") {
        PostMessageA(g_main, WM_COMMAND, MAKEWPARAM(IDC_FILE_OPEN, 0), 0);
        const bool opened = fill_file_dialog("Open File", argument);
        wait_until_idle();
        return opened;
    }
    if (action == "code") return enter_code(argument);
    if (action == "menu") {
        PostMessageA(g_main, WM_SYSCOMMAND, SC_KEYMENU, static_cast<LPARAM>(argument[0]));
        Sleep(500);
        return true;
    }
    if (action == "escape") {
        PostMessageA(g_main, WM_KEYDOWN, VK_ESCAPE, 0);
        PostMessageA(g_main, WM_KEYDOWN, VK_ESCAPE, 0);
        Sleep(300);
        return true;
    }
    if (action == "maximize" || action == "restore") {
        PostMessageA(g_main, WM_SYSCOMMAND, action == "maximize" ? SC_MAXIMIZE : SC_RESTORE, 0);
        wait_until_idle();
        return true;
    }
    if (action == "close") return PostMessageA(g_main, WM_CLOSE, 0, 0) != FALSE;
    std::fprintf(stderr, "zq70drive: unknown action %s\n", action.c_str());
    return false;
}

bool takes_argument(const std::string& action) {
    for (const char* name :
         {"command", "rows", "columns", "answer", "answer-box", "save-as", "open", "code", "menu"})
        if (action == name) return true;
    return false;
}

} // namespace

int main(int argc, char** argv) {
    g_main = wait_for(find_main, 30000);
    if (!g_main) {
        std::fprintf(stderr, "zq70drive: no zq70load window\n");
        return 1;
    }
    GetWindowThreadProcessId(g_main, &g_process_id);
    g_process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, g_process_id);
    for (int i = 1; i < argc; ++i) {
        const std::string action = argv[i];
        if (action == "wait-main") continue; // done above
        const char* argument = "";
        if (takes_argument(action)) {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "zq70drive: %s needs an argument\n", action.c_str());
                return 1;
            }
            argument = argv[++i];
        }
        if (!act(action, argument)) {
            std::fprintf(stderr, "zq70drive: %s %s failed\n", action.c_str(), argument);
            return 1;
        }
    }
    return 0;
}
