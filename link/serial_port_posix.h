// The serial port on POSIX systems: termios, exclusive open, raw 9600 8N1.
#pragma once

#include <string>

#include "serial_port.h"

namespace zq70 {

// The port of a device path ("/dev/ttyUSB0", the pseudo-terminal of zq70sim).
SerialPort make_posix_serial_port(const std::string& path);

} // namespace zq70
