// What the visible grid controls say: column, row and input numbers, the pin of each, and a
// caption for every visible cell.
#pragma once

#include <string>

#include "main_window.h"

namespace zq70 {

// Caption of a cell holding `code`: a key name, a macro with its first steps, or in RS-232
// mode the raw value in decimal over hexadecimal. At most 31 characters.
std::string key_caption(const Configuration& config, int code);

// "Macro\n(" + the short names of the first two steps, ", ..." when more follow, + ")".
std::string macro_caption(const MacroSlot& slot);

// Rewrites every visible label, pin selection and cell caption from the configuration.
void refresh_captions(MainWindow& main);

} // namespace zq70
