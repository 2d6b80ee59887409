// The macro editor "ZQ70 Macro": the 16 make and 16 break steps of one macro slot, eight
// columns at a time, within the device's macro memory.
#include "dialogs.h"

#include <algorithm>
#include <string>

#include "config/key_names.h"
#include "config/macros.h"
#include "config/text_format.h"
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

// A word whose low seven bits are the delay marker reads as a delay, as the catalogue names
// it "Delay", whatever its bit 7.
bool is_delay_caption(int word) {
    return (word & 0x7F) == zq70::kDelayMarker;
}

std::string step_caption(int word) {
    std::string caption;
    if (!is_delay_caption(word) && word != 0)
        caption = zq70::is_break_step(word) ? "Break\n" : "Make\n";
    caption += zq70::key_name(word, true);
    if (is_delay_caption(word)) caption += zq70::format_text("\n%dms", zq70::delay_step_ms(word));
    return caption;
}

// The step word that step button `button` (0..7 make row, 8..15 break row) shows at scroll
// position `position`.
int word_of_button(int button, int position) {
    return button < kVisibleColumns ? position + button
                                    : zq70::kStepsPerSequence + position + button - kVisibleColumns;
}

int scroll_position(HWND dialog) {
    return GetScrollPos(GetDlgItem(dialog, IDC_MACRO_SCROLL), SB_CTL);
}

// The macro memory that all macros would take with one step word replaced: the one
// accounting rule decides what still fits, so the editor never counts bytes on its own.
int memory_with(const MacroEditor& editor, int word, int value) {
    int32_t& step = editor.macro().steps[word];
    const int32_t kept = step;
    step = value;
    const int used = zq70::macro_memory_used(editor.config);
    step = kept;
    return used;
}

// A filled step can always be changed (to a key, "Not Used", or a delay of the same cost);
// an empty one only when a key step would still fit.
bool step_enabled(const MacroEditor& editor, int word) {
    return editor.macro().steps[word] != 0 ||
           memory_with(editor, word, zq70::make_step(1)) <= zq70::kMacroMemory;
}

bool delay_fits(const MacroEditor& editor, int word) {
    return memory_with(editor, word, zq70::delay_step(1)) <= zq70::kMacroMemory;
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
                        zq70::format_text("Step %d", position + i + 1).c_str());
    for (int j = 0; j < kStepButtonCount; ++j) {
        const int word = word_of_button(j, position);
        HWND button = GetDlgItem(dialog, IDC_MACRO_MAKE_STEP_FIRST + j);
        SetWindowTextA(button, step_caption(editor.macro().steps[word]).c_str());
        EnableWindow(button, step_enabled(editor, word));
    }
    keep_focus_on_enabled_control(dialog);
    const int remaining = zq70::kMacroMemory - zq70::macro_memory_used(editor.config);
    SetDlgItemTextA(dialog, IDC_MACRO_MEMORY,
                    zq70::format_text("Macro memory remaining: %d", remaining).c_str());
}

void open_editor(HWND dialog, MacroEditor& editor) {
    SetWindowLongPtrA(dialog, DWLP_USER, reinterpret_cast<LONG_PTR>(&editor));
    editor.macro().in_use = 1;
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
    const bool preselect_break =
        value != 0 ? zq70::is_break_step(value) : button >= kVisibleColumns;
    const int result = select_macro_step(dialog, value, preselect_break, delay_fits(editor, word));
    if (result >= 0) {
        editor.macro().steps[word] = result;
        editor.config.modified = true;
    }
    refresh(dialog);
}

// A macro left without steps is not kept: every cell that ran it reads "Not Used" and the
// slot is given back, so that no slot in use is ever empty.
void forget_macro(MacroEditor& editor) {
    const int code = zq70::macro_code_of_slot(editor.slot);
    for (int32_t& cell : editor.config.key_codes) {
        if (cell != code) continue;
        cell = zq70::kNotUsed;
        editor.config.modified = true;
    }
    zq70::release_macro_slot(editor.config, editor.slot);
}

void accept(HWND dialog) {
    MacroEditor& editor = editor_of(dialog);
    if (zq70::macro_has_steps(editor.macro())) {
        editor.macro().in_use = 1;
        EndDialog(dialog, zq70::macro_code_of_slot(editor.slot));
    } else {
        forget_macro(editor);
        EndDialog(dialog, zq70::kNotUsed);
    }
}

void cancel(HWND dialog) {
    MacroEditor& editor = editor_of(dialog);
    editor.macro() = editor.backup;
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
