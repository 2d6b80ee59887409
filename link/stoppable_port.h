// A serial port that the user can stop (Ctrl+C in zq70cfg, Cancel in the web page) without
// cutting a command in half: once an answer is awaited after the stop was asked for, that
// answer and every later one is missing and no further byte is sent. The transfer then ends
// through its own failure path, which closes the port. A command already on its way is
// sent whole, so the device is never left inside a command.
#pragma once

#include <functional>

#include "serial_port.h"

namespace zq70 {

SerialPort stoppable(SerialPort port, std::function<bool()> stop_requested);

} // namespace zq70
