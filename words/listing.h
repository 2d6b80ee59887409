// zq70cfg show: a readable listing of a configuration.
#pragma once

#include <string>

#include "config/configuration.h"

namespace zq70::words {

std::string listing(const zq70::Configuration& config);

} // namespace zq70::words
