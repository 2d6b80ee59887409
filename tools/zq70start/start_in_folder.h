// Starting a program in a given folder, the folder made first when it is missing. Plain
// Win32 with fixed buffers and no C++ library, so that the launcher stays a few kilobytes.
#pragma once

#include <windows.h>

#include <cstddef>

namespace zq70start {

// Room for a path as long as Windows allows, and for a message naming two of them.
constexpr std::size_t kPathSize = 32768;
constexpr std::size_t kProblemSize = 2 * kPathSize + 512;

// Makes FOLDER when it does not exist (its parent must), then starts PROGRAM with no
// arguments and FOLDER as its current folder, shown as HOW asks (the launcher passes on
// what it was started with, so that the shortcut's "Run: Maximized" still holds). Returns
// at once: true when the program runs; otherwise false, with what went wrong, for the
// user, in PROBLEM (kProblemSize characters).
bool start_in_folder(const wchar_t* program, const wchar_t* folder, STARTUPINFOW how,
                     wchar_t* problem);

} // namespace zq70start
