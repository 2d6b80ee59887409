// The ten device options as the Options menu shows them: one popup per option, item id =
// first command id + value.
#pragma once

#include "configuration.h"

namespace zq70 {

struct OptionGroup {
    int32_t Configuration::*field;
    int first_command; // command id of value 0
    int item_count;
};

constexpr int kOptionGroupCount = 10;
extern const OptionGroup option_groups[kOptionGroupCount];

// Command ids of the two "Make Only" items that are grayed by the dependency rules.
constexpr int kKeyboardMakeOnlyCommand = 1014;
constexpr int kDeviceMakeOnlyCommand = 1018;

// The group that owns a command id, or nullptr.
const OptionGroup* option_group_of_command(int command);

// Whether the two "Make Only" items are available for the configuration's options.
inline bool keyboard_make_only_enabled(const Configuration& c) {
    return c.keyboard_output != 0;
}
inline bool device_make_only_enabled(const Configuration& c) {
    return c.switches_keypad_to != kSwitchesToComputer;
}

} // namespace zq70
