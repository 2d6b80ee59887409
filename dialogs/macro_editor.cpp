// The macro editor "ZQ70 Macro": the 16 make and 16 break steps of one macro slot, eight
// columns at a time, within the device's macro memory.
#include "dialogs.h"

#include <algorithm>

#include "edit/captions.h"
#include "edit/macro_edit.h"
#include "res/resource_ids.h"

namespace {

constexpr int kVisibleColumns = 8;
constexpr int kLastPosition = zq70::kStepsPerSequence - kVisibleColumns; // 8
constexpr int kStepButtonCount = 2 * kVisibleColumns;
constexpr int kPageStep = kVisibleColumns - 1;

struct MacroEditor {
    zq70::Configuration& config;
    int slot;
    const zq70::MacroSlot& backup;

    zq70::MacroSlot& macro() const { return config.macros[slot]; }
};

MacroEditor& editor_of(HWND dialog) {
    return *reinterpret_cast<MacroEditor*>(GetWindowLongPtrA(dialog, DWLP_USER));
}

// The step word that step button `button` (0..7 make row, 8..15 break row) shows at scroll
// position `position`.
int word_of_button(int button, int position) {
    const bool break_row = button >= kVisibleColumns;
    return zq70::edit::step_word(break_row, position + button % kVisibleColumns);
}

int scroll_position(HWND dialog) {
    return GetScrollPos(GetDlgItem(dialog, IDC_MACRO_SCROLL), SB_CTL);
}

void keep_focus_on_enabled_control(HWND dialog) {
    HWND focus = GetFocus();
    if (focus && IsChild(dialog, focus) && !IsWindowEnabled(focus))
        SendMessageA(dialog, WM_NEXTDLGCTL, 0, FALSE);
}

void refresh(HWND dialog) {
    const MacroEditor& editor = editor_of(dialog);
    const int position = scroll_position(dialog);
    for (int i = 0; i < kVisibleColumns; ++i)
        SetDlgItemTextA(dialog, IDC_MACRO_STEP_LABEL_FIRST + i,
                        zq70::edit::step_label(position + i).c_str());
    for (int j = 0; j < kStepButtonCount; ++j) {
        const int word = word_of_button(j, position);
        HWND button = GetDlgItem(dialog, IDC_MACRO_MAKE_STEP_FIRST + j);
        SetWindowTextA(button, zq70::edit::step_caption(editor.macro().steps[word]).c_str());
        EnableWindow(button, zq70::edit::step_enabled(editor.config, editor.slot, word));
    }
    keep_focus_on_enabled_control(dialog);
    SetDlgItemTextA(dialog, IDC_MACRO_MEMORY,
                    zq70::edit::memory_remaining_caption(editor.config).c_str());
}

void open_editor(HWND dialog, MacroEditor& editor) {
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&editor));
    zq70::edit::open_macro(editor.config, editor.slot);
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
    info.nMax = kLastPosition;
    info.nPage = 1;
    SetScrollInfo(GetDlgItem(dialog, IDC_MACRO_SCROLL), SB_CTL, &info, TRUE);
    refresh(dialog);
    SetFocus(GetNextDlgTabItem(dialog, nullptr, FALSE));
}

void scroll(HWND dialog, int request, int thumb) {
    HWND bar = GetDlgItem(dialog, IDC_MACRO_SCROLL);
    const int position = GetScrollPos(bar, SB_CTL);
    int target = position;
    bool redraw = true;
    switch (request) {
    case SB_LINELEFT: target = position - 1; break;
    case SB_LINERIGHT: target = position + 1; break;
    case SB_PAGELEFT: target = position - kPageStep; break;
    case SB_PAGERIGHT: target = position + kPageStep; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        target = thumb;
        redraw = false;
        break;
    case SB_LEFT: target = 0; break;
    case SB_RIGHT: target = kLastPosition; break;
    }
    SetScrollPos(bar, SB_CTL, std::clamp(target, 0, kLastPosition), redraw);
    refresh(dialog);
}

void edit_step(HWND dialog, int button) {
    if (!IsWindowEnabled(GetDlgItem(dialog, IDC_MACRO_MAKE_STEP_FIRST + button))) return;
    MacroEditor& editor = editor_of(dialog);
    const int word = word_of_button(button, scroll_position(dialog));
    const int value = editor.macro().steps[word];
    const bool preselect_break = zq70::edit::preselects_break(value, button >= kVisibleColumns);
    const bool delay_allowed = zq70::edit::delay_fits(editor.config, editor.slot, word);
    zq70::edit::set_step(editor.config, editor.slot, word,
                         select_macro_step(dialog, value, preselect_break, delay_allowed));
    refresh(dialog);
}

void accept(HWND dialog) {
    MacroEditor& editor = editor_of(dialog);
    EndDialog(dialog, zq70::edit::accept_macro(editor.config, editor.slot));
}

void cancel(HWND dialog) {
    MacroEditor& editor = editor_of(dialog);
    zq70::edit::cancel_macro(editor.config, editor.slot, editor.backup);
    EndDialog(dialog, -1);
}

void on_command(HWND dialog, int id, int notification) {
    const int button = id - IDC_MACRO_MAKE_STEP_FIRST;
    if (notification != BN_CLICKED)
        cancel(dialog);
    else if (button >= 0 && button < kStepButtonCount)
        edit_step(dialog, button);
    else if (id == IDC_NUMBER_OK)
        accept(dialog);
    else
        cancel(dialog);
}

INT_PTR CALLBACK macro_editor_procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_INITDIALOG: open_editor(dialog, *reinterpret_cast<MacroEditor*>(lparam)); return FALSE;
    case WM_COMMAND: on_command(dialog, LOWORD(wparam), HIWORD(wparam)); return TRUE;
    case WM_HSCROLL:
        if (reinterpret_cast<HWND>(lparam) == GetDlgItem(dialog, IDC_MACRO_SCROLL))
            scroll(dialog, LOWORD(wparam), static_cast<short>(HIWORD(wparam)));
        return TRUE;
    }
    return FALSE;
}

} // namespace

int edit_macro(HWND owner, zq70::Configuration& config, int slot, const zq70::MacroSlot& backup) {
    MacroEditor editor{config, slot, backup};
    return static_cast<int>(DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MACRO),
                                            owner, macro_editor_procedure,
                                            reinterpret_cast<LPARAM>(&editor)));
}
