// The seam under the serial protocols: one COM port held for the length of one transfer.
// Back-ends: Win32 (serial_port_win32.h) and POSIX (serial_port_posix.h); tests use a
// simulated port on a virtual clock.
#pragma once

#include <cstdint>
#include <functional>

namespace zq70 {

struct SerialPort {
    // Opens port number 1..6 for this program alone; false when absent or in use.
    std::function<bool(int port_number)> open;
    // 9600 baud 8N1, no flow control, DTR and RTS off; saves the port's time-outs so that
    // close can put them back. False when the settings cannot be read or set.
    std::function<bool()> configure;
    std::function<void(uint8_t)> send_byte;
    // Sets the three read time-outs (interval, total multiplier, total constant) to
    // timeout_ms, then reads one byte: so a one-byte read gives up after twice timeout_ms.
    // The byte 0..255, or -1.
    std::function<int(int timeout_ms)> receive_byte;
    // Drops whatever already waits in the input buffer.
    std::function<void()> discard_input;
    // Puts the saved time-outs back and releases the port.
    std::function<void()> close;
};

} // namespace zq70
