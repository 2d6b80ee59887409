// In a forked child of a test: replaces it with the program and its arguments, or ends it
// with status 127 when the program cannot be started.
#pragma once

#include <string>
#include <unistd.h>
#include <vector>

namespace zq70::test {

[[noreturn]] inline void exec_program(const char* path, const std::vector<std::string>& arguments) {
    std::vector<char*> argv = {const_cast<char*>(path)};
    for (const std::string& a : arguments)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(path, argv.data());
    _exit(127);
}

} // namespace zq70::test
