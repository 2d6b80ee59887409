// The command line of zq70sim.
#pragma once

#include <string>
#include <vector>

#include "link/device_model.h"

namespace zq70sim {

struct Options {
    std::string device;      // a serial device to serve instead of a new pseudo-terminal
    std::string memory_file; // loaded at start, saved after each completed write
    std::string log_file;    // "-" for standard error
    bool log = false;
    std::string wine_prefix; // register the terminal as COM<com> in this Wine prefix
    int com = 0;
    bool silent = false;
    int answer_delay_ms = 0;
    std::vector<zq70::DeviceFault> faults;
    bool help = false;
};

extern const char* const kUsage;

// False with a message in error when the command line cannot be used.
bool parse_options(int argc, char** argv, Options& options, std::string& error);

} // namespace zq70sim
