// "Select a key" in both variants, driven as a user would: the drawn keyboard, the starting
// button, Make/Break, Delay, and every way out.
#include <gtest/gtest.h>

#include <algorithm>
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

// Waits until the injected Tab has put the focus on a push button, then checks that it is
// the expected one and that it acts as the default button.
DialogScript::Action expect_start_on(int id) {
    return [id](HWND dialog) {
        if (focused_id(dialog) == 0) return false;
        EXPECT_EQ(id, focused_id(dialog));
        EXPECT_EQ(id, default_button_id(dialog));
        return true;
    };
}

class SelectKeyTest : public ::testing::Test {
  protected:
    OwnerWindow owner;
};

struct Child {
    int id;
    RECT rect;
};

// The children in tab (Z) order with their rectangles in client coordinates.
std::vector<Child> children_of(HWND dialog) {
    std::vector<Child> children;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        children.push_back({GetDlgCtrlID(child), control_rect(dialog, GetDlgCtrlID(child))});
    }
    return children;
}

bool same_rect(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != FALSE;
}

void expect_drawn_keyboard(HWND dialog) {
    const std::vector<Child> children = children_of(dialog);
    std::vector<Child> keys;
    for (const Child& child : children)
        if (child.id >= IDC_KEY_BUTTON_BASE && child.id < IDC_KEY_BUTTON_BASE + 128)
            keys.push_back(child);

    // Exactly the keys the catalogue names, and "Not Used", each with its catalogue caption.
    ASSERT_EQ(105u, keys.size());
    for (int key = 1; key <= zq70::kHighestKeyNumber; ++key) {
        HWND button = GetDlgItem(dialog, key_id(key));
        const char* caption = zq70::key_button_caption(key);
        EXPECT_EQ(caption != nullptr, button != nullptr) << "key " << key;
        if (caption && button) {
            EXPECT_EQ(caption, text_of(button)) << "key " << key;
            EXPECT_TRUE(GetWindowLongA(button, GWL_STYLE) & WS_TABSTOP) << "key " << key;
        }
    }
    EXPECT_EQ("Not Used", item_text(dialog, key_id(0)));

    // The keys come first in the tab order, row by row from left to right, and no two
    // buttons overlap.
    for (size_t i = 0; i < keys.size(); ++i)
        EXPECT_EQ(children[i].id, keys[i].id);
    for (size_t i = 1; i < keys.size(); ++i) {
        const RECT& a = keys[i - 1].rect;
        const RECT& b = keys[i].rect;
        EXPECT_TRUE(a.top < b.top || (a.top == b.top && a.left < b.left))
            << "key ids " << keys[i - 1].id << " and " << keys[i].id;
    }
    for (size_t i = 0; i < keys.size(); ++i)
        for (size_t j = i + 1; j < keys.size(); ++j) {
            RECT overlap;
            EXPECT_FALSE(IntersectRect(&overlap, &keys[i].rect, &keys[j].rect))
                << "key ids " << keys[i].id << " and " << keys[j].id;
        }

    // Places in dialog units: the corners, the wide and the tall keys.
    const std::vector<std::tuple<int, int, int, int, int>> places = {
        {110, 0, 0, 24, 24},    {0, 456, 0, 96, 24},     {126, 420, 0, 24, 24},
        {15, 312, 30, 48, 24},  {105, 528, 30, 24, 24},  {16, 0, 54, 36, 24},
        {29, 324, 54, 36, 24},  {106, 528, 54, 24, 48},  {30, 0, 78, 44, 24},
        {41, 284, 78, 24, 24},  {43, 308, 78, 52, 24},   {44, 0, 102, 52, 24},
        {57, 292, 102, 68, 24}, {83, 396, 102, 24, 24},  {108, 528, 102, 24, 48},
        {58, 0, 126, 32, 24},   {61, 96, 126, 136, 24},  {64, 328, 126, 32, 24},
        {99, 456, 126, 48, 24}, {104, 504, 126, 24, 24},
    };
    for (const auto& [key, x, y, width, height] : places)
        EXPECT_TRUE(
            same_rect(dialog_units(dialog, x, y, width, height), control_rect(dialog, key_id(key))))
            << "key " << key;
}

TEST_F(SelectKeyTest, KeyOnlyVariantShowsTheDrawnKeyboard) {
    DialogScript user;
    user.then(kSelectKey,
              [](HWND dialog) {
                  expect_drawn_keyboard(dialog);
                  RECT client;
                  GetClientRect(dialog, &client);
                  EXPECT_TRUE(same_rect(dialog_units(dialog, 0, 0, 552, 150), client));
                  EXPECT_FALSE(GetDlgItem(dialog, IDC_STEP_MAKE));
                  EXPECT_FALSE(GetDlgItem(dialog, IDC_STEP_DELAY));
                  return true;
              })
        .then(kSelectKey, press(VK_ESCAPE));
    EXPECT_EQ(-1, select_key(owner.handle(), 0));
    EXPECT_TRUE(user.finished());
}

