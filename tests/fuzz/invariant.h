// How the device targets stop on a broken invariant: one line on stderr naming the transfer
// and what broke, then abort, so that libFuzzer keeps the input.
#pragma once

namespace zq70::fuzz {

// The transfer the following messages speak of ("serial read").
void set_invariant_subject(const char* subject);

[[noreturn]] __attribute__((format(printf, 1, 2))) void invariant_broken(const char* format, ...);

// With ZQ70_FUZZ_SHOW set in the environment, one line per run on stderr saying how the
// transfer ended, to see what a seed or a crash input makes the device do.
__attribute__((format(printf, 1, 2))) void show_outcome(const char* format, ...);

inline void require(bool holds, const char* what) {
    if (!holds) invariant_broken("%s", what);
}

} // namespace zq70::fuzz
