#include "invariant.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>

namespace zq70::fuzz {

namespace {

const char* g_subject = "transfer";

void say(const char* what, const char* format, va_list arguments) {
    std::fprintf(stderr, "%s: %s", g_subject, what);
    std::vfprintf(stderr, format, arguments);
    std::fprintf(stderr, "\n");
}

} // namespace

void set_invariant_subject(const char* subject) {
    g_subject = subject;
}

void show_outcome(const char* format, ...) {
    static const bool showing = std::getenv("ZQ70_FUZZ_SHOW") != nullptr;
    if (!showing) return;
    va_list arguments;
    va_start(arguments, format);
    say("", format, arguments);
    va_end(arguments);
}

void invariant_broken(const char* format, ...) {
    va_list arguments;
    va_start(arguments, format);
    say("invariant broken: ", format, arguments);
    va_end(arguments);
    std::abort();
}

} // namespace zq70::fuzz
