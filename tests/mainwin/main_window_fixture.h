// A real main window created in-process, with a scripted user answering every box and file
// question, and helpers that act on it as a user would.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "mainwin/main_window.h"
#include "tests/support/file_contents.h"
#include "tests/support/scripted_user.h"
#include "tests/support/temporary_folder.h"

// Failures point at the caller's line.
#define EXPECT_RECT(...)                                                                           \
    do {                                                                                           \
        SCOPED_TRACE("EXPECT_RECT");                                                               \
        expect_rect(__VA_ARGS__);                                                                  \
    } while (0)

namespace zq70::testing {

// Lets the window handle what is queued for it, for at most `milliseconds`.
void flush_events(int milliseconds = 50);

using test::read_file;
using test::ScriptedUser;
using test::TemporaryFolder;
using test::write_file;

class MainWindowTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    void start();
    void stop();

    // The user picks a menu item or an accelerator.
    void command(int id);
    // The user picks entry `index` of a drop-down list.
    void choose(HWND box, int index);
    // Rows and columns as the user would pick them (columns first when shrinking rows).
    void choose_matrix(int rows, int columns);
    void set_client_size(int width, int height);
    // Holds the key `vk` down (or lets it go) as the thread's keyboard state sees it, so
    // that GetKeyState answers as if the user held it during the next message.
    static void hold_key(int vk, bool down);

    RECT rect_of(HWND control) const; // client coordinates of the main window
    // A negative height is not checked (a closed drop-down list sizes itself to its font).
    void expect_rect(HWND control, int x, int y, int width, int height) const;
    std::string text_of(HWND control) const;
    bool checked(int id) const;
    bool grayed(int id) const;
    // The one item checked among count items from first, or -1 for none or several.
    int checked_item(int first, int count) const;
    int selection(HWND box) const;
    Configuration& config() { return session.config; }

    TemporaryFolder folder;
    ScriptedUser user;
    Session session;
    MainWindow main;
};

} // namespace zq70::testing
