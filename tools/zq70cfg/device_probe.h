// Waiting for a ZQ70 to come onto the line or to leave it, for programming a series of
// devices, with zq70::probe_serial_device. A port that cannot be opened counts as no device,
// since a USB adapter goes away with the device on it.
#pragma once

#include <functional>

#include "link/serial_port.h"

namespace zq70cfg {

// Time between two probes while waiting; each probe costs at most one answer time (72 ms).
constexpr int kProbeIntervalMs = 300;
// A device counts as gone after this many probes in a row without an answer, so that one
// lost answer never makes the same device count twice.
constexpr int kMissesForGone = 2;

// Sleeps for ms milliseconds unless interrupted first; false when interrupted.
using Pause = std::function<bool(int ms)>;
// Told whenever the port stops opening (false: the adapter was unplugged, or another
// program took the port) or opens again (true).
using PortAvailability = std::function<void(bool available)>;

// Probes until a device answers (present true) or until none has answered kMissesForGone
// times in a row (present false). False when interrupted first. Without a pause, it sleeps
// with pause_unless_interrupted.
bool wait_for_device(const zq70::SerialPort& port, bool present,
                     const PortAvailability& availability = {}, const Pause& pause = {});

} // namespace zq70cfg
