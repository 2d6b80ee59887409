// "Select a key" in both variants, driven as a user would: the drawn keyboard, the starting
// button, Make/Break, Delay, and every way out.
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "config/key_names.h"
#include "dialog_script.h"
#include "dialogs/dialogs.h"
#include "res/resource_ids.h"

namespace {

constexpr const char* kSelectKey = "Select a key";
constexpr const char* kDelay = "Delay";

int key_id(int key) {
    return IDC_KEY_BUTTON_BASE + key;
}

bool same_rect(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != FALSE;
}

class SelectKeyTest : public ::testing::Test {
  protected:
    int open(bool macro_step, int value, bool preselect_break = false, bool delay = true) {
        return macro_step ? select_macro_step(owner.handle(), value, preselect_break, delay)
                          : select_key(owner.handle(), value);
    }
    OwnerWindow owner;
};

struct Child {
    int id;
    RECT rect;
};

// The children in tab (Z) order with their rectangles in client coordinates.
std::vector<Child> children_of(HWND dialog) {
    std::vector<Child> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back({GetDlgCtrlID(child), control_rect(dialog, GetDlgCtrlID(child))});
    return children;
}

void expect_drawn_keyboard(HWND dialog) {
    const std::vector<Child> children = children_of(dialog);
    ASSERT_GE(children.size(), 105u);
    const std::vector<Child> keys(children.begin(), children.begin() + 105);

    // Exactly the keys the catalogue names, and "Not Used", with the catalogue's captions.
    for (int key = 1; key <= zq70::kHighestKeyNumber; ++key) {
        HWND button = GetDlgItem(dialog, key_id(key));
        const char* caption = zq70::key_button_caption(key);
        ASSERT_EQ(caption != nullptr, button != nullptr) << "key " << key;
        if (caption) {
            EXPECT_EQ(caption, text_of(button)) << "key " << key;
        }
    }
    EXPECT_EQ("Not Used", item_text(dialog, key_id(0)));

    // The keys lead the tab order, row by row from left to right, and never overlap.
    for (size_t i = 0; i < keys.size(); ++i) {
        EXPECT_TRUE(GetWindowLongA(GetDlgItem(dialog, keys[i].id), GWL_STYLE) & WS_TABSTOP);
        if (i == 0) continue;
        const RECT& a = keys[i - 1].rect;
        const RECT& b = keys[i].rect;
        EXPECT_TRUE(a.top < b.top || (a.top == b.top && a.right <= b.left))
            << "key ids " << keys[i - 1].id << " and " << keys[i].id;
        for (size_t j = 0; j < i; ++j) {
            RECT overlap;
            EXPECT_FALSE(IntersectRect(&overlap, &keys[i].rect, &keys[j].rect))
                << "key ids " << keys[i].id << " and " << keys[j].id;
        }
    }

    // Places in dialog units: the corners, the wide and the tall keys.
    const std::vector<std::tuple<int, int, int, int, int>> places = {
        {110, 0, 0, 24, 24},     {0, 456, 0, 96, 24},    {15, 312, 30, 48, 24},
        {105, 528, 30, 24, 24},  {29, 324, 54, 36, 24},  {106, 528, 54, 24, 48},
        {41, 284, 78, 24, 24},   {43, 308, 78, 52, 24},  {57, 292, 102, 68, 24},
        {108, 528, 102, 24, 48}, {61, 96, 126, 136, 24}, {99, 456, 126, 48, 24},
    };
    for (const auto& [key, x, y, width, height] : places)
        EXPECT_TRUE(
            same_rect(dialog_units(dialog, x, y, width, height), control_rect(dialog, key_id(key))))
            << "key " << key;
}

TEST_F(SelectKeyTest, BothTemplatesShowTheDrawnKeyboard) {
    for (bool macro_step : {false, true}) {
        SCOPED_TRACE(macro_step);
        DialogScript script;
        script
            .then(kSelectKey,
                  [macro_step](HWND dialog) {
                      expect_drawn_keyboard(dialog);
                      RECT client;
                      GetClientRect(dialog, &client);
                      EXPECT_TRUE(same_rect(dialog_units(dialog, 0, 0, 552, macro_step ? 175 : 150),
                                            client));
                      const std::vector<Child> children = children_of(dialog);
                      if (!macro_step) {
                          EXPECT_EQ(105u, children.size());
                          return true;
                      }
                      // Make, Break and Delay follow the keys.
                      const std::vector<std::tuple<int, int, int, int, int>> extras = {
                          {IDC_STEP_MAKE, 0, 155, 64, 10},
                          {IDC_STEP_BREAK, 0, 165, 64, 10},
                          {IDC_STEP_DELAY, 226, 155, 100, 20}};
                      EXPECT_EQ(108u, children.size());
                      for (size_t i = 0; i < extras.size() && 105 + i < children.size(); ++i) {
                          const auto& [id, x, y, width, height] = extras[i];
                          EXPECT_EQ(id, children[105 + i].id);
                          EXPECT_TRUE(same_rect(dialog_units(dialog, x, y, width, height),
                                                children[105 + i].rect));
                      }
                      EXPECT_EQ("Break", item_text(dialog, IDC_STEP_BREAK));
                      return true;
                  })
            .then(kSelectKey, press(VK_ESCAPE));
        EXPECT_EQ(-1, open(macro_step, 0));
        EXPECT_TRUE(script.finished());
    }
}

// The dialog opens on the button of the starting code, focused and default, so that Enter
// confirms it at once; anything without a button opens on "Not Used".
TEST_F(SelectKeyTest, EnterRightAfterOpeningTakesTheStartingButton) {
    struct Case {
        bool macro_step;
        int value;
        bool preselect_break;
        bool delay_allowed;
        int start_id;
        int result;
    };
    const std::vector<Case> cases = {
        {false, 0, false, false, key_id(0), 0},
        {false, 31, false, false, key_id(31), 31},
        {false, 126, false, false, key_id(126), 126},
        {false, 0x85, false, false, key_id(0), 0}, // a macro code
        {false, 14, false, false, key_id(0), 0},   // numbers without a button
        {false, 127, false, false, key_id(0), 0},
        {false, 10 * 256 + 127, false, false, key_id(0), 0},
        {true, 0, true, true, key_id(0), 0}, // "Not Used" never carries the break flag
        {true, 0x80 + 31, true, true, key_id(31), 0x80 + 31},
        {true, 0x80 + 31, false, true, key_id(31), 31}, // the kind is the editor's choice
        {true, 10 * 256 + 127, false, true, IDC_STEP_DELAY, 25 * 256 + 127},
        // Delay disabled: the focus goes to Break before it and the Tab wraps round to Esc.
        {true, 10 * 256 + 127, true, false, key_id(110), 0x80 + 110},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.value << (c.macro_step ? " step" : " key"));
        DialogScript script;
        script
            .then(kSelectKey,
                  [&c](HWND dialog) {
                      if (focused_id(dialog) == 0) return false;
                      EXPECT_EQ(c.start_id, focused_id(dialog));
                      EXPECT_EQ(c.start_id, default_button_id(dialog));
                      if (c.macro_step) {
                          EXPECT_EQ(c.preselect_break ? BST_CHECKED : BST_UNCHECKED,
                                    IsDlgButtonChecked(dialog, IDC_STEP_BREAK));
                          EXPECT_NE(IsDlgButtonChecked(dialog, IDC_STEP_MAKE),
                                    IsDlgButtonChecked(dialog, IDC_STEP_BREAK));
                          EXPECT_EQ(c.delay_allowed,
                                    IsWindowEnabled(GetDlgItem(dialog, IDC_STEP_DELAY)) != 0);
                      }
                      press_key(VK_RETURN);
                      return true;
                  })
            .then(kDelay, [](HWND dialog) {
                type_text(dialog, IDC_NUMBER_FIELD, "250");
                press_key(VK_RETURN);
                return true;
            });
        EXPECT_EQ(c.result, open(c.macro_step, c.value, c.preselect_break, c.delay_allowed));
        EXPECT_EQ(c.start_id == IDC_STEP_DELAY, script.finished());
    }
}

