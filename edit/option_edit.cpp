#include "option_edit.h"

#include <algorithm>
#include <cstring>

namespace zq70::edit {

bool choose_option(Configuration& config, const OptionGroup& option, int value) {
    if (value < 0 || value >= option.item_count) return false;
    config.*option.field = value;
    // Output to the computer cannot be make-only.
    if (option.field == &Configuration::keyboard_output && config.keyboard_output == 0)
        config.keyboard_make_break = 0;
    config.modified = true;
    return true;
}

bool choose_switches_keypad(Configuration& config, int mode) {
    // Even a refused or empty change counts as one, so leaving asks about saving.
    config.modified = true;
    return (mode == kSwitchesToComputer || mode == kSwitchesToRs232) &&
           mode != config.switches_keypad_to;
}

bool set_switches_keypad(Configuration& config, int mode) {
    if (mode != kSwitchesToComputer && mode != kSwitchesToRs232) return false;
    config.switches_keypad_to = mode;
    if (mode == kSwitchesToComputer) config.device_make_break = 0;
    std::fill(std::begin(config.key_codes), std::end(config.key_codes),
              mode == kSwitchesToRs232 ? kRs232NotUsed : kNotUsed);
    std::memset(config.macros, 0, sizeof config.macros);
    return true;
}

} // namespace zq70::edit
