// The command line of zq70sim.
#pragma once

#include <string>
#include <vector>

#include "sim/device_model.h"

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
    // Each device plugged in (SIGUSR2) starts with its memory all 0 instead of keeping the
    // memory of the one unplugged.
    bool fresh_memory = false;
    bool start_unplugged = false;
    bool help = false;
    bool version = false;
};

extern const char* const kUsage;

// False with a message in error when the command line cannot be used.
bool parse_options(int argc, char** argv, Options& options, std::string& error);

} // namespace zq70sim
