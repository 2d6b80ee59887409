#include "options.h"

namespace zq70 {

// In the order of the Options menu.
const OptionGroup option_groups[kOptionGroupCount] = {
    {&Configuration::keyboard_output, 1010, 3},    {&Configuration::keyboard_make_break, 1013, 2},
    {&Configuration::switches_keypad_to, 1015, 2}, {&Configuration::device_make_break, 1017, 2},
    {&Configuration::rs232_to_computer, 1019, 3},  {&Configuration::baud_rate, 1022, 7},
    {&Configuration::computer_type, 1029, 2},      {&Configuration::typematic_function, 1031, 2},
    {&Configuration::typematic_delay, 1033, 4},    {&Configuration::typematic_interval, 1037, 32},
};

const OptionGroup* option_group_of_command(int command) {
    for (const OptionGroup& group : option_groups) {
        if (command >= group.first_command && command < group.first_command + group.item_count)
            return &group;
    }
    return nullptr;
}

} // namespace zq70
