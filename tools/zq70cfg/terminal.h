// What zq70cfg needs to know of the terminal it writes to.
#pragma once

#include <cstdio>

namespace zq70cfg {

bool is_terminal(std::FILE* stream);
// The terminal's width in columns; 80 when it cannot be told.
int terminal_width(std::FILE* stream);
// Makes the terminal take cursor movement and erase sequences (ANSI). Always so on POSIX; on
// Windows the console's virtual terminal processing is switched on, and false when the
// console cannot do it (before Windows 10), so that the caller falls back to plain lines.
bool enable_terminal_sequences(std::FILE* stream);

} // namespace zq70cfg
