// What --port names. On Windows a COM port, COM1 to COM256, written "COM7", "com7" or
// "\\.\COM12"; elsewhere the path of a serial device ("/dev/ttyUSB0").
#pragma once

#include <string>
#include <string_view>

#include "link/serial_port.h"

namespace zq70cfg {

// The Win32 device name ("\\.\COM12") of a COM port name, or "" when it names none.
std::string windows_device_of(std::string_view name);

// The device that the name opens on this platform; "" when the name cannot be a port here.
std::string port_device_of(std::string_view name);

// The serial port of that device on this platform.
zq70::SerialPort named_serial_port(const std::string& device);

} // namespace zq70cfg
