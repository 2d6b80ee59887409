// Notifications from the main window's controls: clicks on key buttons and the drop-down
// lists' opening, closing and selection changes.
#pragma once

#include "main_window.h"

namespace zq70 {

void handle_control_notification(MainWindow& main, HWND control, int code);

} // namespace zq70
