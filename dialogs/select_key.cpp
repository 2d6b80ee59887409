// "Select a key": one procedure for both variants. The macro-step variant (1998) is told
// apart only by its Make and Break radio buttons; it also offers Break and Delay.
#include "dialogs.h"

#include "edit/key_layout.h"
#include "edit/macro_edit.h"
#include "res/resource_ids.h"

namespace {

static_assert(zq70::edit::kDelayButtonKey == IDC_STEP_DELAY - IDC_KEY_BUTTON_BASE,
              "the Delay button starts like a key button");
constexpr int kLastKeyButton = IDC_KEY_BUTTON_BASE + 127;

struct SelectKeyRequest {
    int code;
    bool preselect_break;
    bool delay_allowed;
};

// The keys stand ahead of every control of the template, so that the tab order runs through
// the keyboard first, as the template would have it.
void create_key_buttons(HWND dialog) {
    const auto font = static_cast<WPARAM>(SendMessageA(dialog, WM_GETFONT, 0, 0));
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(dialog, GWLP_HINSTANCE));
    HWND previous = HWND_TOP;
    for (const auto& place : zq70::edit::key_button_places) {
        // Position and size convert apart, as the dialog manager converts a template.
        RECT r{place.x, place.y, place.width, place.height};
        MapDialogRect(dialog, &r);
        HWND button = CreateWindowExA(
            WS_EX_NOPARENTNOTIFY, "BUTTON", zq70::edit::key_button_text(place.key),
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

// Focus goes to the control before the starting button and a real Tab press moves it on,
// so the starting button gets the focus cue and becomes the default button as keyboard
// navigation would make it: Enter then confirms the current key at once.
void focus_starting_button(HWND dialog, int key) {
    HWND start = GetDlgItem(dialog, IDC_KEY_BUTTON_BASE + key);
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
    const bool macro_step = is_macro_step_variant(dialog);
    if (macro_step) {
        CheckDlgButton(dialog, request.preselect_break ? IDC_STEP_BREAK : IDC_STEP_MAKE,
                       BST_CHECKED);
        EnableWindow(GetDlgItem(dialog, IDC_STEP_DELAY), request.delay_allowed);
    }
    focus_starting_button(dialog, zq70::edit::starting_key(request.code, macro_step));
}

void choose_key(HWND dialog, int id) {
    const bool break_chosen =
        is_macro_step_variant(dialog) && IsDlgButtonChecked(dialog, IDC_STEP_BREAK) == BST_CHECKED;
    EndDialog(dialog, zq70::edit::key_step(id - IDC_KEY_BUTTON_BASE, break_chosen));
}

void choose_kind(HWND dialog, int id) {
    CheckDlgButton(dialog, id, BST_CHECKED);
    CheckDlgButton(dialog, IDC_STEP_MAKE + IDC_STEP_BREAK - id, BST_UNCHECKED);
}

void choose_delay(HWND dialog) {
    const int ms = ask_delay(dialog);
    if (ms < 0) return;
    EndDialog(dialog, zq70::edit::delay_step_of_ms(ms));
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
