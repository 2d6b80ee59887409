// The main window's state: the window, its fixed set of controls (all created once at
// start-up and only moved, shown, hidden and relabelled afterwards), the visible part of the
// key grid and the one Session it shows. One instance lives from start-up to exit, owned by
// WinMain (or by a test); the window procedure, the grid code, the key cell editing and the
// transfer commands all work on it.
#pragma once

#include <windows.h>

#include "config/session.h"

namespace zq70 {

constexpr int kKeyButtonCount = 144; // the largest grid that can ever be visible
constexpr int kPinControlCount = 24; // one label and one list per pin
constexpr int kClientWidth = 469;    // initial client area: 6 columns, 4 rows, 7 inputs
constexpr int kClientHeight = 429;
inline constexpr const char* kMainWindowClass = "zq70loadClass";

struct MainWindow {
    HINSTANCE instance = nullptr;
    HWND window = nullptr;

    // "Number of Rows", "Number of Columns", "Number of Discretes".
    HWND header_labels[3] = {};
    HWND rows_box = nullptr;        // selection = Configuration::rows
    HWND columns_box = nullptr;     // selection = Configuration::columns
    HWND discretes_count = nullptr; // text = 24 - rows - columns

    // Pin controls and key buttons are indexed by what is visible: columns first, then
    // rows, then inputs; visible matrix cell (r, c) is key_buttons[r * visible_columns + c]
    // and visible input k is key_buttons[visible_columns * visible_rows + k].
    HWND pin_labels[kPinControlCount] = {};
    HWND pin_boxes[kPinControlCount] = {};
    HWND key_buttons[kKeyButtonCount] = {};

    // Positions = columns, rows and inputs scrolled off; 0 whenever a bar is hidden.
    HWND row_scroll = nullptr;
    HWND column_scroll = nullptr;
    HWND input_scroll = nullptr;

    HFONT ui_font = nullptr;
    HACCEL accelerators = nullptr;

    int visible_columns = 0;
    int visible_rows = 0;
    int visible_inputs = 0;

    // Set by the device transfers while they pump messages: user commands, grid clicks and
    // list changes are ignored meanwhile, and a close request waits for the end.
    bool transfer_running = false;
    bool close_pending = false;

    // False until every control exists: WM_SIZE arrives during CreateWindow already.
    bool controls_ready = false;

    Session* session = nullptr;
};

// The state of the main window `window`, or of the main window that owns a control.
MainWindow* main_window_of(HWND window);

// Start-up after the volume check: common controls, window class, window, font, controls,
// port "Com 1", new_configuration, show, accelerators, preferences. False (and nothing
// left behind) when the main window cannot be created. session.ui must already be set.
bool create_main_window(MainWindow& main, Session& session, HINSTANCE instance, int show_command);

// What the message loop does with one message: accelerators for the main window first,
// then character translation and dispatch.
void process_message(const MainWindow& main, MSG& message);

// Runs until the quit message and returns its exit code.
int run_message_loop(const MainWindow& main);

// Deletes what outlives the window (the font) once the window is gone.
void release_main_window(MainWindow& main);

// Called by a transfer when it is over: lifts the guard and carries out a close that the
// user asked for meanwhile.
void end_transfer(MainWindow& main);

} // namespace zq70
