// The macro editor on a real Configuration: memory accounting and the graying it drives,
// scrolling, the kind preselected for a step, captions, OK and cancel.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>

#include "config/configuration.h"
#include "config/macros.h"
#include "dialog_script.h"
#include "dialogs/dialogs.h"
#include "res/resource_ids.h"

namespace {

using zq70::break_step;
using zq70::delay_step;
using zq70::make_step;

constexpr const char* kMacro = "ZQ70 Macro";
constexpr const char* kSelectKey = "Select a key";
constexpr int kQ = 17;
constexpr int kA = 31;

int step_button(int j) {
    return IDC_MACRO_MAKE_STEP_FIRST + j;
}
int key_id(int key) {
    return IDC_KEY_BUTTON_BASE + key;
}

// "1" for each enabled step button, make row then break row.
std::string enabled_steps(HWND dialog) {
    std::string mask;
    for (int j = 0; j < 16; ++j)
        mask += IsWindowEnabled(GetDlgItem(dialog, step_button(j))) ? '1' : '0';
    return mask;
}

std::string remaining(int bytes) {
    return "Macro memory remaining: " + std::to_string(bytes);
}

class MacroEditorTest : public ::testing::Test {
  protected:
    MacroEditorTest() { zq70::reset_configuration(config); }

    // Macros in slots 0, 1, ... that take `bytes` of macro memory with key steps only, each
    // run by one matrix cell.
    int fill_other_macros(int bytes) {
        const int wanted = bytes;
        int slot = 0;
        while (bytes > 0) {
            int take = std::min(bytes, 34);
            if (bytes - take > 0 && bytes - take < 3) take -= 3;
            zq70::MacroSlot& macro = config.macros[slot];
            for (int i = 0; i < take - 2; ++i)
                macro.steps[i] = make_step(1 + i % 13);
            macro.in_use = 1;
            config.key_codes[100 + slot] = zq70::macro_code_of_slot(slot);
            bytes -= take;
            ++slot;
        }
        EXPECT_EQ(wanted, zq70::macro_memory_used(config));
        return slot;
    }

    int edit(int slot) {
        backup = config.macros[slot];
        return edit_macro(owner.handle(), config, slot, backup);
    }

