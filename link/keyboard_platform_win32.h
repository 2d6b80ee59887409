// The keyboard platform of Windows: typematic settings through SystemParametersInfoA
// (never written to the user profile), Sleep, a 1 ms clock, and the thread's message queue.
#pragma once

#include <windows.h>

#include "keyboard_platform.h"

namespace zq70 {

// Raises the timer resolution to 1 ms for as long as it lives, so that Sleep(1) and the
// millisecond clock are what they say during a transfer; gives it back on every path.
class MillisecondTimer {
  public:
    MillisecondTimer();
    ~MillisecondTimer();
    MillisecondTimer(const MillisecondTimer&) = delete;
    MillisecondTimer& operator=(const MillisecondTimer&) = delete;

  private:
    bool raised_;
};

// The millisecond clock of transfers (timeGetTime; wraps around at 2^32 ms).
uint32_t millisecond_ticks();

ThreadMessage from_native(const MSG& message);
MSG to_native(const ThreadMessage& message);

// Translates and dispatches a message to its window: the hook for a channel without a
// progress window.
void translate_and_dispatch(const ThreadMessage& message);

KeyboardPlatform win32_keyboard_platform(
    std::function<void(const ThreadMessage&)> dispatch_other = translate_and_dispatch);

} // namespace zq70
