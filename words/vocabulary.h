// The words with which zq70cfg and the web page name the parts of a configuration in every
// text they make and read: pin letters, key names, macro steps, and the labels of cells and
// inputs (the options are worded by the one table of config/options.h). One place, so that
// show, export, import, diff, check and the wiring sheet can never disagree.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "config/configuration.h"

namespace zq70::words {

// "A".."X" for pins 0..23.
std::string pin_text(int pin);
// Pin index of one letter A..X (either case), or -1.
int pin_of_text(std::string_view text);

// Name of key number 1..126 as a user reads it: the catalogue's short name with the
// doubled ampersand of button captions made single ("7 &"). Empty for a number without a
// name.
std::string key_text(int key);
// The long name, and the caption of the key's button in "Select a key", read the same way;
// empty for a number without a name.
std::string key_long_text(int key);
std::string key_button_text(int key);
// Key number of a short or long catalogue name (case-insensitive, single ampersand), or -1.
int key_of_text(std::string_view text);

// A macro step word in words: "press A", "release L Ctrl", "wait 250 ms". A key number
// without a name is written "press key 14".
std::string step_text(int word);
// The step word of such a text, or nullopt with a plain reason.
std::optional<int> step_of_text(std::string_view text, std::string& reason);

// Labels as the main window numbers them, from 1: "Row 3 Col 5", "Col 2", "Row 3",
// "Input 2", "Macro 1".
std::string cell_label(int row, int column);
std::string column_label(int column);
std::string row_label(int row);
std::string input_label(int input);
std::string macro_label(int slot);

// What a cell or input sends, in words: in Computer mode the key's name, "Not Used",
// "Macro 3", or "Code 128" for a byte that names no key; in RS-232 mode the raw value in
// decimal, or "Not Used" for 240.
std::string key_code_text(const zq70::Configuration& config, int code);
// The inverse, for the mode of switches_keypad_to: a key name, "Key 14" (1..126),
// "Code 128" (any byte 0..255), "Macro 3" (1..127), "Not Used", and in RS-232 mode a
// decimal number 0..255. nullopt with a plain reason when the text names no code.
std::optional<int> key_code_of_text(int switches_keypad_to, std::string_view text,
                                    std::string& reason);

} // namespace zq70::words
