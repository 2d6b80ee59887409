// Waiting for a ZQ70 to come onto the line or to leave it, for programming a series of
// devices, with zq70::serial_probe. A port that cannot be opened counts as no device, since a
// USB adapter goes away with the device on it.
#pragma once

#include "link/serial_port.h"

namespace zq70cfg {

// Time between two probes while waiting; each probe costs at most one answer time (72 ms).
constexpr int kProbeIntervalMs = 300;
// A device counts as gone after this many probes in a row without an answer, so that one
// lost answer never makes the same device count twice.
constexpr int kMissesForGone = 2;

// Probes until a device answers (present true) or until none has answered kMissesForGone
// times in a row (present false). False when interrupted first.
bool wait_for_device(const zq70::SerialPort& port, bool present);

} // namespace zq70cfg
