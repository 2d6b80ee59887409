// Starting a program in a given folder, the folder made first when it is missing.
#pragma once

#include <windows.h>

#include <string>

namespace zq70start {

// Makes FOLDER when it does not exist (its parent must), then starts PROGRAM with no
// arguments and FOLDER as its current folder, shown as HOW asks (the launcher passes on
// what it was started with, so that the shortcut's "Run: Maximized" still holds).
// Returns at once: "" when the program runs, otherwise what went wrong, for the user.
std::wstring start_in_folder(const std::wstring& program, const std::wstring& folder,
                             STARTUPINFOW how);

} // namespace zq70start
