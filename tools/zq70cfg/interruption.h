// Ctrl+C during a serial command. The handler only notes the signal; the port wrapper
// turns the note into a missing answer, so the transfer ends through its own failure path,
// which closes the port and puts its settings back. Nothing exits from inside the handler.
#pragma once

#include "link/serial_port.h"

namespace zq70cfg {

// Catches Ctrl+C (and, on POSIX, SIGTERM). A second Ctrl+C ends the program the usual
// way, should a transfer ever not come back.
void catch_interruptions();

bool interrupted();
// 128 + the signal number: 130 for Ctrl+C.
int interruption_exit_code();

// What the handler does; tests call it directly.
void note_interruption(int signal_number);
void forget_interruption();

// The port with the interruption in front of it (link/stoppable_port.h): a command already
// on its way is sent whole, every later answer is missing.
zq70::SerialPort interruptible(zq70::SerialPort port);

// Sleeps for ms milliseconds, or less when interrupted; false when interrupted.
bool pause_unless_interrupted(int ms);

} // namespace zq70cfg
