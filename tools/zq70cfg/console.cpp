#include "console.h"

#include <cstdio>

namespace zq70cfg {

int fail(int code, const std::string& text) {
    std::fprintf(stderr, "zq70cfg: %s\n", text.c_str());
    return code;
}

// Flushed at once: scripts and the series' operator read the lines as they come.
void say(const std::string& text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    if (text.empty() || text.back() != '\n') std::fputc('\n', stdout);
    std::fflush(stdout);
}

void note(const std::string& text) {
    std::fprintf(stderr, "%s\n", text.c_str());
    std::fflush(stderr);
}

} // namespace zq70cfg
