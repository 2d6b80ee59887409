// The number fields of "Delay" and "Key Code" read as the dialogs read them.
#pragma once

#include <string>

namespace zq70::edit {

// The field as an unsigned decimal number. Digits beyond what an int holds saturate, so a
// long number reads as the largest one (callers limit it to their range) and never wraps
// round to a negative value that would count as Cancel. Anything but digits reads 0; blanks
// around the digits are ignored.
int entry_number(const std::string& text);

} // namespace zq70::edit
