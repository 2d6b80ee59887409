// What zq70cfg says: results on standard output, progress and trouble on standard error.
#pragma once

#include <string>

namespace zq70cfg {

// "zq70cfg: text" on standard error; returns code, for `return fail(code, ...)`.
int fail(int code, const std::string& text);
// A result on standard output, one line end added where the text has none.
void say(const std::string& text);
// A line on standard error that is no failure (what a series waits for).
void note(const std::string& text);

} // namespace zq70cfg
