// Menu commands: option groups, Switches/Keypad, the port, the file commands and closing.
#include <cstring>

#include "config/options.h"
#include "main_window_fixture.h"
#include "res/resource_ids.h"

namespace zq70::testing {
namespace {

using OptionsTest = MainWindowTest;

TEST_F(OptionsTest, EveryItemOfEveryGroupMovesTheMarkAndCountsAsAChange) {
    for (const OptionGroup& group : option_groups) {
        if (group.first_command == IDC_SWITCHES_COMPUTER) continue; // asks first, see below
        for (int item = group.item_count - 1; item >= 0; --item) {
            for (int again = 0; again < 2; ++again) {
                config().modified = false;
                if (group.first_command == IDC_KEYBOARD_MAKE_BREAK_FIRST)
                    command(IDC_KEYBOARD_OUTPUT_FIRST + 1); // lets "Make Only" be chosen
                config().modified = false;
                command(group.first_command + item);
                EXPECT_EQ(config().*group.field, item) << group.first_command + item;
                EXPECT_EQ(checked_item(group.first_command, group.item_count), item);
                EXPECT_TRUE(config().modified) << group.first_command + item;
            }
        }
    }
}

TEST_F(OptionsTest, KeyboardOutputDecidesOnMakeOnly) {
    command(1011);
    EXPECT_FALSE(grayed(1014));
    command(1014);
    EXPECT_EQ(config().keyboard_make_break, 1);
    command(1012); // still RS-232: the choice stays
    EXPECT_EQ(config().keyboard_make_break, 1);
    EXPECT_TRUE(checked(1014));
    command(1010);
    EXPECT_EQ(config().keyboard_make_break, 0);
    EXPECT_TRUE(checked(1013));
    EXPECT_FALSE(checked(1014));
    EXPECT_TRUE(grayed(1014));
}

TEST_F(OptionsTest, SwitchesKeypadAsksAndClearsTheTables) {
    config().key_codes[cell_index(0, 0)] = macro_code_of_slot(0);
    config().macros[0].steps[0] = 4;
    config().macros[0].in_use = 1;

    user.answers = {MessageAnswer::No};
    command(IDC_SWITCHES_RS232);
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].caption, "ZQ70 Configuration Utility");
    EXPECT_EQ(user.messages[0].text,
              "Warning! Changing this setting will clear the matrix and\n"
              "discrete key code tables. Are you sure you want to change it?");
    EXPECT_EQ(user.messages[0].icon, MessageIcon::Warning);
    EXPECT_EQ(user.messages[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(config().switches_keypad_to, 0);
    EXPECT_EQ(config().macros[0].in_use, 1);
    EXPECT_TRUE(config().modified);

    user.answers = {MessageAnswer::Yes};
    command(IDC_SWITCHES_RS232);
    EXPECT_EQ(config().switches_keypad_to, 1);
    for (int code : config().key_codes)
        ASSERT_EQ(code, kRs232NotUsed);
    EXPECT_EQ(config().macros[0].in_use, 0);
    EXPECT_EQ(config().macros[0].steps[0], 0);
    EXPECT_EQ(checked_item(1015, 2), 1);
    EXPECT_FALSE(grayed(1018));
    EXPECT_EQ(text_of(main.key_buttons[0]), "Not Used");
    command(1018);
    EXPECT_EQ(config().device_make_break, 1);

    // Already RS-232: no question, but a change all the same.
    config().modified = false;
    command(IDC_SWITCHES_RS232);
    EXPECT_EQ(user.messages.size(), 2u);
    EXPECT_TRUE(config().modified);

    user.answers = {MessageAnswer::Yes};
    command(IDC_SWITCHES_COMPUTER);
    EXPECT_EQ(config().switches_keypad_to, 0);
    EXPECT_EQ(config().device_make_break, 0);
    for (int code : config().key_codes)
        ASSERT_EQ(code, kNotUsed);
    EXPECT_EQ(checked_item(1017, 2), 0);
    EXPECT_TRUE(grayed(1018));
}

TEST_F(OptionsTest, PortChoiceIsRememberedButIsNoChange) {
    command(IDC_PORT_FIRST + 2);
    EXPECT_EQ(session.comm_port, 2);
    EXPECT_EQ(checked_item(IDC_PORT_FIRST, 7), 2);
    EXPECT_EQ(read_file(session.preferences_path), "3");
    EXPECT_FALSE(config().modified);
    command(IDC_PORT_KEYBOARD);
    EXPECT_EQ(checked_item(IDC_PORT_FIRST, 7), 6);
    EXPECT_EQ(read_file(session.preferences_path), "7");
}

using FileCommandsTest = MainWindowTest;

const char* kSaveQuestion =
    "The current configuration has changed.\nDo you want to save the changes?";

TEST_F(FileCommandsTest, NewAsksAboutUnsavedChanges) {
    config().key_codes[5] = 30;
    config().modified = true;
    user.answers = {MessageAnswer::Cancel};
    command(IDC_FILE_NEW);
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].text, kSaveQuestion);
    EXPECT_EQ(user.messages[0].buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(config().key_codes[5], 30);
    EXPECT_TRUE(config().modified);

    user.answers = {MessageAnswer::Yes};
    user.file_names = {std::nullopt};
    command(IDC_FILE_NEW);
    EXPECT_EQ(config().key_codes[5], 30);

    user.answers = {MessageAnswer::No};
    choose(main.rows_box, 20);
    command(IDC_FILE_NEW);
    EXPECT_EQ(config().key_codes[5], 0);
    EXPECT_FALSE(config().modified);
    EXPECT_EQ(selection(main.rows_box), 12);
    EXPECT_EQ(selection(main.columns_box), 12);
    EXPECT_EQ(main.visible_rows, 6);
}

TEST_F(FileCommandsTest, SaveAndOpenRoundTrip) {
    const std::string path = folder.path("saved.zq7");
    choose_matrix(20, 4);
    command(1024); // 1200 baud
    user.file_names = {path};
    command(IDC_FILE_SAVE);
    EXPECT_EQ(user.file_questions.back(), FileQuestion::Save);
    EXPECT_EQ(read_file(path).size(), 512u);
    EXPECT_FALSE(config().modified);

    user.answers = {MessageAnswer::No};
    config().modified = true;
    command(IDC_FILE_NEW);
    user.file_names = {path};
    command(IDC_FILE_OPEN);
    EXPECT_EQ(user.file_questions.back(), FileQuestion::Open);
    EXPECT_EQ(selection(main.rows_box), 20);
    EXPECT_EQ(selection(main.columns_box), 4);
    EXPECT_EQ(text_of(main.discretes_count), "0");
    EXPECT_EQ(main.visible_columns, 4);
    EXPECT_EQ(checked_item(1022, 7), 2);
    EXPECT_FALSE(config().modified);
}

TEST_F(FileCommandsTest, OpenRefusals) {
    user.file_names = {std::nullopt};
    command(IDC_FILE_OPEN); // cancelled: no message
    EXPECT_TRUE(user.messages.empty());

    user.file_names = {folder.path("missing.zq7")};
    user.answers = {MessageAnswer::Ok};
    command(IDC_FILE_OPEN);
    EXPECT_EQ(user.messages.back().text, "Error opening the file");
    EXPECT_EQ(user.messages.back().icon, MessageIcon::Error);

    std::string image(512, '\0');
    image[508] = 3; // columns without rows
    write_file(folder.path("bad.zq7"), image);
    write_file(folder.path("short.zq7"), std::string(100, '\0'));
    for (const char* name : {"bad.zq7", "short.zq7"}) {
        choose(main.rows_box, 11);
        user.file_names = {folder.path(name)};
        user.answers = {MessageAnswer::No, MessageAnswer::Ok};
        command(IDC_FILE_OPEN);
        EXPECT_EQ(user.messages.back().text, "Invalid configuration file") << name;
        EXPECT_EQ(config().rows, 11);
        EXPECT_TRUE(config().modified);
    }
}

TEST_F(FileCommandsTest, SaveRefusals) {
    choose(main.rows_box, 11); // input 1 on pin A, as column 1
    user.answers = {MessageAnswer::Ok};
    command(IDC_FILE_SAVE);
    EXPECT_EQ(user.messages.back().text, "Error: Pin A is used for multiple scan lines");
    EXPECT_TRUE(user.file_questions.empty());
    EXPECT_TRUE(config().modified);

    choose(main.pin_boxes[main.visible_columns + main.visible_rows], 23); // input on X
    // A folder cannot be replaced by a file: the write fails after the file was opened.
    user.file_names = {folder.root};
    user.answers = {MessageAnswer::Ok};
    command(IDC_FILE_SAVE);
    EXPECT_EQ(user.messages.back().text, "Error saving the file");
    EXPECT_TRUE(config().modified);

    const std::string fresh = folder.path("new name.zq7");
    user.file_names = {fresh};
    command(IDC_FILE_SAVE);
    EXPECT_EQ(read_file(fresh).size(), 512u);
    EXPECT_FALSE(config().modified);
}

using ClosingTest = MainWindowTest;

bool quit_posted() {
    MSG message;
    return PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE);
}

