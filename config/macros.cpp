#include "macros.h"

namespace zq70 {

namespace {

bool valid_slot(int slot) {
    return slot >= 0 && slot < kUsableMacroSlots;
}

bool slot_referenced(const Configuration& config, int slot) {
    const int code = macro_code_of_slot(slot);
    for (int key_code : config.key_codes) {
        if (key_code == code) return true;
    }
    return false;
}

} // namespace

int macro_slot_memory(const MacroSlot& slot) {
    int bytes = 0;
    for (int word : slot.steps)
        bytes += step_size(word);
    // The two sequence lengths are only paid for by a macro that plays something.
    return bytes > 0 ? bytes + 2 : 0;
}

int macro_memory_used(const Configuration& config) {
    int used = 0;
    for (int s = 0; s < kUsableMacroSlots; ++s) {
        if (config.macros[s].in_use) used += macro_slot_memory(config.macros[s]);
    }
    return used;
}

void release_macro_slot(Configuration& config, int slot) {
    if (!valid_slot(slot)) return;
    int last = -1;
    for (int s = kUsableMacroSlots - 1; s > slot; --s) {
        if (config.macros[s].in_use) {
            last = s;
            break;
        }
    }
    if (last < 0) {
        config.macros[slot].in_use = 0;
        return;
    }
    config.macros[slot] = config.macros[last];
    const int from = macro_code_of_slot(last);
    const int to = macro_code_of_slot(slot);
    for (int32_t& code : config.key_codes) {
        if (code == from) code = to;
    }
    config.macros[last].in_use = 0;
}

void release_macro_slot_if_unused(Configuration& config, int slot) {
    if (!valid_slot(slot) || slot_referenced(config, slot)) return;
    release_macro_slot(config, slot);
}

int first_free_macro_slot(const Configuration& config) {
    for (int s = 0; s < kUsableMacroSlots; ++s) {
        if (!config.macros[s].in_use) return s;
    }
    return -1;
}

bool macro_has_steps(const MacroSlot& slot) {
    for (int word : slot.steps) {
        if ((word & 0x7F) != 0) return true;
    }
    return false;
}

} // namespace zq70
