// The key code catalogue: display names of the key numbers, and the captions of the key
// buttons of the "Select a key" dialogs (one table for both).
#pragma once

namespace zq70 {

constexpr int kHighestKeyNumber = 126;
constexpr int kLongestKeyName = 12; // "Print Screen"

// Name of code AND 0x7F; short_form selects the short name. Unlisted values: "Not Used".
const char* key_name(int code, bool short_form);

// Caption of the button for key number 1..126 in "Select a key", or nullptr when the number
// has no button (unassigned).
const char* key_button_caption(int key);

} // namespace zq70
