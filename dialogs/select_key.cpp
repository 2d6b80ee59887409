// "Select a key": one procedure for both variants. The macro-step variant (1998) is told
// apart only by its Make and Break radio buttons; it also offers Break and Delay.
#include "dialogs.h"

#include "config/key_names.h"
#include "key_layout.h"
#include "res/resource_ids.h"

namespace {

constexpr int kDelayButtonKey = IDC_STEP_DELAY - IDC_KEY_BUTTON_BASE; // 132
constexpr int kLastKeyButton = IDC_KEY_BUTTON_BASE + 127;

struct SelectKeyRequest {
    int code;
    bool preselect_break;
    bool delay_allowed;
};

const char* button_caption(int key) {
    const char* caption =
        key == zq70::kNotUsed ? zq70::key_name(key, false) : zq70::key_button_caption(key);
    return caption ? caption : "";
}

// The keys stand ahead of every control of the template, so that the tab order runs through
// the keyboard first, as the template would have it.
void create_key_buttons(HWND dialog) {
    const auto font = static_cast<WPARAM>(SendMessageA(dialog, WM_GETFONT, 0, 0));
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
    HWND previous = HWND_TOP;
    for (const auto& place : zq70::key_button_places) {
        // Position and size convert apart, as the dialog manager converts a template.
        RECT r{place.x, place.y, place.width, place.height};
        MapDialogRect(dialog, &r);
        HWND button = CreateWindowExA(
            WS_EX_NOPARENTNOTIFY, "BUTTON", button_caption(place.key),
            WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, r.left, r.top, r.right, r.bottom,
            dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(IDC_KEY_BUTTON_BASE + place.key)),
            instance, nullptr);
        SendMessageA(button, WM_SETFONT, font, FALSE);
        SetWindowPos(button, previous, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        previous = button;
    }
}

bool is_macro_step_variant(HWND dialog) {
    return GetDlgItem(dialog, IDC_STEP_MAKE) != nullptr;
}

int starting_key(int code) {
    if ((code & 0xFF) == zq70::kDelayMarker) return kDelayButtonKey;
    if (code > zq70::kHighestKeyNumber) return zq70::kNotUsed;
    return code;
}

// Focus goes to the control before the starting button and a real Tab press moves it on,
// so the starting button gets the focus cue and becomes the default button as keyboard
// navigation would make it: Enter then confirms the current key at once.
void focus_starting_button(HWND dialog, int key) {
    HWND start = GetDlgItem(dialog, IDC_KEY_BUTTON_BASE + key);
    if (!start) start = GetDlgItem(dialog, IDC_KEY_BUTTON_BASE + zq70::kNotUsed);
    SetFocus(GetNextDlgTabItem(dialog, start, TRUE));

    INPUT tab[2] = {};
    tab[0].type = INPUT_KEYBOARD;
    tab[0].ki.wVk = VK_TAB;
    tab[1] = tab[0];
    tab[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, tab, sizeof(INPUT));
}

void open_dialog(HWND dialog, const SelectKeyRequest& request) {
    create_key_buttons(dialog);
    int code = request.code;
    if (is_macro_step_variant(dialog)) {
        CheckDlgButton(dialog, request.preselect_break ? IDC_STEP_BREAK : IDC_STEP_MAKE,
                       BST_CHECKED);
        EnableWindow(GetDlgItem(dialog, IDC_STEP_DELAY), request.delay_allowed);
        code &= 0x7F;
    }
    focus_starting_button(dialog, starting_key(code));
}

void choose_key(HWND dialog, int id) {
    int result = id - IDC_KEY_BUTTON_BASE;
    if (result != zq70::kNotUsed && is_macro_step_variant(dialog) &&
        IsDlgButtonChecked(dialog, IDC_STEP_BREAK) == BST_CHECKED)
        result = zq70::break_step(result);
    EndDialog(dialog, result);
}

void choose_kind(HWND dialog, int id) {
    CheckDlgButton(dialog, id, BST_CHECKED);
    CheckDlgButton(dialog, IDC_STEP_MAKE + IDC_STEP_BREAK - id, BST_UNCHECKED);
}

// 10 ms units; below 10 ms the shortest delay, from 2560 ms on the longest (count 0).
int delay_count_of_ms(int ms) {
    const int count = ms / 10;
    if (count == 0) return 1;
    if (count > 255) return 0;
    return count;
}

void choose_delay(HWND dialog) {
    const int ms = ask_delay(dialog);
    if (ms < 0) return;
    EndDialog(dialog, zq70::delay_step(delay_count_of_ms(ms)));
}

void on_command(HWND dialog, int id, int notification) {
    const bool radio = id == IDC_STEP_MAKE || id == IDC_STEP_BREAK;
    // A double click on a radio button comes after its click: it picks nothing new.
    if (radio && notification == BN_DOUBLECLICKED) return;
    if (notification != BN_CLICKED) {
        EndDialog(dialog, -1);
    } else if (id >= IDC_KEY_BUTTON_BASE && id <= kLastKeyButton) {
        choose_key(dialog, id);
    } else if (radio) {
        choose_kind(dialog, id);
    } else if (id == IDC_STEP_DELAY) {
        choose_delay(dialog);
    } else {
        EndDialog(dialog, -1);
    }
}

INT_PTR CALLBACK select_key_procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_INITDIALOG:
        open_dialog(dialog, *reinterpret_cast<const SelectKeyRequest*>(lparam));
        return FALSE;
    case WM_COMMAND: on_command(dialog, LOWORD(wparam), HIWORD(wparam)); return TRUE;
    }
    return FALSE;
}

int run_select_key(HWND owner, int template_id, const SelectKeyRequest& request) {
    return static_cast<int>(
        DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(template_id), owner,
                        select_key_procedure, reinterpret_cast<LPARAM>(&request)));
}

} // namespace

int select_key(HWND owner, int code) {
    return run_select_key(owner, IDD_SELECT_KEY, {code, false, false});
}

int select_macro_step(HWND owner, int value, bool preselect_break, bool delay_allowed) {
    return run_select_key(owner, IDD_SELECT_MACRO_STEP, {value, preselect_break, delay_allowed});
}
