// The serial port on Windows: CreateFileA, the comm state and time-outs, one-byte
// synchronous reads and writes. Every result on the port is checked.
#pragma once

#include "serial_port.h"

namespace zq70 {

// Port number n opens "\\.\COMn".
SerialPort make_win32_serial_port();

} // namespace zq70
