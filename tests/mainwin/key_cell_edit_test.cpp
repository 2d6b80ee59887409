// Key cell editing through the real main window: a click or Enter on a cell opens the
// dialog that fits the mode and the Control key, and the cell, the macros and the caption
// follow the answer.
#include <gtest/gtest.h>

#include <cstring>

#include "config/files.h"
#include "config/image.h"
#include "config/macros.h"
#include "main_window_fixture.h"
#include "mainwin/captions.h"
#include "mainwin/grid.h"
#include "res/resource_ids.h"
#include "tests/dialogs/dialog_script.h"

namespace {

using zq70::break_step;
using zq70::cell_index;
using zq70::delay_step;
using zq70::input_index;
using zq70::make_step;

constexpr const char* kMacro = "ZQ70 Macro";
constexpr const char* kSelectKey = "Select a key";
constexpr const char* kKeyCode = "Key Code";
constexpr int kQ = 17;
constexpr int kA = 31;

int key_id(int key) {
    return IDC_KEY_BUTTON_BASE + key;
}
int step_button(int j) {
    return IDC_MACRO_MAKE_STEP_FIRST + j;
}

class KeyCellEditTest : public zq70::testing::MainWindowTest {
  protected:
    // A mouse click on visible cell `button`, with or without the Control key down.
    void click_cell(int button, bool control = false) {
        hold_key(VK_CONTROL, control);
        SendMessageA(main.key_buttons[button], BM_CLICK, 0, 0);
        hold_key(VK_CONTROL, false);
    }

    // Macro `slot` with one make step, in use, run by cell `index`.
    void add_macro(int slot, int key, int index) {
        config().macros[slot].steps[0] = make_step(key);
        config().macros[slot].in_use = 1;
        config().key_codes[index] = zq70::macro_code_of_slot(slot);
        zq70::refresh_captions(main);
    }

    void expect_focus_on(int button) { EXPECT_EQ(main.key_buttons[button], GetFocus()); }

