// zq70cfg diff: the differences between two configurations by meaning, one line each
// ("Row 3 Col 5: A -> B", "Col 2 pin: C -> D", "Baud Rate Setting: 9600 -> 19200").
#pragma once

#include <string>
#include <vector>

#include "config/configuration.h"

namespace zq70::words {

std::vector<std::string> differences(const zq70::Configuration& a, const zq70::Configuration& b);

} // namespace zq70::words
