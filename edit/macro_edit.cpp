#include "macro_edit.h"

#include "config/macros.h"

namespace zq70::edit {

namespace {

bool valid_slot(int slot) {
    return slot >= 0 && slot < kUsableMacroSlots;
}

bool valid_word(int word) {
    return word >= 0 && word < kStepWords;
}

// What "Select a key" can answer for a step: "Not Used", a key pressed or released, or a
// delay of 1..256 units.
bool is_step_word(int value) {
    if (value == 0) return true;
    if (is_delay_step(value)) return value <= delay_step(255);
    const int key = value & 0x7F;
    return value <= 0xFF && key >= 1 && key <= 126;
}

// The macro memory that all macros would take with one step word replaced: the one
// accounting rule decides what still fits, so the editor never counts bytes on its own.
int memory_with(const Configuration& config, int slot, int word, int value) {
    const MacroSlot& macro = config.macros[slot];
    if (!macro.in_use) return macro_memory_used(config);
    MacroSlot changed = macro;
    changed.steps[word] = value;
    return macro_memory_used(config) - macro_slot_memory(macro) + macro_slot_memory(changed);
}

} // namespace

void open_macro(Configuration& config, int slot) {
    if (valid_slot(slot)) config.macros[slot].in_use = 1;
}

int macro_memory_remaining(const Configuration& config) {
    return kMacroMemory - macro_memory_used(config);
}

bool step_enabled(const Configuration& config, int slot, int word) {
    if (!valid_slot(slot) || !valid_word(word)) return false;
    return config.macros[slot].steps[word] != 0 ||
           memory_with(config, slot, word, make_step(1)) <= kMacroMemory;
}

bool delay_fits(const Configuration& config, int slot, int word) {
    if (!valid_slot(slot) || !valid_word(word)) return false;
    return memory_with(config, slot, word, delay_step(1)) <= kMacroMemory;
}

bool preselects_break(int value, bool break_row) {
    return value != 0 ? is_break_step(value) : break_row;
}

bool set_step(Configuration& config, int slot, int word, int value) {
    if (!step_enabled(config, slot, word)) return false;
    if (value < 0) return true;
    if (!is_step_word(value) || (is_delay_step(value) && !delay_fits(config, slot, word)))
        return false;
    config.macros[slot].steps[word] = value;
    config.modified = true;
    return true;
}

int accept_macro(Configuration& config, int slot) {
    if (!valid_slot(slot)) return -1;
    if (macro_has_steps(config.macros[slot])) {
        config.macros[slot].in_use = 1;
        return macro_code_of_slot(slot);
    }
    const int code = macro_code_of_slot(slot);
    for (int32_t& cell : config.key_codes) {
        if (cell != code) continue;
        cell = kNotUsed;
        config.modified = true;
    }
    release_macro_slot(config, slot);
    return kNotUsed;
}

void cancel_macro(Configuration& config, int slot, const MacroSlot& backup) {
    if (valid_slot(slot)) config.macros[slot] = backup;
}

int delay_step_of_ms(int ms) {
    int count = ms / 10;
    if (count == 0)
        count = 1;
    else if (count > 255)
        count = 0;
    return delay_step(count);
}

int key_step(int key, bool break_chosen) {
    return key != kNotUsed && break_chosen ? break_step(key) : key;
}

int macro_users(const Configuration& config, int slot) {
    const int code = macro_code_of_slot(slot);
    int users = 0;
    for (int cell : config.key_codes)
        users += cell == code;
    return users;
}

} // namespace zq70::edit
