// The three ways a cell gets its code, and the macro slots a replaced macro leaves behind.
#include <gtest/gtest.h>

#include "config/macros.h"
#include "edit/cell_edit.h"
#include "tests/config/test_support.h"
#include "tests/edit/edit_test_support.h"

namespace zq70::edit {
namespace {

TEST(CellEditPath, ByModeAndControlKey) {
    Configuration config = test::default_configuration();
    EXPECT_EQ(cell_edit_path(config, false), CellEditPath::Key);
    EXPECT_EQ(cell_edit_path(config, true), CellEditPath::Macro);
    config.switches_keypad_to = kSwitchesToRs232;
    EXPECT_EQ(cell_edit_path(config, false), CellEditPath::RawCode);
    EXPECT_EQ(cell_edit_path(config, true), CellEditPath::RawCode) << "Control plays no part";
}

TEST(StoreRawCode, SaturatesAt255AndCancelChangesNothing) {
    Configuration config = test::default_configuration();
    config.switches_keypad_to = kSwitchesToRs232;
    store_raw_code(config, 0, 300);
    EXPECT_EQ(config.key_codes[0], 255);
    EXPECT_TRUE(config.modified);
    store_raw_code(config, input_index(23), 0);
    EXPECT_EQ(config.key_codes[input_index(23)], 0);

    const Configuration before = config;
    store_raw_code(config, 0, -1);
    store_raw_code(config, kKeyCodeCount, 65); // no such cell
    store_raw_code(config, -1, 65);
    EXPECT_TRUE(test::same_configuration(before, config));
}

struct MacroCellsTest : ::testing::Test {
    Configuration config = test::default_configuration();
    // Slot `slot` in use with one step, run by the given cells.
    void add_macro(int slot, std::initializer_list<int> cells) {
        config.macros[slot].steps[0] = make_step(20 + slot);
        config.macros[slot].in_use = 1;
        for (int cell : cells)
            config.key_codes[cell] = macro_code_of_slot(slot);
    }
};

TEST_F(MacroCellsTest, AKeyOverAMacroGivesTheSlotBack) {
    add_macro(0, {cell_index(0, 0)});
    add_macro(1, {cell_index(0, 1), input_index(2)});
    store_key(config, cell_index(0, 0), 31);
    EXPECT_EQ(config.key_codes[cell_index(0, 0)], 31);
    EXPECT_TRUE(config.modified);
    // The last slot moved into the freed one, and its cells were renumbered with it.
    EXPECT_EQ(config.macros[0].steps[0], make_step(21));
    EXPECT_EQ(config.key_codes[cell_index(0, 1)], macro_code_of_slot(0));
    EXPECT_EQ(config.key_codes[input_index(2)], macro_code_of_slot(0));
    EXPECT_EQ(first_free_macro_slot(config), 1);
}

TEST_F(MacroCellsTest, ASharedMacroStaysWithTheOtherCells) {
    add_macro(0, {cell_index(2, 2), input_index(0)});
    store_key(config, cell_index(2, 2), 0);
    EXPECT_EQ(config.key_codes[cell_index(2, 2)], 0);
    EXPECT_EQ(config.key_codes[input_index(0)], macro_code_of_slot(0));
    EXPECT_EQ(config.macros[0].in_use, 1);
    clear_cell(config, input_index(0));
    EXPECT_EQ(config.macros[0].in_use, 0) << "the last user gone, the slot is free";
}

TEST_F(MacroCellsTest, CancelledKeyChangesNothing) {
    add_macro(0, {cell_index(0, 0)});
    const Configuration before = config;
    store_key(config, cell_index(0, 0), -1);
    EXPECT_TRUE(test::same_configuration(before, config));
}

TEST_F(MacroCellsTest, MacroSlotOfACell) {
    EXPECT_EQ(macro_slot_for_cell(config, 0), 0) << "a new macro takes the first free slot";
    add_macro(0, {cell_index(0, 0)});
    add_macro(1, {cell_index(0, 1)});
    EXPECT_EQ(macro_slot_for_cell(config, cell_index(0, 1)), 1);
    EXPECT_EQ(macro_slot_for_cell(config, cell_index(5, 5)), 2);
    config.key_codes[7] = 0x80; // names no slot
    EXPECT_EQ(macro_slot_for_cell(config, 7), -1);
    for (int s = 0; s < kUsableMacroSlots; ++s)
        config.macros[s].in_use = 1;
    EXPECT_EQ(macro_slot_for_cell(config, cell_index(5, 5)), -1) << "every slot taken";
    EXPECT_EQ(macro_slot_for_cell(config, cell_index(0, 1)), 1) << "its own slot still opens";
    EXPECT_EQ(macro_slot_for_cell(config, kKeyCodeCount), -1);
}

TEST_F(MacroCellsTest, MacroResultIsAChangeOnlyWhenTheCellChanges) {
    add_macro(0, {cell_index(0, 0)});
    store_macro_result(config, cell_index(0, 0), macro_code_of_slot(0));
    EXPECT_FALSE(config.modified);
    store_macro_result(config, cell_index(0, 0), -1);
    EXPECT_FALSE(config.modified);
    store_macro_result(config, cell_index(0, 1), macro_code_of_slot(0));
    EXPECT_TRUE(config.modified);
    EXPECT_EQ(config.key_codes[cell_index(0, 1)], macro_code_of_slot(0));
}

TEST(ClearCell, NotUsedOfTheMode) {
    Configuration config = test::default_configuration();
    config.key_codes[4] = 30;
    clear_cell(config, 4);
    EXPECT_EQ(config.key_codes[4], kNotUsed);
    config.switches_keypad_to = kSwitchesToRs232;
    config.key_codes[4] = 30;
    clear_cell(config, 4);
    EXPECT_EQ(config.key_codes[4], kRs232NotUsed);
}

} // namespace
} // namespace zq70::edit
