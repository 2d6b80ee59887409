// Captions of cells and macro steps as the window program's buttons show them, and the
// number fields' reading.
#include <gtest/gtest.h>

#include <climits>

#include "edit/captions.h"
#include "edit/number_entry.h"
#include "tests/config/test_support.h"

namespace zq70::edit {
namespace {

TEST(Captions, CellsInBothModes) {
    Configuration config = test::default_configuration();
    config.macros[0].steps[0] = make_step(58);
    config.macros[0].steps[3] = make_step(26); // after gaps: still the second step shown
    config.macros[0].steps[17] = break_step(26);
    config.macros[1].steps[20] = delay_step(5);
    EXPECT_EQ(key_caption(config, macro_code_of_slot(0)), "Macro\n(L Ctrl, P, ...)");
    EXPECT_EQ(key_caption(config, macro_code_of_slot(1)), "Macro\n(Delay)");
    EXPECT_EQ(key_caption(config, macro_code_of_slot(2)), "Macro\n()");
    EXPECT_EQ(key_caption(config, 43), "Enter");
    EXPECT_EQ(key_caption(config, 128), "Not Used");

    config.switches_keypad_to = kSwitchesToRs232;
    EXPECT_EQ(key_caption(config, 9), "9\n0x09");
    EXPECT_EQ(key_caption(config, 255), "255\n0xff");
    EXPECT_EQ(key_caption(config, 240), "Not Used");
    EXPECT_EQ(key_caption(config, macro_code_of_slot(0)), "129\n0x81");
}

TEST(Captions, Steps) {
    EXPECT_EQ(step_caption(0), "Not Used");
    EXPECT_EQ(step_caption(make_step(15)), "Make\nBksp");
    EXPECT_EQ(step_caption(break_step(58)), "Break\nL Ctrl");
    EXPECT_EQ(step_caption(delay_step(25)), "Delay\n250ms");
    EXPECT_EQ(step_caption(delay_step(0)), "Delay\n2560ms");
    EXPECT_EQ(step_label(0), "Step 1");
    EXPECT_EQ(step_label(15), "Step 16");
}

TEST(Captions, MemoryRemaining) {
    Configuration config = test::default_configuration();
    EXPECT_EQ(memory_remaining_caption(config), "Macro memory remaining: 336");
    config.macros[0].in_use = 1;
    config.macros[0].steps[0] = make_step(30);
    EXPECT_EQ(memory_remaining_caption(config), "Macro memory remaining: 333");
}

TEST(NumberEntry, ReadsDigitsAndSaturates) {
    EXPECT_EQ(entry_number("250"), 250);
    EXPECT_EQ(entry_number("  65 "), 65);
    EXPECT_EQ(entry_number(""), 0);
    EXPECT_EQ(entry_number("   "), 0);
    EXPECT_EQ(entry_number("12a"), 0);
    EXPECT_EQ(entry_number("-5"), 0);
    EXPECT_EQ(entry_number("1 2"), 0);
    EXPECT_EQ(entry_number("2147483647"), INT_MAX);
    EXPECT_EQ(entry_number("99999999999999999999"), INT_MAX) << "never wraps to a cancel";
}

} // namespace
} // namespace zq70::edit