    OwnerWindow owner;
    zq70::Configuration config{};
    zq70::MacroSlot backup{};
};

// Checks what "Select a key" offers, then clicks `id` in it (IDCANCEL: presses Esc).
DialogScript::Action pick(int id, int checked_kind = 0, int delay_enabled = -1) {
    return [=](HWND dialog) {
        if (checked_kind) {
            EXPECT_EQ(BST_CHECKED, IsDlgButtonChecked(dialog, checked_kind)) << "kind";
        }
        if (delay_enabled >= 0) {
            EXPECT_EQ(delay_enabled != 0, IsWindowEnabled(GetDlgItem(dialog, IDC_STEP_DELAY)) != 0)
                << "Delay button";
        }
        if (id == IDCANCEL)
            press_key(VK_ESCAPE);
        else
            click(dialog, id);
        return true;
    };
}

DialogScript::Action expect_remaining(int bytes) {
    return [bytes](HWND dialog) {
        EXPECT_EQ(remaining(bytes), item_text(dialog, IDC_MACRO_MEMORY));
        return true;
    };
}

TEST_F(MacroEditorTest, RemainingMemoryCountsKeysDelaysAndTheLengths) {
    DialogScript script;
    script.then(kMacro, expect_remaining(336))
        .then(kMacro, click_on(step_button(0)))
        .then(kSelectKey, pick(key_id(kQ), IDC_STEP_MAKE, 1))
        .then(kMacro, expect_remaining(333))
        .then(kMacro, click_on(step_button(1)))
        .then(kSelectKey, pick(key_id(kA)))
        .then(kMacro, expect_remaining(332))
        .then(kMacro, click_on(step_button(8)))
        .then(kSelectKey, pick(IDC_STEP_DELAY, IDC_STEP_BREAK, 1))
        .then("Delay",
              [](HWND dialog) {
                  type_text(dialog, IDC_NUMBER_FIELD, "100");
                  click(dialog, IDC_NUMBER_OK);
                  return true;
              })
        .then(kMacro, expect_remaining(330))
        .then(kMacro, click_on(IDC_NUMBER_OK));
    EXPECT_EQ(0x81, edit(0));
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(make_step(kQ), config.macros[0].steps[0]);
    EXPECT_EQ(make_step(kA), config.macros[0].steps[1]);
    EXPECT_EQ(delay_step(10), config.macros[0].steps[16]);
    EXPECT_EQ(1, config.macros[0].in_use);
    EXPECT_TRUE(config.modified);
}

// What the steps offer for the memory left: an empty step only when a key step still fits
// (3 bytes for a macro's first step), a delay only when it fits in place of the step's
// value. Memory used elsewhere, the edited macro's steps, the remaining memory shown, the
// enabled step buttons, and for some buttons whether "Select a key" offers Delay.
TEST_F(MacroEditorTest, MemoryLeftDecidesWhatTheStepsOffer) {
    struct Case {
        int others;
        std::vector<std::pair<int, int>> steps; // word, value
        int remaining;
        const char* enabled;
        std::vector<std::pair<int, bool>> delay_offered; // step button, Delay enabled
    };
    const std::vector<Case> cases = {
        {333, {}, 3, "1111111111111111", {{3, false}}},
        {334, {}, 2, "0000000000000000", {}},
        {335, {}, 1, "0000000000000000", {}},
        {331,
         {{0, make_step(kQ)}, {1, make_step(kA)}},
         1,
         "1111111111111111",
         {{2, false}, {1, true}}},
        {330,
         {{0, make_step(kQ)}, {16, delay_step(3)}, {17, break_step(kA)}},
         0,
         "1000000011000000",
         {{0, false}, {8, true}}},
        // More than the macro area, as a damaged file may claim: nothing may grow.
        {334, {{0, make_step(kQ)}}, -1, "1000000000000000", {{0, false}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << c.others << " used elsewhere, remaining " << c.remaining);
        zq70::reset_configuration(config);
        const int slot = fill_other_macros(c.others);
        for (const auto& [word, value] : c.steps)
            config.macros[slot].steps[word] = value;
        config.macros[slot].in_use = !c.steps.empty();
        DialogScript script;
        script.then(kMacro, [&c](HWND dialog) {
            EXPECT_EQ(remaining(c.remaining), item_text(dialog, IDC_MACRO_MEMORY));
            EXPECT_EQ(c.enabled, enabled_steps(dialog));
            return true;
        });
        for (const auto& [button, offered] : c.delay_offered) {
            script.then(kMacro, click_on(step_button(button)));
            script.then(kSelectKey, pick(IDCANCEL, 0, offered));
        }
        script.then(kMacro, press(VK_ESCAPE));
        EXPECT_EQ(-1, edit(slot));
        EXPECT_TRUE(script.finished());
        EXPECT_EQ(!c.steps.empty(), config.macros[slot].in_use != 0);
    }
}

void send_scroll(HWND dialog, int request, int thumb = 0) {
    SendMessageA(dialog, WM_HSCROLL, MAKEWPARAM(request, thumb),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDC_MACRO_SCROLL)));
}

int position(HWND dialog) {
    return GetScrollPos(GetDlgItem(dialog, IDC_MACRO_SCROLL), SB_CTL);
}

