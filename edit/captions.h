// What a cell or a macro step says on its button, in the window program's captions: a key's
// name, "Macro\n(L Ctrl, P, ...)", "9\n0x09" in RS-232 mode, "Make\nA", "Delay\n250ms". The
// web page shows the same texts.
#pragma once

#include <string>

#include "config/configuration.h"

namespace zq70::edit {

inline constexpr const char* kNotUsedCaption = "Not Used";

// Caption of a cell holding `code`: a key name, a macro with its first steps, or in RS-232
// mode the raw value in decimal over hexadecimal. At most 31 characters.
std::string key_caption(const zq70::Configuration& config, int code);

// "Macro\n(" + the short names of the first two steps, ", ..." when more follow, + ")".
std::string macro_caption(const zq70::MacroSlot& slot);

// Caption of a macro step: "Not Used", "Make\n" or "Break\n" and the key's short name, or
// "Delay\n" and the time ("Delay\n2560ms" for a count of 0).
std::string step_caption(int word);

// "Step 3" for step 2 (0-based) of a sequence.
std::string step_label(int step);

// "Macro memory remaining: 333".
std::string memory_remaining_caption(const zq70::Configuration& config);

} // namespace zq70::edit
