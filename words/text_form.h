// The text form of a configuration: TOML meant to be edited by hand and kept under version
// control. import(export(c)) encodes to the same bytes as c, and export(import(t)) is the
// canonical form of t.
#pragma once

#include <string>
#include <string_view>

#include "config/image.h"

namespace zq70::words {

// Where and why a text was refused; line and column count from 1 (0 when the reason has
// no place, such as macros that do not fit).
struct TextError {
    int line = 0;
    int column = 0;
    std::string reason;
    // The text is well formed, but the ZQ70 could not take what it describes (a pin used
    // twice, macros over 336 bytes): the error that zq70cfg check reports as such, in its
    // words ("Pin A is used for multiple scan lines"); "" for any other refusal.
    std::string unwritable;
};

// The canonical text of a configuration (as decode_image leaves it).
std::string export_text(const zq70::Configuration& config);

// Reads a text into a configuration and encodes it. What the text leaves out keeps the
// defaults of reset_configuration; cells and inputs not listed are not used. Beyond mistakes
// of the text it refuses what would not come back whole from the image: a pin used twice
// (with the encoder's own message), macros beyond the 336 bytes, macros in RS-232 mode, and
// a macro after the last one that a cell or input sends. False, with the first problem
// found, when the text is refused; the outputs are then unchanged.
bool import_text(std::string_view text, zq70::Configuration& config, zq70::DeviceImage& image,
                 TextError& error);

} // namespace zq70::words
