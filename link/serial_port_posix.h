// The serial port on POSIX systems: termios, exclusive open, raw 9600 8N1.
#pragma once

#include <functional>
#include <string>

#include "serial_port.h"

namespace zq70 {

// Device path of port number n: /dev/ttyS0 for 1 up to /dev/ttyS5 for 6.
std::string default_posix_port_path(int port_number);

// A port whose number maps to a device path through path_of_port (tests give the
// pseudo-terminal of zq70sim).
SerialPort
make_posix_serial_port(std::function<std::string(int)> path_of_port = default_posix_port_path);

} // namespace zq70
