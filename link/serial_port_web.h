// The serial port in a browser, through Web Serial: the port that the page had the user
// pick (serial_port_web.js holds it), opened for one transfer. Its waits are the browser's
// promises, awaited through Asyncify, so the protocol above it blocks as it does elsewhere.
#pragma once

#include "serial_port.h"
#include "transfer_progress.h"

namespace zq70 {

SerialPort make_web_serial_port();

// Waits ms milliseconds in the browser's event loop (the page keeps working meanwhile),
// or less once a stop was asked for.
Pump web_pump();

// Whether the page asked the running transfer to stop (Cancel).
bool web_stop_requested();

// Whether the port went away (unplugged, a read or write error) since it was opened.
bool web_port_lost();

} // namespace zq70
