// The seam under the serial protocols: one serial port held for the length of one
// transfer. Each seam stands for one port, chosen when it is made (the window program's
// COM1..COM6, a port that zq70cfg names, the port a browser user picked). Back-ends: Win32
// (serial_port_win32.h), POSIX (serial_port_posix.h) and Web Serial; tests use a simulated
// port on a virtual clock.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

namespace zq70 {

struct SerialPort {
    // Opens the port for this program alone; false when it is absent or in use.
    std::function<bool()> open;
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

// The seam over a back-end object with the same six operations; the object lives as long as
// any copy of the seam.
template <typename Backend> SerialPort bind_serial_port(std::shared_ptr<Backend> state) {
    SerialPort port;
    port.open = [state] { return state->open(); };
    port.configure = [state] { return state->configure(); };
    port.send_byte = [state](uint8_t byte) { state->send_byte(byte); };
    port.receive_byte = [state](int timeout_ms) { return state->receive_byte(timeout_ms); };
    port.discard_input = [state] { state->discard_input(); };
    port.close = [state] { state->close(); };
    return port;
}

} // namespace zq70