TEST_F(ClosingTest, ExitAndCloseAskFirst) {
    for (bool by_menu : {true, false}) {
        SCOPED_TRACE(by_menu ? "Exit" : "WM_CLOSE");
        auto close = [&] {
            if (by_menu)
                command(IDC_FILE_EXIT);
            else
                SendMessageA(main.window, WM_CLOSE, 0, 0);
        };
        config().modified = true;
        user.answers = {MessageAnswer::Cancel};
        close();
        EXPECT_TRUE(IsWindow(main.window));

        user.answers = {MessageAnswer::Yes};
        user.file_names = {std::nullopt};
        close();
        EXPECT_TRUE(IsWindow(main.window));

        user.answers = {MessageAnswer::Yes};
        user.file_names = {folder.path("on exit.zq7")};
        close();
        EXPECT_FALSE(IsWindow(main.window));
        EXPECT_TRUE(quit_posted());
        EXPECT_EQ(read_file(folder.path("on exit.zq7")).size(), 512u);

        stop();
        start();
        config().modified = true;
        user.answers = {MessageAnswer::No};
        close();
        EXPECT_FALSE(IsWindow(main.window));
        stop();
        start();
        close(); // nothing to save: no question
        EXPECT_FALSE(IsWindow(main.window));
        EXPECT_TRUE(quit_posted());
        stop();
        start();
    }
}

