// The serial port on Windows: CreateFileA, the comm state and time-outs, one-byte
// synchronous reads and writes. Every result on the port is checked.
#pragma once

#include <string>

#include "serial_port.h"

namespace zq70 {

// The port of a Win32 device name: "\\.\COM3" (the window program's COM1..COM6, zq70cfg's
// COM1..COM256).
SerialPort make_win32_serial_port(const std::string& device);

} // namespace zq70
