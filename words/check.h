// zq70cfg check: what a user should know before writing a device.
#pragma once

#include <string>
#include <vector>

#include "config/configuration.h"
#include "device_view.h"

namespace zq70::words {

// Error: the window program would refuse to save or write it. Warning: legal, but probably
// not what was meant. Info: a figure worth knowing (the macro memory used), always given.
enum class Severity { Error, Warning, Info };

// What a finding is about, so that an editor can select it.
struct Target {
    enum class Kind { None, Option, Cell, Line, Macro };
    Kind kind = Kind::None;
    // Option: into option_groups; Cell: into key_codes (cells and inputs); Line: into the
    // pin table of line; Macro: the slot.
    int index = -1;
    LineKind line = LineKind::Column;
    int word = -1; // Macro: the step word 0..31 the finding is about; -1 for the whole macro
};

struct Finding {
    Severity severity;
    std::string text; // without the severity word: "Pin A is used for multiple scan lines"
    Target target{};
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
