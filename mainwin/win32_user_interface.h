// The user seam on Win32: message boxes and the common file dialogs, owned by the main
// window (or by nobody before it exists).
#pragma once

#include <windows.h>

#include "config/user_interface.h"

namespace zq70 {

// `owner` is read at each call, so the seam can be made before the window exists.
UserInterface make_win32_user_interface(const HWND* owner);

// The dialog flags: both want an existing folder; Open wants an existing file and Save
// asks before replacing one (a new name must be accepted, so no file-must-exist there).
DWORD file_dialog_flags(FileQuestion question);

} // namespace zq70
