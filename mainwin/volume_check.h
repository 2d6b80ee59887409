// The warning for a program started from its distribution medium.
#pragma once

#include <string>

#include "config/user_interface.h"

namespace zq70 {

// Label of the volume whose root is the current directory; empty when the current directory
// is not a volume root or the volume has no label.
std::string current_volume_label();

// Shows the warning (no owner, no icon, OK) when the label is exactly "ZQ70".
void warn_if_distribution_volume(const std::string& label, const UserInterface& ui);

} // namespace zq70