TEST_F(MacroEditorTest, ScrollingMovesTheEightColumnsOverSixteenSteps) {
    for (int i = 0; i < 16; ++i) {
        config.macros[0].steps[i] = make_step(kQ + i % 10);
        config.macros[0].steps[16 + i] = break_step(kA + i % 9);
    }
    config.macros[0].in_use = 1;
    DialogScript script;
    script
        .then(kMacro,
              [](HWND dialog) {
                  const std::pair<int, int> moves[] = {
                      {SB_LINERIGHT, 1}, {SB_LINELEFT, 0},  {SB_LINELEFT, 0},  {SB_PAGERIGHT, 7},
                      {SB_PAGERIGHT, 8}, {SB_LINERIGHT, 8}, {SB_PAGELEFT, 1},  {SB_PAGELEFT, 0},
                      {SB_RIGHT, 8},     {SB_LEFT, 0},      {SB_ENDSCROLL, 0},
                  };
                  for (const auto& [request, expected] : moves) {
                      send_scroll(dialog, request);
                      EXPECT_EQ(expected, position(dialog)) << "request " << request;
                      EXPECT_EQ("Step " + std::to_string(expected + 1),
                                item_text(dialog, IDC_MACRO_STEP_LABEL_FIRST));
                  }
                  send_scroll(dialog, SB_THUMBTRACK, 5);
                  EXPECT_EQ(5, position(dialog));
                  send_scroll(dialog, SB_THUMBPOSITION, 12);
                  EXPECT_EQ(8, position(dialog));

                  // Position 8 shows steps 9 to 16 of both rows.
                  EXPECT_EQ("Step 9", item_text(dialog, IDC_MACRO_STEP_LABEL_FIRST));
                  EXPECT_EQ("Step 16", item_text(dialog, IDC_MACRO_STEP_LABEL_FIRST + 7));
                  EXPECT_EQ("Make\nO", item_text(dialog, step_button(0)));   // word 8: key 17 + 8
                  EXPECT_EQ("Make\nY", item_text(dialog, step_button(7)));   // word 15: key 17 + 5
                  EXPECT_EQ("Break\nL", item_text(dialog, step_button(8)));  // word 24: key 31 + 8
                  EXPECT_EQ("Break\nJ", item_text(dialog, step_button(15))); // word 31: key 31 + 6
                  return true;
              })
        .then(kMacro, press(VK_ESCAPE));
    EXPECT_EQ(-1, edit(0));
    EXPECT_TRUE(script.finished());
}

// An empty step preselects its row's kind, a filled one its own, also when scrolled.
TEST_F(MacroEditorTest, SelectKeyOpensWithTheStepsKind) {
    config.macros[0].steps[9] = break_step(kQ); // make row, step 10
    config.macros[0].steps[25] = make_step(kA); // break row, step 10
    config.macros[0].in_use = 1;
    config.key_codes[0] = 0x81;
    DialogScript script;
    script.then(kMacro, click_on(step_button(2)))
        .then(kSelectKey, pick(IDCANCEL, IDC_STEP_MAKE))
        .then(kMacro, click_on(step_button(10)))
        .then(kSelectKey, pick(IDCANCEL, IDC_STEP_BREAK))
        .then(kMacro,
              [](HWND dialog) {
                  send_scroll(dialog, SB_PAGERIGHT);
                  click(dialog, step_button(2)); // word 9
                  return true;
              })
        .then(kSelectKey,
              [](HWND dialog) {
                  if (focused_id(dialog) == 0) return false;
                  EXPECT_EQ(key_id(kQ), focused_id(dialog));
                  return pick(IDCANCEL, IDC_STEP_BREAK)(dialog);
              })
        .then(kMacro, click_on(step_button(10))) // word 25
        .then(kSelectKey, pick(key_id(kQ), IDC_STEP_MAKE))
        .then(kMacro, click_on(IDC_NUMBER_OK));
    EXPECT_EQ(0x81, edit(0));
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(make_step(kQ), config.macros[0].steps[25]);
}

TEST_F(MacroEditorTest, CaptionsNameKindKeyAndDelay) {
    int32_t* steps = config.macros[0].steps;
    steps[0] = make_step(kQ);
    steps[1] = break_step(15);
    steps[2] = delay_step(10);
    steps[3] = delay_step(0);
    steps[4] = make_step(8);
    steps[16 + 3] = delay_step(0);
    steps[16 + 4] = delay_step(255);
    config.macros[0].in_use = 1;
    DialogScript script;
    script
        .then(kMacro,
              [](HWND dialog) {
                  EXPECT_EQ("Make\nQ", item_text(dialog, step_button(0)));
                  EXPECT_EQ("Break\nBksp", item_text(dialog, step_button(1)));
                  EXPECT_EQ("Delay\n100ms", item_text(dialog, step_button(2)));
                  EXPECT_EQ("Delay\n2560ms", item_text(dialog, step_button(3)));
                  EXPECT_EQ("Make\n7 &&", item_text(dialog, step_button(4)));
                  EXPECT_EQ("Not Used", item_text(dialog, step_button(5)));
                  EXPECT_EQ("Not Used", item_text(dialog, step_button(8)));
                  EXPECT_EQ("Delay\n2560ms", item_text(dialog, step_button(11)));
                  EXPECT_EQ("Delay\n2550ms", item_text(dialog, step_button(12)));
                  EXPECT_EQ("When\nInput\nMade", item_text(dialog, IDC_MACRO_MADE_LABEL));
                  EXPECT_EQ("When\nInput\nBreaks", item_text(dialog, IDC_MACRO_BREAKS_LABEL));
                  EXPECT_EQ(step_button(0), focused_id(dialog));
                  return true;
              })
        .then(kMacro, press(VK_ESCAPE));
    EXPECT_EQ(-1, edit(0));
    EXPECT_TRUE(script.finished());
}

