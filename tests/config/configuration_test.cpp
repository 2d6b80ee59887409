#include <gtest/gtest.h>

#include "config/options.h"
#include "test_support.h"

namespace zq70 {
namespace {

using test::ScriptedUser;

TEST(Configuration, ResetGivesTheStartUpConfiguration) {
    Configuration config{};
    config.key_codes[17] = 99;
    config.key_codes[input_index(23)] = 240;
    config.macros[127].steps[5] = 7;
    config.macros[3].in_use = 1;
    config.switches_keypad_to = kSwitchesToRs232;
    config.modified = true;
    reset_configuration(config);

    EXPECT_EQ(config.rows, 12);
    EXPECT_EQ(config.columns, 12);
    EXPECT_EQ(input_count(config), 0);
    const int columns[kMaxLines] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,  10, 11,
                                    23, 22, 21, 20, 19, 18, 17, 16, 15, 14, 13};
    const int rows[kMaxLines] = {12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23,
                                 11, 10, 9,  8,  7,  6,  5,  4,  3,  2,  1};
    for (int i = 0; i < kMaxLines; ++i) {
        EXPECT_EQ(config.column_pins[i], columns[i]) << i;
        EXPECT_EQ(config.row_pins[i], rows[i]) << i;
    }
    for (int i = 0; i < kPinCount; ++i)
        EXPECT_EQ(config.input_pins[i], i);
    for (int code : config.key_codes)
        ASSERT_EQ(code, 0);
    for (const MacroSlot& slot : config.macros) {
        for (int word : slot.steps)
            ASSERT_EQ(word, 0);
        ASSERT_EQ(slot.in_use, 0);
    }
    EXPECT_EQ(config.keyboard_output, 0);
    EXPECT_EQ(config.keyboard_make_break, 0);
    EXPECT_EQ(config.switches_keypad_to, 0);
    EXPECT_EQ(config.device_make_break, 0);
    EXPECT_EQ(config.rs232_to_computer, 0);
    EXPECT_EQ(config.baud_rate, 5);
    EXPECT_EQ(config.computer_type, 0);
    EXPECT_EQ(config.typematic_function, 0);
    EXPECT_EQ(config.typematic_delay, 1);
    EXPECT_EQ(config.typematic_interval, 20);
    EXPECT_FALSE(keyboard_make_only_enabled(config));
    EXPECT_FALSE(device_make_only_enabled(config));
    EXPECT_FALSE(config.modified);
}

TEST(Configuration, EverySplitOfTheDefaultPinsUsesTwentyFourPins) {
    const Configuration config = test::default_configuration();
    for (int columns = 1; columns < kPinCount; ++columns) {
        const int rows = kPinCount - columns;
        bool used[kPinCount] = {};
        for (int c = 0; c < columns; ++c)
            used[config.column_pins[c]] = true;
        for (int r = 0; r < rows; ++r)
            used[config.row_pins[r]] = true;
        for (int pin = 0; pin < kPinCount; ++pin)
            EXPECT_TRUE(used[pin]) << columns;
    }
}

TEST(Options, GroupsFollowTheMenu) {
    struct Expected {
        int32_t Configuration::*field;
        int first;
        int count;
    };
    const Expected expected[kOptionGroupCount] = {
        {&Configuration::keyboard_output, 1010, 3},
        {&Configuration::keyboard_make_break, 1013, 2},
        {&Configuration::switches_keypad_to, 1015, 2},
        {&Configuration::device_make_break, 1017, 2},
        {&Configuration::rs232_to_computer, 1019, 3},
        {&Configuration::baud_rate, 1022, 7},
        {&Configuration::computer_type, 1029, 2},
        {&Configuration::typematic_function, 1031, 2},
        {&Configuration::typematic_delay, 1033, 4},
        {&Configuration::typematic_interval, 1037, 32},
    };
    for (int g = 0; g < kOptionGroupCount; ++g) {
        EXPECT_TRUE(option_groups[g].field == expected[g].field) << g;
        EXPECT_EQ(option_groups[g].first_command, expected[g].first) << g;
        EXPECT_EQ(option_groups[g].item_count, expected[g].count) << g;
    }
    // Every command of the Options menu belongs to exactly its group, nothing around them.
    EXPECT_EQ(option_group_of_command(1009), nullptr);
    EXPECT_EQ(option_group_of_command(1069), nullptr);
    EXPECT_EQ(option_group_of_command(1070), nullptr);
    for (int g = 0; g < kOptionGroupCount; ++g) {
        const OptionGroup& group = option_groups[g];
        for (int i = 0; i < group.item_count; ++i)
            EXPECT_EQ(option_group_of_command(group.first_command + i), &group);
    }
    EXPECT_EQ(option_group_of_command(kKeyboardMakeOnlyCommand), &option_groups[1]);
    EXPECT_EQ(option_group_of_command(kDeviceMakeOnlyCommand), &option_groups[3]);
}

struct NewConfigurationTest : ::testing::Test {
    ScriptedUser user;
    Session session;
    int options_shown = 0, counts_shown = 0, grids_shown = 0;
    std::string order;

