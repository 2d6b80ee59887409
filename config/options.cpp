#include "options.h"

namespace zq70 {

namespace {

constexpr const char* kKeyboardOutput[] = {"Computer", "RS-232 ASCII", "RS-232 Key#"};
constexpr const char* kMakeBreak[] = {"Make/Break", "Make Only"};
constexpr const char* kSwitchesKeypad[] = {"Computer", "RS-232"};
constexpr const char* kRs232ToComputer[] = {"Disabled", "ASCII Input", "Key# Input"};
constexpr const char* kBaudRate[] = {"300", "600", "1200", "2400", "4800", "9600", "19200"};
constexpr const char* kComputerType[] = {"AT", "XT"};
constexpr const char* kTypematicFunction[] = {"Disabled", "Enabled"};
constexpr const char* kTypematicDelay[] = {"0.25", "0.50", "0.75", "1.00"};
constexpr const char* kTypematicInterval[] = {
    "2.0",  "2.1",  "2.3",  "2.5",  "2.7",  "3.0",  "3.3",  "3.7",  "4.0",  "4.3",  "4.6",
    "5.0",  "5.5",  "6.0",  "6.7",  "7.5",  "8.0",  "8.6",  "9.2",  "10.0", "10.9", "12.0",
    "13.3", "15.0", "16.0", "17.1", "18.5", "20.0", "21.8", "24.0", "26.7", "30.0"};

template <std::size_t N> constexpr int count_of(const char* const (&)[N]) {
    return static_cast<int>(N);
}

} // namespace

const OptionGroup option_groups[kOptionGroupCount] = {
    {"Keyboard Output to", &Configuration::keyboard_output, IDC_KEYBOARD_OUTPUT_FIRST,
     kKeyboardOutput, count_of(kKeyboardOutput)},
    {"Keyboard Make/Break", &Configuration::keyboard_make_break, IDC_KEYBOARD_MAKE_BREAK_FIRST,
     kMakeBreak, count_of(kMakeBreak)},
    {"Switches/Keypad to", &Configuration::switches_keypad_to, IDC_SWITCHES_KEYPAD_FIRST,
     kSwitchesKeypad, count_of(kSwitchesKeypad)},
    {"ZQ70 Make/Break", &Configuration::device_make_break, IDC_DEVICE_MAKE_BREAK_FIRST, kMakeBreak,
     count_of(kMakeBreak)},
    {"RS-232 to Computer", &Configuration::rs232_to_computer, IDC_RS232_TO_COMPUTER_FIRST,
     kRs232ToComputer, count_of(kRs232ToComputer)},
    {"Baud Rate Setting", &Configuration::baud_rate, IDC_BAUD_RATE_FIRST, kBaudRate,
     count_of(kBaudRate)},
    {"Computer Type", &Configuration::computer_type, IDC_COMPUTER_TYPE_FIRST, kComputerType,
     count_of(kComputerType)},
    {"Typematic Function", &Configuration::typematic_function, IDC_TYPEMATIC_FUNCTION_FIRST,
     kTypematicFunction, count_of(kTypematicFunction)},
    {"Typematic Delay", &Configuration::typematic_delay, IDC_TYPEMATIC_DELAY_FIRST, kTypematicDelay,
     count_of(kTypematicDelay)},
    {"Typematic Interval", &Configuration::typematic_interval, IDC_TYPEMATIC_INTERVAL_FIRST,
     kTypematicInterval, count_of(kTypematicInterval)},
};

const OptionGroup* option_group_of_command(int command) {
    for (const OptionGroup& group : option_groups) {
        if (command >= group.first_command && command < group.first_command + group.item_count)
            return &group;
    }
    return nullptr;
}

const OptionGroup* option_of_caption(std::string_view caption) {
    for (const OptionGroup& group : option_groups) {
        if (caption == group.caption) return &group;
    }
    return nullptr;
}

const char* option_item(const OptionGroup& option, int value) {
    if (value < 0 || value >= option.item_count) return nullptr;
    return option.items[value];
}

int option_value(const OptionGroup& option, std::string_view caption) {
    for (int value = 0; value < option.item_count; ++value) {
        if (caption == option.items[value]) return value;
    }
    return -1;
}

} // namespace zq70
