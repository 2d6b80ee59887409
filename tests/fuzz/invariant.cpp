#include "invariant.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace zq70::fuzz {

namespace {
const char* g_subject = "transfer";
}

void set_invariant_subject(const char* subject) {
    g_subject = subject;
}

void show_outcome(const char* format, ...) {
    static const bool showing = std::getenv("ZQ70_FUZZ_SHOW") != nullptr;
    if (!showing) return;
    std::fprintf(stderr, "%s: ", g_subject);
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(stderr, format, arguments);
    va_end(arguments);
    std::fprintf(stderr, "\n");
}

void invariant_broken(const char* format, ...) {
    std::fprintf(stderr, "\n%s: invariant broken: ", g_subject);
    va_list arguments;
    va_start(arguments, format);
    std::vfprintf(stderr, format, arguments);
    va_end(arguments);
    std::fprintf(stderr, "\n");
    std::abort();
}

} // namespace zq70::fuzz
