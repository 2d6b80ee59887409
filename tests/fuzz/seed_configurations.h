// Configurations that the fuzzing seeds start from: the defaults, only discrete inputs,
// macros, a full macro area, and RS-232 codes. Each encodes without refusal.
#pragma once

#include <vector>

#include "config/configuration.h"

namespace zq70::fuzz {

struct SeedConfiguration {
    const char* name;
    Configuration config;
};

std::vector<SeedConfiguration> seed_configurations();

} // namespace zq70::fuzz
