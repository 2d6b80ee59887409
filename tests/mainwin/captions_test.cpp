// Cell captions in both modes and the numbering of the pin labels.
#include "config/key_names.h"
#include "main_window_fixture.h"
#include "mainwin/captions.h"
#include "mainwin/grid.h"

namespace zq70::testing {
namespace {

TEST(KeyCaption, Rs232ShowsTheRawCode) {
    Configuration config{};
    config.switches_keypad_to = kSwitchesToRs232;
    EXPECT_EQ(key_caption(config, 240), "Not Used");
    EXPECT_EQ(key_caption(config, 0), "0\n0x00");
    EXPECT_EQ(key_caption(config, 9), "9\n0x09");
    EXPECT_EQ(key_caption(config, 255), "255\n0xff");
    EXPECT_EQ(key_caption(config, 0x81), "129\n0x81"); // no macros in this mode
}

TEST(KeyCaption, ComputerShowsKeysAndMacros) {
    Configuration config{};
    EXPECT_EQ(key_caption(config, 0), "Not Used");
    EXPECT_EQ(key_caption(config, 128), "Not Used");
    EXPECT_EQ(key_caption(config, 127), "Delay");
    EXPECT_EQ(key_caption(config, 30), key_name(30, false));

    MacroSlot& slot = config.macros[2];
    EXPECT_EQ(key_caption(config, macro_code_of_slot(2)), "Macro\n()");
    slot.steps[20] = break_step(30);
    const std::string first = key_name(30, true);
    EXPECT_EQ(key_caption(config, 0x83), "Macro\n(" + first + ")");
    slot.steps[31] = delay_step(5);
    EXPECT_EQ(key_caption(config, 0x83), "Macro\n(" + first + ", Delay)");
    slot.steps[3] = make_step(44);
    EXPECT_EQ(key_caption(config, 0x83),
              "Macro\n(" + std::string(key_name(44, true)) + ", " + first + ", ...)");
}

using CaptionsTest = MainWindowTest;

TEST_F(CaptionsTest, CellsShowTheirOwnEntryWhileScrolled) {
    choose_matrix(11, 12);
    config().key_codes[cell_index(1, 0)] = 30;
    config().key_codes[cell_index(2, 3)] = 44;
    config().key_codes[input_index(0)] = 127;
    refresh_captions(main);
    const int vc = main.visible_columns;
    EXPECT_EQ(text_of(main.key_buttons[vc]), key_name(30, false));
    EXPECT_EQ(text_of(main.key_buttons[2 * vc + 3]), key_name(44, false));
    EXPECT_EQ(text_of(main.key_buttons[4 * vc]), "Delay");

    scroll_columns(main, 2, true);
    scroll_rows(main, 1, true);
    EXPECT_EQ(text_of(main.key_buttons[vc + 1]), key_name(44, false));
    EXPECT_EQ(text_of(main.key_buttons[0]), "Not Used");
    EXPECT_EQ(text_of(main.pin_labels[0]), "Col 3");
    EXPECT_EQ(selection(main.pin_boxes[0]), config().column_pins[2]);
    EXPECT_EQ(text_of(main.pin_labels[vc]), "Row 2");
    EXPECT_EQ(selection(main.pin_boxes[vc]), config().row_pins[1]);
    EXPECT_EQ(key_code_index(main, vc + 1), cell_index(2, 3));
    EXPECT_EQ(key_code_index(main, 4 * vc), input_index(0));
}

TEST_F(CaptionsTest, Rs232CellsAndInputs) {
    user.answers = {MessageAnswer::Yes};
    SendMessageA(main.window, WM_COMMAND, 1016, 0);
    choose_matrix(0, 0);
    config().key_codes[input_index(9)] = 9;
    scroll_inputs(main, 5, true);
    EXPECT_EQ(text_of(main.key_buttons[4]), "9\n0x09");
    EXPECT_EQ(text_of(main.key_buttons[3]), "Not Used");
    EXPECT_EQ(text_of(main.pin_labels[0]), "Input 6");
    EXPECT_EQ(key_code_index(main, 4), input_index(9));
}

} // namespace
} // namespace zq70::testing
