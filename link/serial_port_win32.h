// The serial port on Windows: CreateFileA, the comm state and time-outs, one-byte
// synchronous reads and writes. Every result on the port is checked.
#pragma once

#include <functional>
#include <string>

#include "serial_port.h"

namespace zq70 {

// Port number n opens "\\.\COMn".
SerialPort make_win32_serial_port();

// Port number n opens the device name_of_port(n) (zq70cfg names any of COM1..COM256).
SerialPort make_win32_serial_port(std::function<std::string(int)> name_of_port);

} // namespace zq70
