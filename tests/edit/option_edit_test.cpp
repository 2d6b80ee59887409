// Options and their side effects: Make Only under a computer output, and the Switches/Keypad
// change that clears the tables.
#include <gtest/gtest.h>

#include <stdexcept>

#include "config/macros.h"
#include "edit/option_edit.h"
#include "tests/config/test_support.h"
#include "tests/edit/edit_test_support.h"

namespace zq70::edit {
namespace {

const OptionGroup& option(int32_t Configuration::*field) {
    for (const OptionGroup& group : option_groups) {
        if (group.field == field) return group;
    }
    throw std::logic_error("no such option");
}

TEST(ChooseOption, StoresEveryItemOfEveryGroup) {
    for (const OptionGroup& group : option_groups) {
        if (group.field == &Configuration::switches_keypad_to) continue;
        for (int value = 0; value < group.item_count; ++value) {
            Configuration config = test::default_configuration();
            EXPECT_TRUE(choose_option(config, group, value));
            EXPECT_EQ(config.*group.field, value) << group.caption;
            EXPECT_TRUE(config.modified);
        }
        Configuration config = test::default_configuration();
        const Configuration before = config;
        EXPECT_FALSE(choose_option(config, group, group.item_count)) << group.caption;
        EXPECT_FALSE(choose_option(config, group, -1)) << group.caption;
        EXPECT_TRUE(test::same_configuration(before, config));
    }
}

TEST(ChooseOption, OutputToTheComputerCannotBeMakeOnly) {
    Configuration config = test::default_configuration();
    choose_option(config, option(&Configuration::keyboard_output), 1);
    choose_option(config, option(&Configuration::keyboard_make_break), 1);
    EXPECT_EQ(config.keyboard_make_break, 1);
    choose_option(config, option(&Configuration::keyboard_output), 2);
    EXPECT_EQ(config.keyboard_make_break, 1) << "RS-232 items leave the choice alone";
    choose_option(config, option(&Configuration::keyboard_output), 0);
    EXPECT_EQ(config.keyboard_make_break, 0);
    EXPECT_FALSE(keyboard_make_only_enabled(config));
}

struct SwitchesTest : ::testing::Test {
    Configuration config = test::default_configuration();
    void SetUp() override {
        config.key_codes[cell_index(1, 1)] = 30;
        config.key_codes[input_index(3)] = macro_code_of_slot(0);
        config.macros[0].steps[0] = make_step(30);
        config.macros[0].in_use = 1;
    }
};

TEST_F(SwitchesTest, TheSameModeAsksNothingButCountsAsAChange) {
    const Configuration before = config;
    EXPECT_FALSE(choose_switches_keypad(config, kSwitchesToComputer));
    EXPECT_TRUE(config.modified);
    config.modified = false;
    EXPECT_TRUE(test::same_configuration(before, config)) << "nothing else changed";
}

TEST_F(SwitchesTest, ToRs232EveryCodeIs240AndNoMacroRemains) {
    EXPECT_TRUE(choose_switches_keypad(config, kSwitchesToRs232));
    EXPECT_EQ(config.switches_keypad_to, kSwitchesToComputer) << "nothing before the answer";
    config.device_make_break = 1; // a value from a file; RS-232 keeps it
    EXPECT_TRUE(set_switches_keypad(config, kSwitchesToRs232));
    for (int code : config.key_codes)
        ASSERT_EQ(code, kRs232NotUsed);
    EXPECT_EQ(first_free_macro_slot(config), 0);
    EXPECT_EQ(config.macros[0].steps[0], 0);
    EXPECT_EQ(config.device_make_break, 1);
    EXPECT_TRUE(device_make_only_enabled(config));
}

TEST_F(SwitchesTest, BackToComputerEveryCodeIs0AndMakeBreakReturns) {
    set_switches_keypad(config, kSwitchesToRs232);
    config.device_make_break = 1;
    config.key_codes[5] = 77;
    EXPECT_TRUE(choose_switches_keypad(config, kSwitchesToComputer));
    set_switches_keypad(config, kSwitchesToComputer);
    for (int code : config.key_codes)
        ASSERT_EQ(code, kNotUsed);
    EXPECT_EQ(config.device_make_break, 0);
}

TEST_F(SwitchesTest, NoOtherModeExists) {
    const Configuration before = config;
    EXPECT_FALSE(choose_switches_keypad(config, 2));
    EXPECT_FALSE(set_switches_keypad(config, 2));
    config.modified = false;
    EXPECT_TRUE(test::same_configuration(before, config));
}

} // namespace
} // namespace zq70::edit
