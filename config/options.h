// The ten device options as the Options menu shows them, stated once: the popup's caption,
// the field it sets, the command id of its first item (item id = first command + value) and
// the captions of its items. The menu resource is checked against this table by a test, the
// window program marks and handles the menu from it, and zq70cfg and the web page word the
// options with it.
#pragma once

#include <string_view>

#include "configuration.h"
#include "res/resource_ids.h"

namespace zq70 {

struct OptionGroup {
    const char* caption; // "Baud Rate Setting"
    int32_t Configuration::*field;
    int first_command;        // command id of value 0
    const char* const* items; // item_count captions, in value order
    int item_count;
};

constexpr int kOptionGroupCount = 10;
// In the order of the Options menu.
extern const OptionGroup option_groups[kOptionGroupCount];

// The popup of the communication port, which is a program setting, not an option.
inline constexpr const char* kPortMenuCaption = "Communication port";

// Command ids of the two "Make Only" items that are grayed by the dependency rules.
constexpr int kKeyboardMakeOnlyCommand = IDC_KEYBOARD_MAKE_ONLY;
constexpr int kDeviceMakeOnlyCommand = IDC_DEVICE_MAKE_ONLY;

// The group that owns a command id, or nullptr.
const OptionGroup* option_group_of_command(int command);
// The group with this caption (exact, case-sensitive), or nullptr.
const OptionGroup* option_of_caption(std::string_view caption);

// Caption of the item for value, or nullptr when no item has that value (a baud rate 7 or
// an RS-232 routing 3 from an image).
const char* option_item(const OptionGroup& option, int value);
// Value of an item caption (exact, case-sensitive), or -1.
int option_value(const OptionGroup& option, std::string_view caption);

// Whether the two "Make Only" items are available for the configuration's options.
inline bool keyboard_make_only_enabled(const Configuration& c) {
    return c.keyboard_output != 0;
}
inline bool device_make_only_enabled(const Configuration& c) {
    return c.switches_keypad_to != kSwitchesToComputer;
}

} // namespace zq70
