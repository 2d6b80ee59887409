// The small modeless window that shows how far a transfer has come. At most one exists;
// the pumps test for it on every message.
#pragma once

#include <windows.h>

#include <string>

namespace zq70 {

// The progress window of the running transfer, or nullptr.
HWND progress_window();

// Creates it from dialog 1600, owned by `owner`, shows it and has it painted at once.
void create_progress_window(HINSTANCE instance, HWND owner);

void destroy_progress_window();

// The transports' progress sink: the text of the window's one line. Does nothing when no
// progress window exists.
void set_progress_text(const std::string& text);

} // namespace zq70