    std::string caption(int button) { return text_of(main.key_buttons[button]); }
};

DialogScript::Action expect_start_then_click(int start_id, int id) {
    return [=](HWND dialog) {
        if (focused_id(dialog) == 0) return false;
        EXPECT_EQ(start_id, focused_id(dialog));
        click(dialog, id);
        return true;
    };
}

TEST_F(KeyCellEditTest, PlainClickGivesTheCellAKey) {
    DialogScript script;
    script.then(kSelectKey, expect_start_then_click(key_id(0), key_id(kQ)));
    click_cell(0);
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(kQ, config().key_codes[0]);
    EXPECT_TRUE(config().modified);
    EXPECT_EQ("Q", caption(0));
    expect_focus_on(0);

    DialogScript again;
    again.then(kSelectKey, expect_start_then_click(key_id(kQ), key_id(15)));
    click_cell(0);
    EXPECT_TRUE(again.finished());
    EXPECT_EQ("Backspace", caption(0));
}

TEST_F(KeyCellEditTest, EnterOnAFocusedCellActsAsAClick) {
    DialogScript script;
    script.then(kSelectKey, expect_start_then_click(key_id(0), key_id(kA)));
    SetFocus(main.key_buttons[3]);
    press_key(VK_RETURN);
    zq70::testing::flush_events(300);
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(kA, config().key_codes[3]);
    expect_focus_on(3);
}

TEST_F(KeyCellEditTest, CancelledSelectionKeepsTheMacro) {
    add_macro(0, kQ, 0);
    DialogScript script;
    script.then(kSelectKey, [](HWND dialog) {
        if (focused_id(dialog) != key_id(0)) return false;
        press_key(VK_ESCAPE);
        return true;
    });
    click_cell(0);
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(0x81, config().key_codes[0]);
    EXPECT_EQ(1, config().macros[0].in_use);
    EXPECT_FALSE(config().modified);
    EXPECT_EQ("Macro\n(Q)", caption(0));
    expect_focus_on(0);
}

// A key replacing a macro gives its slot back: the last macro moves into it and the cells
// that ran the moved macro follow.
TEST_F(KeyCellEditTest, KeyReplacingAMacroReleasesItsSlot) {
    add_macro(0, kQ, cell_index(0, 0));
    add_macro(1, kA, cell_index(0, 1));
    add_macro(2, 15, cell_index(5, 7));
    DialogScript script;
    script.then(kSelectKey, expect_start_then_click(key_id(0), key_id(kA)));
    click_cell(0);
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(kA, config().key_codes[cell_index(0, 0)]);
    EXPECT_EQ(0x82, config().key_codes[cell_index(0, 1)]);
    EXPECT_EQ(0x81, config().key_codes[cell_index(5, 7)]);
    EXPECT_EQ(make_step(15), config().macros[0].steps[0]);
    EXPECT_EQ(0, config().macros[2].in_use);
    EXPECT_EQ("A", caption(0));
    EXPECT_EQ("Macro\n(A)", caption(1));
}

// Ctrl+click on a key cell with a free slot, OK without a step: the cell reads "Not Used".
TEST_F(KeyCellEditTest, EmptyNewMacroLeavesTheCellNotUsed) {
    config().key_codes[2] = kA;
    zq70::refresh_captions(main);
    DialogScript script;
    script.then(kMacro, [](HWND dialog) {
        EXPECT_EQ("Macro memory remaining: 336", item_text(dialog, IDC_MACRO_MEMORY));
        click(dialog, IDC_NUMBER_OK);
        return true;
    });
    click_cell(2, true);
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(0, config().key_codes[2]);
    EXPECT_EQ(0, config().macros[0].in_use);
    EXPECT_TRUE(config().modified); // the cell lost its key
    EXPECT_EQ("Not Used", caption(2));
    expect_focus_on(2);
}

TEST_F(KeyCellEditTest, CtrlClickEditsTheCellsOwnMacro) {
    add_macro(0, kQ, 0);
    add_macro(1, kQ, 1);
    DialogScript script;
    script.then(kMacro, click_on(step_button(1)))
        .then(kSelectKey, click_on(key_id(kA)))
        .then(kMacro, click_on(IDC_NUMBER_OK));
    click_cell(1, true);
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(0x82, config().key_codes[1]);
    EXPECT_EQ(make_step(kA), config().macros[1].steps[1]);
    EXPECT_EQ("Macro\n(Q, A)", caption(1));
    EXPECT_EQ("Macro\n(Q)", caption(0));
    expect_focus_on(1);
}

TEST_F(KeyCellEditTest, CtrlClickWithEverySlotTakenDoesNothing) {
    for (int slot = 0; slot < zq70::kUsableMacroSlots; ++slot) {
        config().macros[slot].steps[0] = make_step(kQ);
        config().macros[slot].in_use = 1;
        config().key_codes[100 + slot] = zq70::macro_code_of_slot(slot);
    }
    config().key_codes[0] = kA;
    config().modified = false;
    const zq70::Configuration before = config();
    DialogScript no_dialog; // any dialog would time the script out
    click_cell(0, true);
    zq70::testing::flush_events(100);
    EXPECT_EQ(0, std::memcmp(&before, &config(), sizeof before));

    // A cell that has a macro still opens its own.
    DialogScript own;
    own.then(kMacro, press(VK_ESCAPE));
    config().key_codes[0] = 0x81 + 126;
    click_cell(0, true);
    EXPECT_TRUE(own.finished());
}

TEST_F(KeyCellEditTest, Rs232CellsTakeARawCodeUpTo255) {
    config().switches_keypad_to = zq70::kSwitchesToRs232;
    std::fill(std::begin(config().key_codes), std::end(config().key_codes), zq70::kRs232NotUsed);
    zq70::refresh_captions(main);
    EXPECT_EQ("Not Used", caption(0));

    DialogScript script;
    script
        .then(kKeyCode,
              [](HWND dialog) {
                  type_text(dialog, IDC_NUMBER_FIELD, "300");
                  click(dialog, IDC_NUMBER_OK);
                  return true;
              })
        .then(kKeyCode,
              [](HWND dialog) {
                  type_text(dialog, IDC_NUMBER_FIELD, "9");
                  click(dialog, IDC_NUMBER_OK);
                  return true;
              })
        .then(kKeyCode, click_on(IDC_NUMBER_CANCEL));
    click_cell(0);
    EXPECT_EQ(255, config().key_codes[0]);
    EXPECT_EQ("255\n0xff", caption(0));
    EXPECT_TRUE(config().modified);
    click_cell(1, true); // the Control key plays no part here
    EXPECT_EQ(9, config().key_codes[1]);
    EXPECT_EQ("9\n0x09", caption(1));
    click_cell(1);
    EXPECT_EQ(9, config().key_codes[1]);
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(0, config().macros[0].in_use);
}

// The visible cell stands for the entry under the scroll positions, in the matrix and in
// the discrete inputs alike.
TEST_F(KeyCellEditTest, ScrolledCellsEditTheirOwnEntry) {
    scroll_columns(main, 3, true);
    scroll_rows(main, 2, true);
    const int button = 1 * main.visible_columns + 2; // visible row 1, column 2
    DialogScript script;
    script.then(kSelectKey, click_on(key_id(kQ)));
    click_cell(button);
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(kQ, config().key_codes[cell_index(3, 5)]);
    EXPECT_EQ("Q", caption(button));

    choose_matrix(4, 4);
    ASSERT_GT(main.visible_inputs, 1);
    scroll_inputs(main, 5, true);
    const int input = main.visible_columns * main.visible_rows + 1;
    DialogScript inputs;
    inputs.then(kSelectKey, click_on(key_id(kA)));
    click_cell(input);
    EXPECT_TRUE(inputs.finished());
    EXPECT_EQ(kA, config().key_codes[input_index(6)]);
    EXPECT_EQ("A", caption(input));
}

// A configuration file in which two cells run the same macro.
std::string shared_macro_file(const zq70::testing::TemporaryFolder& folder) {
    zq70::Configuration config{};
    zq70::reset_configuration(config);
    config.macros[0].steps[0] = make_step(kQ);
    config.macros[0].steps[1] = break_step(kQ);
    config.macros[0].in_use = 1;
    config.key_codes[cell_index(0, 0)] = 0x81;
    config.key_codes[cell_index(1, 1)] = 0x81;
    zq70::DeviceImage image{};
    EXPECT_TRUE(zq70::encode_image(config, image, {}));
    const std::string path = folder.path("shared.zq7");
    EXPECT_TRUE(zq70::write_image_file(path, image));
    return path;
}

TEST_F(KeyCellEditTest, SharedMacroSurvivesAKeyInOneOfItsCells) {
    user.file_names.push_back(shared_macro_file(folder));
    command(IDC_FILE_OPEN);
    ASSERT_EQ(0x81, config().key_codes[cell_index(1, 1)]);

    DialogScript script;
    script.then(kSelectKey, click_on(key_id(kA)));
    click_cell(0);
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(kA, config().key_codes[cell_index(0, 0)]);
    EXPECT_EQ(0x81, config().key_codes[cell_index(1, 1)]);
    EXPECT_EQ(1, config().macros[0].in_use);
    EXPECT_EQ(break_step(kQ), config().macros[0].steps[1]);
    EXPECT_EQ("Macro\n(Q, Q)", caption(main.visible_columns + 1));
}

// Emptied in the editor, a shared macro leaves every cell that ran it "Not Used".
TEST_F(KeyCellEditTest, EmptiedSharedMacroLeavesNoCellBehind) {
    user.file_names.push_back(shared_macro_file(folder));
    command(IDC_FILE_OPEN);
    DialogScript script;
    script.then(kMacro, click_on(step_button(0)))
        .then(kSelectKey, click_on(key_id(0)))
        .then(kMacro, click_on(step_button(1)))
        .then(kSelectKey, click_on(key_id(0)))
        .then(kMacro, click_on(IDC_NUMBER_OK));
    click_cell(main.visible_columns + 1, true);
    EXPECT_TRUE(script.finished());
    EXPECT_EQ(0, config().key_codes[cell_index(0, 0)]);
    EXPECT_EQ(0, config().key_codes[cell_index(1, 1)]);
    EXPECT_EQ(0, config().macros[0].in_use);
    EXPECT_EQ("Not Used", caption(0));
    EXPECT_EQ("Not Used", caption(main.visible_columns + 1));
}

// Built in the editor with a gap, saved, opened again: the same steps, the gap closed.
TEST_F(KeyCellEditTest, MacroSurvivesSaveAndOpen) {
    auto delay_of = [](const char* ms) {
        return [ms](HWND dialog) {
            type_text(dialog, IDC_NUMBER_FIELD, ms);
            click(dialog, IDC_NUMBER_OK);
            return true;
        };
    };
    DialogScript build;
    build.then(kMacro, click_on(step_button(0)))
        .then(kSelectKey, click_on(key_id(kQ)))
        .then(kMacro, click_on(step_button(1)))
        .then(kSelectKey, click_on(IDC_STEP_BREAK))
        .then(kSelectKey, click_on(key_id(kQ)))
        .then(kMacro, click_on(step_button(3))) // after a gap at step 3
        .then(kSelectKey, click_on(IDC_STEP_DELAY))
        .then("Delay", delay_of("100"))
        .then(kMacro, click_on(step_button(8)))
        .then(kSelectKey, click_on(key_id(kA)))
        .then(kMacro, click_on(step_button(9)))
        .then(kSelectKey, click_on(IDC_STEP_DELAY))
        .then("Delay", delay_of("5000"))
        .then(kMacro, click_on(IDC_NUMBER_OK));
    click_cell(0, true);
    ASSERT_TRUE(build.finished());
    EXPECT_EQ(0x81, config().key_codes[0]);

    const std::string path = folder.path("macro.zq7");
    user.file_names.push_back(path);
    command(IDC_FILE_SAVE);
    command(IDC_FILE_NEW);
    ASSERT_EQ(0, config().macros[0].in_use);
    user.file_names.push_back(path);
    command(IDC_FILE_OPEN);
    EXPECT_EQ("Macro\n(Q, Q, ...)", caption(0));

    DialogScript check;
    check
        .then(kMacro,
              [](HWND dialog) {
                  EXPECT_EQ("Make\nQ", item_text(dialog, step_button(0)));
                  EXPECT_EQ("Break\nQ", item_text(dialog, step_button(1)));
                  EXPECT_EQ("Delay\n100ms", item_text(dialog, step_button(2)));
                  EXPECT_EQ("Not Used", item_text(dialog, step_button(3)));
                  EXPECT_EQ("Break\nA", item_text(dialog, step_button(8)));
                  EXPECT_EQ("Delay\n2560ms", item_text(dialog, step_button(9)));
                  EXPECT_EQ("Macro memory remaining: 327", item_text(dialog, IDC_MACRO_MEMORY));
                  return true;
              })
        .then(kMacro, press(VK_ESCAPE));
    click_cell(0, true);
    EXPECT_TRUE(check.finished());
    EXPECT_FALSE(config().modified);
}

} // namespace