TEST_F(ClosingTest, AcceleratorsWorkFromTheGridAndTheLists) {
    hold_key(VK_CONTROL, true);
    auto press = [&](HWND focus, char key) {
        SetFocus(focus);
        ASSERT_EQ(GetFocus(), focus);
        MSG message{};
        message.hwnd = focus;
        message.message = WM_KEYDOWN;
        message.wParam = static_cast<WPARAM>(key);
        message.lParam = 1;
        process_message(main, message);
    };
    config().modified = true;
    user.answers = {MessageAnswer::Cancel};
    press(main.key_buttons[7], 'N');
    EXPECT_EQ(user.messages.size(), 1u);
    user.file_names = {std::nullopt};
    press(main.rows_box, 'S');
    EXPECT_EQ(user.file_questions.size(), 1u);
    user.answers = {MessageAnswer::No};
    user.file_names = {std::nullopt};
    press(main.pin_boxes[3], 'O');
    EXPECT_EQ(user.file_questions.back(), FileQuestion::Open);
    hold_key(VK_CONTROL, false);
}

using TransferGuardTest = MainWindowTest;

TEST_F(TransferGuardTest, NothingChangesWhileATransferRuns) {
    main.transfer_running = true;
    config().modified = false;
    command(IDC_FILE_NEW);
    command(1024);
    command(IDC_PORT_FIRST + 3);
    EXPECT_EQ(config().baud_rate, 5);
    EXPECT_EQ(session.comm_port, 0);
    choose(main.rows_box, 3);
    EXPECT_EQ(config().rows, 12);
    EXPECT_EQ(selection(main.rows_box), 12);
    choose(main.pin_boxes[0], 9);
    EXPECT_EQ(config().column_pins[0], 0);
    EXPECT_EQ(selection(main.pin_boxes[0]), 0);
    EXPECT_FALSE(config().modified);

    SendMessageA(main.window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(IsWindow(main.window));
    end_transfer(main);
    flush_events();
    EXPECT_FALSE(IsWindow(main.window));
}

} // namespace
} // namespace zq70::testing
