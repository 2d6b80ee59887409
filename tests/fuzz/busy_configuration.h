// A configuration with something everywhere, for the targets that decode into one: a decode
// that touched what it should not, or a refused image that changed anything, shows.
#pragma once

#include "config/configuration.h"

namespace zq70::fuzz {

const Configuration& busy_configuration();

// Field by field: the padding after the last field is not copied by assignment.
bool same_configuration(const Configuration& a, const Configuration& b);

} // namespace zq70::fuzz
