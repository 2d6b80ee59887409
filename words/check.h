// zq70cfg check: what a user should know before writing a device.
#pragma once

#include <string>
#include <vector>

#include "config/configuration.h"

namespace zq70::words {

// Error: the window program would refuse to save or write it. Warning: legal, but probably
// not what was meant. Info: a figure worth knowing (the macro memory used), always given.
enum class Severity { Error, Warning, Info };

struct Finding {
    Severity severity;
    std::string text; // without the severity word: "Pin A is used for multiple scan lines"
};

// Errors first, then warnings, then the one information line; each group in a stable order
// (options, cells and inputs, macros).
std::vector<Finding> check_configuration(const zq70::Configuration& config);

// The finding as one line of output: "Error: Pin A is used for multiple scan lines",
// "Warning: ...", "Info: Macro memory: 15 of 336 bytes used". An error thus reads exactly
// as the window program's message box.
std::string finding_line(const Finding& finding);

// Whether any finding is an error (the exit status of check).
bool has_errors(const std::vector<Finding>& findings);

} // namespace zq70::words
