// Message pumping while a transfer runs: windows repaint, move and take mouse input, the
// progress window gets its dialog handling, and no accelerator is translated (so no
// command of the main window's keyboard starts meanwhile).
#pragma once

#include <windows.h>

namespace zq70 {

// Handles window messages for the given number of milliseconds, sleeping 1 ms whenever the
// queue is empty.
void pump_messages(int ms);

// One message taken by a pump or by the keyboard channel's wait: dialog handling of the
// progress window, else translate and dispatch. A quit message is kept, not lost: see
// repost_quit_request.
void dispatch_other(const MSG& message);

// Posts again a quit message that a pump took, once the transfer command has returned.
void repost_quit_request();

} // namespace zq70