    void SetUp() override {
        session.ui = user.seam();
        session.view.show_options = [this] { order += 'o'; };
        session.view.show_counts = [this] { order += 'c'; };
        session.view.show_grid = [this] { order += 'g'; };
        reset_configuration(session.config);
        session.comm_port = 4;
        session.config.key_codes[5] = 44;
        session.config.switches_keypad_to = kSwitchesToRs232;
    }
};

TEST_F(NewConfigurationTest, UnmodifiedResetsWithoutAskingAndKeepsThePort) {
    EXPECT_TRUE(new_configuration(session));
    EXPECT_TRUE(user.messages.empty());
    EXPECT_EQ(session.config.key_codes[5], 0);
    EXPECT_EQ(session.config.switches_keypad_to, kSwitchesToComputer);
    EXPECT_EQ(session.comm_port, 4);
    EXPECT_EQ(order, "ocg");
}

TEST_F(NewConfigurationTest, CancelChangesNothing) {
    session.config.modified = true;
    user.answers = {MessageAnswer::Cancel};
    EXPECT_FALSE(new_configuration(session));
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].text,
              "The current configuration has changed.\nDo you want to save the changes?");
    EXPECT_EQ(user.messages[0].caption, "ZQ70 Configuration Utility");
    EXPECT_EQ(user.messages[0].icon, MessageIcon::Question);
    EXPECT_EQ(user.messages[0].buttons, MessageButtons::YesNoCancel);
    EXPECT_TRUE(session.config.modified);
    EXPECT_EQ(session.config.key_codes[5], 44);
    EXPECT_EQ(order, "");
}

TEST_F(NewConfigurationTest, NoDropsTheChanges) {
    session.config.modified = true;
    user.answers = {MessageAnswer::No};
    EXPECT_TRUE(new_configuration(session));
    EXPECT_FALSE(session.config.modified);
    EXPECT_EQ(session.config.key_codes[5], 0);
    EXPECT_TRUE(user.file_questions.empty());
}

TEST_F(NewConfigurationTest, YesWithCancelledSaveDialogStops) {
    session.config.modified = true;
    user.answers = {MessageAnswer::Yes};
    user.file_names = {""};
    EXPECT_FALSE(new_configuration(session));
    EXPECT_EQ(user.file_questions, std::vector<FileQuestion>{FileQuestion::Save});
    EXPECT_TRUE(session.config.modified);
    EXPECT_EQ(session.config.key_codes[5], 44);
}

TEST_F(NewConfigurationTest, YesSavesThenResets) {
    test::TemporaryFolder folder;
    session.config.modified = true;
    user.answers = {MessageAnswer::Yes};
    user.file_names = {folder.path("before-new.cfg")};
    EXPECT_TRUE(new_configuration(session));
    EXPECT_EQ(test::read_all(folder.path("before-new.cfg")).size(), 512u);
    EXPECT_EQ(session.config.key_codes[5], 0);
    EXPECT_EQ(order, "ocg");
}

TEST(UserInterface, AnEmptySeamNeverAgreesToAQuestion) {
    const UserInterface nobody;
    EXPECT_EQ(show_message(nobody, "x", MessageIcon::Error), MessageAnswer::Ok);
    EXPECT_EQ(show_message(nobody, "x", MessageIcon::Question, MessageButtons::YesNo),
              MessageAnswer::Cancel);
    EXPECT_EQ(show_message(nobody, "x", MessageIcon::Question, MessageButtons::YesNoCancel),
              MessageAnswer::Cancel);

    Session session;
    reset_configuration(session.config);
    session.config.modified = true;
    session.config.key_codes[0] = 9;
    EXPECT_FALSE(new_configuration(session));
    EXPECT_EQ(session.config.key_codes[0], 9);
}

// The captions of the Options menu read both ways: what zq70cfg and the web page write
// for an option is what they read back.
TEST(Options, CaptionsAndItemsReadBothWays) {
    for (const OptionGroup& group : option_groups) {
        SCOPED_TRACE(group.caption);
        EXPECT_EQ(option_of_caption(group.caption), &group);
        for (int v = 0; v < group.item_count; ++v)
            EXPECT_EQ(option_value(group, option_item(group, v)), v);
    }
    EXPECT_STREQ(option_item(option_groups[5], 5), "9600");
    EXPECT_EQ(option_item(option_groups[5], 7), nullptr);
    EXPECT_STREQ(option_item(option_groups[9], 31), "30.0");
    EXPECT_EQ(option_value(option_groups[9], "10.90"), -1);
    EXPECT_EQ(option_of_caption("baud rate setting"), nullptr);
}

} // namespace
} // namespace zq70
