// Delay, Key Code and About: their templates, how they close and what they return.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "dialog_script.h"
#include "dialogs/dialogs.h"
#include "res/resource_ids.h"

namespace {

class SmallDialogsTest : public ::testing::Test {
  protected:
    OwnerWindow owner;
};

DialogScript::Action enter_and(const std::string& typed, int button) {
    return [typed, button](HWND dialog) {
        type_text(dialog, IDC_NUMBER_FIELD, typed);
        click(dialog, button);
        return true;
    };
}

void expect_rect(HWND dialog, int id, int x, int y, int width, int height) {
    const RECT expected = dialog_units(dialog, x, y, width, height);
    const RECT actual = control_rect(dialog, id);
    EXPECT_TRUE(EqualRect(&expected, &actual))
        << "control " << id << ": " << actual.left << "," << actual.top << "," << actual.right
        << "," << actual.bottom << " instead of " << expected.left << "," << expected.top << ","
        << expected.right << "," << expected.bottom;
}

TEST_F(SmallDialogsTest, NumberEntriesHaveADigitsFieldAndNoCloseBox) {
    DialogScript user;
    user.then("Delay",
              [](HWND dialog) {
                  EXPECT_EQ(IDC_NUMBER_FIELD, focused_id(dialog));
                  EXPECT_TRUE(GetWindowLongA(GetDlgItem(dialog, IDC_NUMBER_FIELD), GWL_STYLE) &
                              ES_NUMBER);
                  EXPECT_FALSE(GetWindowLongA(dialog, GWL_STYLE) & WS_SYSMENU);
                  EXPECT_EQ("msec", item_text(dialog, IDC_DELAY_UNIT));
                  expect_rect(dialog, IDC_NUMBER_FIELD, 4, 4, 40, 12);
                  expect_rect(dialog, IDC_DELAY_UNIT, 44, 4, 48, 12);
                  expect_rect(dialog, IDC_NUMBER_OK, 4, 20, 40, 16);
                  expect_rect(dialog, IDC_NUMBER_CANCEL, 48, 20, 40, 16);
                  return true;
              })
        .then("Delay", enter_and("", IDC_NUMBER_CANCEL))
        .then("Key Code",
              [](HWND dialog) {
                  EXPECT_EQ(IDC_NUMBER_FIELD, focused_id(dialog));
                  EXPECT_FALSE(GetWindowLongA(dialog, GWL_STYLE) & WS_SYSMENU);
                  expect_rect(dialog, IDC_NUMBER_FIELD, 4, 4, 84, 12);
                  EXPECT_EQ("OK", item_text(dialog, IDC_NUMBER_OK));
                  EXPECT_EQ("Cancel", item_text(dialog, IDC_NUMBER_CANCEL));
                  return true;
              })
        .then("Key Code", enter_and("", IDC_NUMBER_CANCEL));
    EXPECT_EQ(-1, ask_delay(owner.handle()));
    EXPECT_EQ(-1, ask_key_code(owner.handle()));
    EXPECT_TRUE(user.finished());
}

// Numbers read as unsigned decimals; one too large for the result saturates instead of
// wrapping round to a negative value, which the callers would take for Cancel.
TEST_F(SmallDialogsTest, NumberEntriesReturnTheNumberTyped) {
    const std::vector<std::pair<std::string, int>> cases = {
        {"250", 250},
        {"300", 300},
        {"65", 65},
        {"0", 0},
        {"", 0},
        {"12x", 0},
        {"2147483647", INT_MAX},
        {"2147483648", INT_MAX},
        {"4294967296", INT_MAX},
        {"99999999999999999999", INT_MAX},
    };
    for (const auto& [typed, number] : cases) {
        SCOPED_TRACE(typed);
        DialogScript user;
        user.then("Key Code", enter_and(typed, IDC_NUMBER_OK));
        EXPECT_EQ(number, ask_key_code(owner.handle()));
        EXPECT_TRUE(user.finished());
    }
}

TEST_F(SmallDialogsTest, EnterConfirmsAndEscIsIgnored) {
    for (const char* caption : {"Delay", "Key Code"}) {
        SCOPED_TRACE(caption);
        bool escaped = false;
        DialogScript user;
        user.then(caption,
                  [](HWND dialog) {
                      type_text(dialog, IDC_NUMBER_FIELD, "42");
                      press_key(VK_ESCAPE);
                      return true;
                  })
            .then(caption, [&escaped](HWND) {
                // Still open a while after Esc.
                if (!escaped) {
                    escaped = true;
                    return false;
                }
                press_key(VK_RETURN);
                return true;
            });
        const int result = std::string(caption) == "Delay" ? ask_delay(owner.handle())
                                                           : ask_key_code(owner.handle());
        EXPECT_EQ(42, result);
        EXPECT_TRUE(user.finished());
    }
}

TEST_F(SmallDialogsTest, AboutShowsTheVersionAndClosesOnAnyCommand) {
    DialogScript first;
    first.then("About ZQ70Load", [](HWND dialog) {
        const std::string text = item_text(dialog, IDC_ABOUT_TEXT);
        EXPECT_EQ(0u, text.find("ZQ70Load version 2.39\n"));
        EXPECT_EQ(3, 1 + std::count(text.begin(), text.end(), '\n'));
        expect_rect(dialog, IDC_ABOUT_TEXT, 4, 4, 160, 28);
        expect_rect(dialog, IDOK, 60, 38, 48, 14);
        EXPECT_EQ(IDOK, focused_id(dialog));
        press_key(VK_RETURN);
        return true;
    });
    EXPECT_EQ(IDOK, show_about(owner.handle()));
    EXPECT_TRUE(first.finished());

    DialogScript escape;
    escape.then("About ZQ70Load", [](HWND) {
        press_key(VK_ESCAPE);
        return true;
    });
    EXPECT_EQ(IDCANCEL, show_about(owner.handle()));
    EXPECT_TRUE(escape.finished());

    DialogScript close_box;
    close_box.then("About ZQ70Load", [](HWND dialog) {
        PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
        return true;
    });
    EXPECT_EQ(IDCANCEL, show_about(owner.handle()));
    EXPECT_TRUE(close_box.finished());
}

} // namespace
