// What the whole program shares: the one Configuration, the communication port, and the
// seams to the user and to the main window. The Win32 shell owns the single instance.
#pragma once

#include <functional>
#include <string>

#include "configuration.h"
#include "user_interface.h"

namespace zq70 {

// The window half of the model operations. Each entry may be empty (tests, tools).
struct ConfigurationView {
    // Check marks of the ten option popups and the graying of the "Make Only" items.
    std::function<void()> show_options;
    // Row and column list selections and the discretes count text.
    std::function<void()> show_counts;
    // layout_grid, update_scroll_ranges and refresh_captions, in that order.
    std::function<void()> show_grid;
    // The check mark of the Communication port menu.
    std::function<void()> show_port;
};

struct Session {
    Configuration config{};
    int comm_port = 0;
    UserInterface ui;
    ConfigurationView view;
    std::string preferences_path = "zq70load.ini";
};

// File > New: asks to save unsaved changes, resets the configuration and has the window
// show it. False when the user cancelled (nothing changed).
bool new_configuration(Session& session);

// Brings the window in line with the configuration after it was replaced (New, Open, Read).
void show_configuration(const Session& session);

} // namespace zq70