TEST_F(SelectKeyTest, MacroStepVariantAddsMakeBreakAndDelayAfterTheKeys) {
    DialogScript user;
    user.then(kSelectKey,
              [](HWND dialog) {
                  expect_drawn_keyboard(dialog);
                  RECT client;
                  GetClientRect(dialog, &client);
                  EXPECT_TRUE(same_rect(dialog_units(dialog, 0, 0, 552, 175), client));
                  const std::vector<Child> children = children_of(dialog);
                  EXPECT_EQ(108u, children.size());
                  const std::vector<std::tuple<int, int, int, int, int>> extras = {
                      {IDC_STEP_MAKE, 0, 155, 64, 10},
                      {IDC_STEP_BREAK, 0, 165, 64, 10},
                      {IDC_STEP_DELAY, 226, 155, 100, 20}};
                  for (size_t i = 0; i < extras.size() && 105 + i < children.size(); ++i) {
                      const auto& [id, x, y, width, height] = extras[i];
                      EXPECT_EQ(id, children[105 + i].id);
                      EXPECT_TRUE(same_rect(dialog_units(dialog, x, y, width, height),
                                            children[105 + i].rect));
                  }
                  EXPECT_EQ("Make", item_text(dialog, IDC_STEP_MAKE));
                  EXPECT_EQ("Break", item_text(dialog, IDC_STEP_BREAK));
                  EXPECT_EQ("Delay", item_text(dialog, IDC_STEP_DELAY));
                  return true;
              })
        .then(kSelectKey, press(VK_ESCAPE));
    EXPECT_EQ(-1, select_macro_step(owner.handle(), 0, false, true));
    EXPECT_TRUE(user.finished());
}

// The key-only variant opens on the cell's key; anything without a button opens on
// "Not Used", and Enter at once confirms the starting button.
TEST_F(SelectKeyTest, KeyOnlyVariantStartsOnTheCellsKey) {
    const std::vector<std::pair<int, int>> cases = {
        {0, 0},    {31, 31}, {126, 126}, {110, 110}, // keys
        {0x85, 0}, {128, 0}, {0xFF, 0},              // macro codes and the break flag
        {14, 0},   {111, 0}, {127, 0},   {383, 0},   // numbers without a button
    };
    for (const auto& [code, key] : cases) {
        SCOPED_TRACE(code);
        DialogScript user;
        user.then(kSelectKey, expect_start_on(key_id(key))).then(kSelectKey, press(VK_RETURN));
        EXPECT_EQ(key, select_key(owner.handle(), code));
        EXPECT_TRUE(user.finished());
    }
}

TEST_F(SelectKeyTest, MacroStepVariantStartsOnTheStepsKeyAndKind) {
    struct Case {
        int value;
        bool preselect_break;
        int start_id;
        int result;
    };
    const std::vector<Case> cases = {
        {0, false, key_id(0), 0},
        {0, true, key_id(0), 0}, // "Not Used" never carries the break flag
        {31, false, key_id(31), 31},
        {0x80 + 31, true, key_id(31), 0x80 + 31},
        {0x80 + 31, false, key_id(31), 31}, // the kind shown is the editor's choice
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        DialogScript user;
        user.then(kSelectKey,
                  [&](HWND dialog) {
                      if (!expect_start_on(c.start_id)(dialog)) return false;
                      EXPECT_EQ(c.preselect_break ? BST_UNCHECKED : BST_CHECKED,
                                IsDlgButtonChecked(dialog, IDC_STEP_MAKE));
                      EXPECT_EQ(c.preselect_break ? BST_CHECKED : BST_UNCHECKED,
                                IsDlgButtonChecked(dialog, IDC_STEP_BREAK));
                      return true;
                  })
            .then(kSelectKey, press(VK_RETURN));
        EXPECT_EQ(c.result, select_macro_step(owner.handle(), c.value, c.preselect_break, true));
        EXPECT_TRUE(user.finished());
    }
}

TEST_F(SelectKeyTest, DelayStepStartsOnTheDelayButton) {
    DialogScript user;
    user.then(kSelectKey, expect_start_on(IDC_STEP_DELAY))
        .then(kSelectKey, press(VK_RETURN))
        .then(kDelay, [](HWND dialog) {
            type_text(dialog, IDC_NUMBER_FIELD, "100");
            click(dialog, IDC_NUMBER_OK);
            return true;
        });
    EXPECT_EQ(10 * 256 + 127, select_macro_step(owner.handle(), 25 * 256 + 127, false, true));
    EXPECT_TRUE(user.finished());
}

