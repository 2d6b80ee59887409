// A click (or Enter) on a key cell: a raw code in RS-232 mode, otherwise a macro with the
// Control key held, or a key from "Select a key".
#include "key_cell_edit.h"

#include <algorithm>

#include "captions.h"
#include "config/macros.h"
#include "dialogs/dialogs.h"
#include "grid.h"

namespace zq70 {

namespace {

constexpr int kLargestRawCode = 255;

void enter_raw_code(MainWindow& main, int32_t& cell) {
    const int code = ask_key_code(main.window);
    if (code < 0) return;
    cell = std::min(code, kLargestRawCode);
    main.session->config.modified = true;
}

// The slot the cell's macro lives in, or the first free one for a new macro; -1 when
// there is none (every slot taken, or the code 0x80 that names no slot).
int macro_slot_for(const Configuration& config, int code) {
    if (code & kBreakFlag) return slot_of_macro_code(code);
    return first_free_macro_slot(config);
}

// False when there was no slot to edit: then nothing at all happens.
bool edit_cell_macro(MainWindow& main, int32_t& cell) {
    Configuration& config = main.session->config;
    const int slot = macro_slot_for(config, cell);
    if (slot < 0 || slot >= kUsableMacroSlots) return false;
    const MacroSlot backup = config.macros[slot];
    const int code = edit_macro(main.window, config, slot, backup);
    // The editor marks its own step changes; a cell that now names the macro, or lost
    // a key to an emptied macro, is a change of its own.
    if (code >= 0 && cell != code) {
        cell = code;
        config.modified = true;
    }
    return true;
}

// The new key is stored before a replaced macro is given back, so that a macro that other
// cells still run is kept.
void choose_cell_key(MainWindow& main, int32_t& cell) {
    Configuration& config = main.session->config;
    const int key = select_key(main.window, cell);
    if (key < 0) return;
    const int replaced = cell;
    cell = key;
    config.modified = true;
    if (is_macro_code(replaced)) release_macro_slot_if_unused(config, slot_of_macro_code(replaced));
}

bool control_key_down() {
    return GetKeyState(VK_CONTROL) < 0;
}

} // namespace

void edit_key_cell(MainWindow& main, int button) {
    Configuration& config = main.session->config;
    int32_t& cell = config.key_codes[key_code_index(main, button)];
    if (config.switches_keypad_to == kSwitchesToRs232) {
        enter_raw_code(main, cell);
    } else if (control_key_down()) {
        if (!edit_cell_macro(main, cell)) return;
    } else {
        choose_cell_key(main, cell);
    }
    refresh_captions(main);
    SetFocus(main.key_buttons[button]);
}

} // namespace zq70
