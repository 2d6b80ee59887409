#include "cell_edit.h"

#include <algorithm>

#include "config/macros.h"

namespace zq70::edit {

namespace {
constexpr int kLargestRawCode = 255;
} // namespace

CellEditPath cell_edit_path(const Configuration& config, bool control_down) {
    if (config.switches_keypad_to == kSwitchesToRs232) return CellEditPath::RawCode;
    return control_down ? CellEditPath::Macro : CellEditPath::Key;
}

bool is_cell_index(int index) {
    return index >= 0 && index < kKeyCodeCount;
}

void store_raw_code(Configuration& config, int index, int code) {
    if (code < 0 || !is_cell_index(index)) return;
    config.key_codes[index] = std::min(code, kLargestRawCode);
    config.modified = true;
}

int macro_slot_for_cell(const Configuration& config, int index) {
    if (!is_cell_index(index)) return -1;
    const int code = config.key_codes[index];
    const int slot = (code & kBreakFlag) ? slot_of_macro_code(code) : first_free_macro_slot(config);
    return slot >= 0 && slot < kUsableMacroSlots ? slot : -1;
}

void store_macro_result(Configuration& config, int index, int code) {
    if (code < 0 || !is_cell_index(index)) return;
    int32_t& cell = config.key_codes[index];
    if (cell == code) return;
    cell = code;
    config.modified = true;
}

void store_key(Configuration& config, int index, int key) {
    if (key < 0 || !is_cell_index(index)) return;
    int32_t& cell = config.key_codes[index];
    const int replaced = cell;
    cell = key;
    config.modified = true;
    if (is_macro_code(replaced)) release_macro_slot_if_unused(config, slot_of_macro_code(replaced));
}

void clear_cell(Configuration& config, int index) {
    if (config.switches_keypad_to == kSwitchesToRs232)
        store_raw_code(config, index, kRs232NotUsed);
    else
        store_key(config, index, kNotUsed);
}

} // namespace zq70::edit
