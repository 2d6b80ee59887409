// A click (or Enter) on a key cell: a raw code in RS-232 mode, otherwise a macro with the
// Control key held, or a key from "Select a key". The dialogs ask; edit/cell_edit.h stores.
#include "key_cell_edit.h"

#include "captions.h"
#include "dialogs/dialogs.h"
#include "edit/cell_edit.h"
#include "grid.h"

namespace zq70 {

namespace {

// False when there was no slot to edit: then nothing at all happens.
bool edit_cell_macro(MainWindow& main, int index) {
    Configuration& config = main.session->config;
    const int slot = edit::macro_slot_for_cell(config, index);
    if (slot < 0) return false;
    const MacroSlot backup = config.macros[slot];
    edit::store_macro_result(config, index, edit_macro(main.window, config, slot, backup));
    return true;
}

bool control_key_down() {
    return GetKeyState(VK_CONTROL) < 0;
}

} // namespace

void edit_key_cell(MainWindow& main, int button) {
    Configuration& config = main.session->config;
    const int index = key_code_index(main, button);
    switch (edit::cell_edit_path(config, control_key_down())) {
    case edit::CellEditPath::RawCode:
        edit::store_raw_code(config, index, ask_key_code(main.window));
        break;
    case edit::CellEditPath::Macro:
        if (!edit_cell_macro(main, index)) return;
        break;
    case edit::CellEditPath::Key:
        edit::store_key(config, index, select_key(main.window, config.key_codes[index]));
        break;
    }
    refresh_captions(main);
    SetFocus(main.key_buttons[button]);
}

} // namespace zq70
