// The Options menu as the user changes it: the value of each option, the dependency of
// "Make Only" on the keyboard output, and the Switches/Keypad change that clears the tables.
#pragma once

#include "config/configuration.h"
#include "config/options.h"

namespace zq70::edit {

// An item of any option but Switches/Keypad: the value is stored, and output to the computer
// takes "Make Only" back to "Make/Break". Sets modified, also when the item was already the
// chosen one. False (and nothing changed) for a value that no item has.
bool choose_option(zq70::Configuration& config, const zq70::OptionGroup& option, int value);

// The two modes read key codes differently, so leaving one for the other clears the tables;
// the user is asked first.
inline constexpr const char* kSwitchesWarning =
    "Warning! Changing this setting will clear the matrix and\n"
    "discrete key code tables. Are you sure you want to change it?";

// An item of Switches/Keypad to (0 Computer, 1 RS-232) was chosen. It counts as a change
// even when it is refused or changes nothing (sets modified). True when the mode would
// change: then ask with kSwitchesWarning, and on Yes call set_switches_keypad.
bool choose_switches_keypad(zq70::Configuration& config, int mode);

// The confirmed change: the mode is set, every key code becomes the new mode's "not used"
// (0 or 240), the whole macro table is emptied, and back on Computer the ZQ70 Make/Break
// returns to "Make/Break". False (and nothing changed) for a mode that is neither.
bool set_switches_keypad(zq70::Configuration& config, int mode);

} // namespace zq70::edit
