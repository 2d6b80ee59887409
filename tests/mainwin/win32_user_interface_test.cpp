// The Win32 side of the user seam, answered through the real boxes and dialogs, and the
// About command.
#include <windows.h>

#include <commdlg.h>

#include <functional>

#include "main_window_fixture.h"
#include "mainwin/win32_user_interface.h"
#include "res/resource_ids.h"

namespace zq70::testing {
namespace {

// Runs `answer` on the first dialog that becomes active while a modal loop runs.
class ModalAnswer {
  public:
    ModalAnswer(HWND main, std::function<void(HWND)> answer) : answer_(std::move(answer)) {
        main_ = main;
        current_ = this;
        timer_ = SetTimer(nullptr, 0, 20, poll);
    }
    ~ModalAnswer() {
        KillTimer(nullptr, timer_);
        current_ = nullptr;
    }
    bool answered = false;

  private:
    static void CALLBACK poll(HWND, UINT, UINT_PTR, DWORD) {
        const HWND active = GetActiveWindow();
        if (!current_ || !active || active == main_) return;
        if (!current_->answered) {
            current_->answered = true;
            current_->answer_(active);
        } else if (++current_->polls_after_answer == 100) {
            // Still open two seconds after the answer: it refused it. Bounded wait.
            ADD_FAILURE() << "the dialog did not take the answer";
            PostMessageA(active, WM_COMMAND, IDCANCEL, 0);
        }
    }
    std::function<void(HWND)> answer_;
    UINT_PTR timer_;
    int polls_after_answer = 0;
    static inline ModalAnswer* current_ = nullptr;
    static inline HWND main_ = nullptr;
};

std::string window_text(HWND window) {
    char text[256] = "";
    GetWindowTextA(window, text, sizeof text);
    return text;
}

void press(HWND dialog, int button) {
    const HWND control = GetDlgItem(dialog, button);
    ASSERT_NE(control, nullptr) << button;
    ASSERT_TRUE(IsWindowEnabled(control));
    PostMessageA(control, BM_CLICK, 0, 0);
}

using Win32UserInterfaceTest = MainWindowTest;

TEST_F(Win32UserInterfaceTest, MessageBoxOwnedByTheMainWindow) {
    const UserInterface ui = make_win32_user_interface(&main.window);
    ModalAnswer answer(main.window, [&](HWND box) {
        EXPECT_EQ(window_text(box), "ZQ70 Configuration Utility");
        EXPECT_EQ(GetWindow(box, GW_OWNER), main.window);
        char text[128] = "";
        GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
        EXPECT_STREQ(text, "Keep it?");
        EXPECT_NE(GetDlgItem(box, IDCANCEL), nullptr);
        press(box, IDNO);
    });
    EXPECT_EQ(show_message(ui, "Keep it?", MessageIcon::Question, MessageButtons::YesNoCancel),
              MessageAnswer::No);
    EXPECT_TRUE(answer.answered);
}

TEST_F(Win32UserInterfaceTest, SaveDialogTakesANewName) {
    const UserInterface ui = make_win32_user_interface(&main.window);
    const std::string path = folder.path("brand new.zq7");
    ModalAnswer answer(main.window, [&](HWND dialog) {
        EXPECT_EQ(window_text(dialog), "Save File");
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), main.window);
        SetDlgItemTextA(dialog, 0x47c, path.c_str()); // the file name box
        press(dialog, IDOK);
    });
    std::string chosen;
    EXPECT_TRUE(ui.ask_file_name(FileQuestion::Save, chosen));
    EXPECT_EQ(chosen, path);
    EXPECT_FALSE(file_dialog_flags(FileQuestion::Save) & OFN_FILEMUSTEXIST);
    EXPECT_TRUE(file_dialog_flags(FileQuestion::Save) & OFN_OVERWRITEPROMPT);
    EXPECT_TRUE(file_dialog_flags(FileQuestion::Open) & OFN_FILEMUSTEXIST);
}

TEST_F(Win32UserInterfaceTest, CancelledOpenDialog) {
    const UserInterface ui = make_win32_user_interface(&main.window);
    ModalAnswer answer(main.window, [&](HWND dialog) {
        EXPECT_EQ(window_text(dialog), "Open File");
        press(dialog, IDCANCEL);
    });
    std::string chosen = "untouched";
    EXPECT_FALSE(ui.ask_file_name(FileQuestion::Open, chosen));
    EXPECT_EQ(chosen, "untouched");
}

TEST_F(Win32UserInterfaceTest, AboutIsOwnedByTheMainWindowAndChangesNothing) {
    ModalAnswer answer(main.window, [&](HWND dialog) {
        EXPECT_EQ(GetWindow(dialog, GW_OWNER), main.window);
        PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    });
    SendMessageA(main.window, WM_COMMAND, IDC_HELP_ABOUT, 0);
    EXPECT_TRUE(answer.answered);
    EXPECT_FALSE(config().modified);
}

} // namespace
} // namespace zq70::testing