// With the Delay button disabled the focus is put on Break, before it, and the Tab passes
// over the disabled button and wraps round to Esc, which Enter then takes with Break.
TEST_F(SelectKeyTest, DelayStepWithoutDelayWrapsToEsc) {
    DialogScript user;
    user.then(kSelectKey,
              [](HWND dialog) {
                  if (!expect_start_on(key_id(110))(dialog)) return false;
                  EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, IDC_STEP_DELAY)));
                  return true;
              })
        .then(kSelectKey, press(VK_RETURN));
    EXPECT_EQ(0x80 + 110, select_macro_step(owner.handle(), 127, true, false));
    EXPECT_TRUE(user.finished());
}

TEST_F(SelectKeyTest, BreakAddsTheBreakFlagToKeysButNotToNotUsed) {
    const std::vector<std::tuple<std::vector<int>, int, int>> cases = {
        {{IDC_STEP_BREAK}, key_id(17), 0x80 + 17},
        {{IDC_STEP_BREAK}, key_id(0), 0},
        {{IDC_STEP_BREAK, IDC_STEP_MAKE}, key_id(17), 17},
        {{}, key_id(17), 17},
    };
    for (const auto& [radios, key, result] : cases) {
        SCOPED_TRACE(result);
        DialogScript user;
        for (int radio : radios) {
            user.then(kSelectKey, click_on(radio));
            user.then(kSelectKey, [radio](HWND dialog) {
                if (IsDlgButtonChecked(dialog, radio) != BST_CHECKED) return false;
                EXPECT_EQ(BST_UNCHECKED,
                          IsDlgButtonChecked(dialog, IDC_STEP_MAKE + IDC_STEP_BREAK - radio));
                return true;
            });
        }
        user.then(kSelectKey, click_on(key));
        EXPECT_EQ(result, select_macro_step(owner.handle(), 0, false, true));
        EXPECT_TRUE(user.finished());
    }
}

// Milliseconds typed into Delay become 10 ms units, from 10 ms up to 2560 ms (count 0).
TEST_F(SelectKeyTest, DelayEntriesBecomeDelaySteps) {
    const std::vector<std::pair<std::string, int>> cases = {
        {"5", 1 * 256 + 127},      {"100", 10 * 256 + 127}, {"109", 10 * 256 + 127},
        {"2550", 255 * 256 + 127}, {"2560", 127},           {"9999", 127},
        {"", 1 * 256 + 127},       {"99999999999999", 127},
    };
    for (const auto& [typed, result] : cases) {
        SCOPED_TRACE(typed);
        DialogScript user;
        user.then(kSelectKey, click_on(IDC_STEP_DELAY)).then(kDelay, [typed = typed](HWND dialog) {
            type_text(dialog, IDC_NUMBER_FIELD, typed);
            click(dialog, IDC_NUMBER_OK);
            return true;
        });
        EXPECT_EQ(result, select_macro_step(owner.handle(), 0, false, true));
        EXPECT_TRUE(user.finished());
    }
}

TEST_F(SelectKeyTest, CancelledDelayKeepsTheDialogOpen) {
    DialogScript user;
    user.then(kSelectKey, click_on(IDC_STEP_BREAK))
        .then(kSelectKey, click_on(IDC_STEP_DELAY))
        .then(kDelay, click_on(IDC_NUMBER_CANCEL))
        .then(kSelectKey, [](HWND dialog) {
            EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dialog, IDC_STEP_BREAK));
            click(dialog, key_id(31));
            return true;
        });
    EXPECT_EQ(0x80 + 31, select_macro_step(owner.handle(), 0, false, true));
    EXPECT_TRUE(user.finished());
}

TEST_F(SelectKeyTest, EscAndTheCloseBoxCancel) {
    for (bool macro_step : {false, true}) {
        DialogScript escape;
        escape.then(kSelectKey, expect_start_on(key_id(31))).then(kSelectKey, press(VK_ESCAPE));
        EXPECT_EQ(-1, macro_step ? select_macro_step(owner.handle(), 31, false, true)
                                 : select_key(owner.handle(), 31));
        EXPECT_TRUE(escape.finished());

        DialogScript close_box;
        close_box.then(kSelectKey, [](HWND dialog) {
            PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
            return true;
        });
        EXPECT_EQ(-1, macro_step ? select_macro_step(owner.handle(), 31, false, true)
                                 : select_key(owner.handle(), 31));
        EXPECT_TRUE(close_box.finished());
    }
}

} // namespace
