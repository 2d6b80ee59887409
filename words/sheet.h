// zq70cfg sheet: a printable, self-contained HTML wiring and legend sheet.
#pragma once

#include <string>

#include "config/configuration.h"

namespace zq70::words {

// title names the configuration on the sheet (usually the file name).
std::string wiring_sheet(const zq70::Configuration& config, const std::string& title);

} // namespace zq70::words