// Cancel restores all 33 words, but a step that was stored leaves the configuration
// modified; a new macro cancelled leaves its slot free.
TEST_F(MacroEditorTest, CancelRestoresTheSlot) {
    config.macros[0].steps[0] = make_step(kQ);
    config.macros[0].steps[20] = delay_step(7);
    config.macros[0].in_use = 1;
    config.key_codes[3] = 0x81;
    const zq70::MacroSlot before = config.macros[0];
    DialogScript script;
    script.then(kMacro, click_on(step_button(0)))
        .then(kSelectKey, pick(key_id(0)))
        .then(kMacro, click_on(step_button(9)))
        .then(kSelectKey, pick(key_id(kA)))
        .then(kMacro, [](HWND dialog) {
            PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
            return true;
        });
    EXPECT_EQ(-1, edit(0));
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(0, std::memcmp(&before, &config.macros[0], sizeof before));
    EXPECT_TRUE(config.modified);

    config.modified = false;
    DialogScript fresh;
    fresh.then(kMacro, click_on(step_button(0)))
        .then(kSelectKey, pick(key_id(kQ)))
        .then(kMacro, press(VK_ESCAPE));
    EXPECT_EQ(-1, edit(1));
    EXPECT_TRUE(fresh.finished());
    EXPECT_EQ(0, config.macros[1].in_use);
    EXPECT_EQ(1, zq70::first_free_macro_slot(config));
}

// OK on a macro emptied of its steps: every cell that ran it reads "Not Used" and the last
// macro moves into its slot, with every cell that ran that one renumbered.
TEST_F(MacroEditorTest, OkWithoutStepsReleasesTheSlot) {
    for (int slot = 0; slot < 3; ++slot) {
        config.macros[slot].steps[0] = make_step(kQ + slot);
        config.macros[slot].in_use = 1;
    }
    config.key_codes[zq70::cell_index(0, 0)] = 0x81;
    config.key_codes[zq70::input_index(5)] = 0x81; // shared with a discrete input
    config.key_codes[zq70::cell_index(1, 1)] = 0x82;
    config.key_codes[zq70::cell_index(22, 22)] = 0x83;
    config.key_codes[zq70::input_index(23)] = 0x83;
    const zq70::MacroSlot last = config.macros[2];
    DialogScript script;
    script.then(kMacro, click_on(step_button(0)))
        .then(kSelectKey, pick(key_id(0)))
        .then(kMacro, expect_remaining(336 - 6))
        .then(kMacro, click_on(IDC_NUMBER_OK));
    EXPECT_EQ(0, edit(0));
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(0, std::memcmp(&last, &config.macros[0], sizeof last));
    EXPECT_EQ(0, config.macros[2].in_use);
    EXPECT_EQ(0, config.key_codes[zq70::cell_index(0, 0)]);
    EXPECT_EQ(0, config.key_codes[zq70::input_index(5)]);
    EXPECT_EQ(0x82, config.key_codes[zq70::cell_index(1, 1)]);
    EXPECT_EQ(0x81, config.key_codes[zq70::cell_index(22, 22)]);
    EXPECT_EQ(0x81, config.key_codes[zq70::input_index(23)]);
    EXPECT_EQ(2, zq70::first_free_macro_slot(config));
}

// A gap in a row: the step after it is shown and counted.
TEST_F(MacroEditorTest, StepsAfterAGapCount) {
    DialogScript script;
    script.then(kMacro, click_on(step_button(2)))
        .then(kSelectKey, pick(key_id(kQ)))
        .then(kMacro, expect_remaining(333))
        .then(kMacro, click_on(IDC_NUMBER_OK));
    EXPECT_EQ(0x81, edit(0));
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(make_step(kQ), config.macros[0].steps[2]);
}

} // namespace
