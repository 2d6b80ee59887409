// Row and column counts and pins as the user sets them.
#include <gtest/gtest.h>

#include "edit/layout_edit.h"
#include "tests/config/test_support.h"
#include "tests/edit/edit_test_support.h"

namespace zq70::edit {
namespace {

struct CountCase {
    CountList list;
    int chosen;
    int rows_before, columns_before;
    int rows_after, columns_after;
};

TEST(ChooseCount, TheChosenListKeepsItsChoiceAndTheOtherFollows) {
    const CountCase cases[] = {
        // Rows 0 while columns are 5: no matrix at all, 24 inputs.
        {CountList::Rows, 0, 4, 5, 0, 0},
        // Rows 3 without columns: a matrix needs a column.
        {CountList::Rows, 3, 0, 0, 3, 1},
        // Columns 10 while rows are 20: rows give way to stay within 24 pins.
        {CountList::Columns, 10, 20, 2, 14, 10},
        {CountList::Columns, 0, 7, 7, 0, 0},
        {CountList::Columns, 23, 12, 12, 1, 23},
        {CountList::Rows, 23, 0, 0, 23, 1},
        {CountList::Rows, 12, 12, 12, 12, 12},
    };
    for (const CountCase& c : cases) {
        Configuration config = test::default_configuration();
        config.rows = c.rows_before;
        config.columns = c.columns_before;
        EXPECT_TRUE(choose_count(config, c.list, c.chosen));
        EXPECT_EQ(config.rows, c.rows_after) << c.chosen;
        EXPECT_EQ(config.columns, c.columns_after) << c.chosen;
        EXPECT_TRUE(config.modified) << "every selection counts as a change, even of nothing";
        EXPECT_GE(input_count(config), 0);
    }
}

TEST(ChooseCount, KeepsTheCodesOfCellsThatFallOutside) {
    Configuration config = test::default_configuration();
    config.key_codes[cell_index(15, 3)] = 30;
    choose_count(config, CountList::Rows, 2);
    choose_count(config, CountList::Rows, 16);
    EXPECT_EQ(config.key_codes[cell_index(15, 3)], 30);
}

TEST(ChooseCount, RefusesCountsNoListHas) {
    Configuration config = test::default_configuration();
    const Configuration before = config;
    for (int bad : {-1, 24, 1000}) {
        EXPECT_FALSE(choose_count(config, CountList::Rows, bad));
        EXPECT_FALSE(choose_count(config, CountList::Columns, bad));
    }
    EXPECT_TRUE(test::same_configuration(before, config));
}

TEST(ChoosePin, WiresOneLineAndAllowsADoubledPin) {
    Configuration config = test::default_configuration();
    EXPECT_TRUE(choose_pin(config, PinTable::Rows, 2, 0));
    EXPECT_EQ(config.row_pins[2], 0);
    EXPECT_EQ(config.column_pins[0], 0) << "the encoder refuses it, not the editor";
    EXPECT_TRUE(config.modified);
    EXPECT_TRUE(choose_pin(config, PinTable::Inputs, 23, 23));
    EXPECT_EQ(config.input_pins[23], 23);
    EXPECT_TRUE(choose_pin(config, PinTable::Columns, 22, 5));
    EXPECT_EQ(pin_entry(config, PinTable::Columns, 22), 5);

    const Configuration before = config;
    EXPECT_FALSE(choose_pin(config, PinTable::Rows, 23, 0)) << "23 row entries";
    EXPECT_FALSE(choose_pin(config, PinTable::Inputs, 24, 0));
    EXPECT_FALSE(choose_pin(config, PinTable::Columns, -1, 0));
    EXPECT_FALSE(choose_pin(config, PinTable::Columns, 0, 24));
    EXPECT_FALSE(choose_pin(config, PinTable::Columns, 0, -1));
    EXPECT_TRUE(test::same_configuration(before, config));
}

} // namespace
} // namespace zq70::edit