DialogScript::Action type_and_click(const std::string& typed, int id) {
    return [typed, id](HWND dialog) {
        type_text(dialog, IDC_NUMBER_FIELD, typed);
        click(dialog, id);
        return true;
    };
}

// Make/Break toggle each other; Break adds the flag to keys; milliseconds typed into Delay
// become 10 ms units from 10 ms up to 2560 ms (count 0), and Cancel there keeps the dialog.
TEST_F(SelectKeyTest, ClicksMakeKeyBreakAndDelaySteps) {
    struct Step {
        const char* caption;
        DialogScript::Action action;
    };
    auto delay = [](const std::string& typed) {
        return std::vector<Step>{{kSelectKey, click_on(IDC_STEP_DELAY)},
                                 {kDelay, type_and_click(typed, IDC_NUMBER_OK)}};
    };
    const Step brk{kSelectKey, click_on(IDC_STEP_BREAK)};
    const Step make{kSelectKey, click_on(IDC_STEP_MAKE)};
    auto key = [](int k) { return Step{kSelectKey, click_on(key_id(k))}; };
    const std::vector<std::pair<std::vector<Step>, int>> cases = {
        {{key(17)}, 17},
        {{brk, key(17)}, 0x80 + 17},
        {{brk, key(0)}, 0},
        {{brk, make, key(17)}, 17},
        {delay("5"), 1 * 256 + 127},
        {delay("100"), 10 * 256 + 127},
        {delay("109"), 10 * 256 + 127},
        {delay("2550"), 255 * 256 + 127},
        {delay("2560"), 127},
        {delay("9999"), 127},
        {delay("99999999999999"), 127}, // too large still means the longest delay
        {delay(""), 1 * 256 + 127},
        {{brk,
          {kSelectKey, click_on(IDC_STEP_DELAY)},
          {kDelay, click_on(IDC_NUMBER_CANCEL)},
          {kSelectKey,
           [](HWND dialog) {
               EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dialog, IDC_STEP_BREAK));
               EXPECT_EQ(BST_UNCHECKED, IsDlgButtonChecked(dialog, IDC_STEP_MAKE));
               return true;
           }},
          key(31)},
         0x80 + 31},
    };
    for (size_t i = 0; i < cases.size(); ++i) {
        SCOPED_TRACE(i);
        DialogScript script;
        for (const Step& step : cases[i].first)
            script.then(step.caption, step.action);
        EXPECT_EQ(cases[i].second, open(true, 0));
        EXPECT_TRUE(script.finished());
    }
}

TEST_F(SelectKeyTest, EscAndTheCloseBoxCancel) {
    for (bool macro_step : {false, true}) {
        DialogScript escape;
        escape.then(kSelectKey, press(VK_ESCAPE));
        EXPECT_EQ(-1, open(macro_step, 31));
        EXPECT_TRUE(escape.finished());

        DialogScript close_box;
        close_box.then(kSelectKey, [](HWND dialog) {
            PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
            return true;
        });
        EXPECT_EQ(-1, open(macro_step, 31));
        EXPECT_TRUE(close_box.finished());
    }
}

} // namespace
