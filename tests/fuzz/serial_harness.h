// The serial protocols against a device that a fuzzing input plays, on a virtual clock: one
// transfer per input, and every promise of the protocols checked on it. A broken promise
// aborts (invariant.h).
#pragma once

#include <cstddef>
#include <cstdint>

namespace zq70::fuzz {

enum class SerialTransfer { Read, Write };

void run_serial_case(SerialTransfer transfer, const uint8_t* data, size_t size);

} // namespace zq70::fuzz
