// The web page's document: undo and redo of every change, the modified flag against the
// last file, and the macro editor's session.
#include <gtest/gtest.h>

#include "config/macros.h"
#include "edit/cell_edit.h"
#include "edit/document.h"
#include "edit/layout_edit.h"
#include "edit/option_edit.h"
#include "tests/config/test_support.h"
#include "tests/edit/edit_test_support.h"

namespace zq70::edit {
namespace {

constexpr int kA = 31;

void set_key(Document& doc, int index, int key) {
    doc.apply([&](Configuration& c) { store_key(c, index, key); });
}

TEST(Document, UndoAndRedoEveryChange) {
    Document doc;
    const Configuration fresh = doc.config();
    EXPECT_FALSE(doc.modified());
    EXPECT_FALSE(doc.can_undo());
    set_key(doc, 0, kA);
    doc.apply([](Configuration& c) { choose_count(c, CountList::Rows, 3); });
    doc.apply([](Configuration& c) { return choose_pin(c, PinTable::Inputs, 0, 23); });
    const Configuration edited = doc.config();
    EXPECT_TRUE(doc.modified());

    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(doc.undo());
    EXPECT_FALSE(doc.undo());
    EXPECT_TRUE(test::same_configuration(fresh, doc.config())) << "back to the opened file";
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(doc.redo());
    EXPECT_FALSE(doc.redo());
    EXPECT_TRUE(test::same_configuration(edited, doc.config()));
}

TEST(Document, AnEditThatChangesNothingAddsNoStep) {
    Document doc;
    doc.apply([](Configuration& c) { choose_option(c, option_groups[5], 5); }); // same baud
    EXPECT_TRUE(doc.modified()) << "as the window program counts it";
    EXPECT_FALSE(doc.can_undo());
}

TEST(Document, ModifiedFollowsTheSavedState) {
    Document doc;
    set_key(doc, 0, kA);
    doc.mark_saved();
    EXPECT_FALSE(doc.modified());
    doc.undo();
    EXPECT_TRUE(doc.modified()) << "no longer what the file holds";
    doc.redo();
    EXPECT_FALSE(doc.modified());

    doc.undo();
    set_key(doc, 1, kA); // the saved state leaves the history
    doc.undo();
    doc.redo();
    EXPECT_TRUE(doc.modified());
}

TEST(Document, ReplaceStartsAfreshAndTakeCanBeUndone) {
    Document doc;
    set_key(doc, 0, kA);
    Configuration other = test::default_configuration();
    other.rows = 2;
    other.columns = 3;
    other.modified = true;

    doc.take(other);
    EXPECT_FALSE(doc.modified());
    EXPECT_EQ(doc.config().rows, 2);
    EXPECT_TRUE(doc.undo());
    EXPECT_EQ(doc.config().key_codes[0], kA) << "the edits before the read come back";
    EXPECT_TRUE(doc.modified());

    doc.replace(other);
    EXPECT_FALSE(doc.modified());
    EXPECT_FALSE(doc.can_undo());
    EXPECT_FALSE(doc.can_redo());
}

TEST(Document, MacroSessionIsOneStepOfTheDocument) {
    Document doc;
    set_key(doc, cell_index(1, 1), kA);
    const int slot = doc.open_macro_of_cell(cell_index(1, 1));
    ASSERT_EQ(slot, 0);
    EXPECT_EQ(doc.open_macro_of_cell(0), -1) << "one session at a time";
    EXPECT_TRUE(doc.set_macro_step(0, make_step(58)));
    EXPECT_TRUE(doc.set_macro_step(1, make_step(kA)));
    EXPECT_TRUE(doc.undo()) << "inside the session, a step goes back";
    EXPECT_EQ(doc.config().macros[0].steps[1], 0);
    EXPECT_EQ(doc.config().macros[0].steps[0], make_step(58));
    EXPECT_TRUE(doc.undo());
    EXPECT_FALSE(doc.undo()) << "not past the session's start";
    EXPECT_TRUE(doc.redo());

    EXPECT_EQ(doc.accept_macro(), macro_code_of_slot(0));
    EXPECT_FALSE(doc.macro_open());
    EXPECT_EQ(doc.config().key_codes[cell_index(1, 1)], macro_code_of_slot(0));

    EXPECT_TRUE(doc.undo()); // the whole macro
    EXPECT_EQ(doc.config().key_codes[cell_index(1, 1)], kA);
    EXPECT_EQ(first_free_macro_slot(doc.config()), 0);
    EXPECT_TRUE(doc.undo()); // the key
    EXPECT_FALSE(doc.can_undo());
}

TEST(Document, CancelledSessionLeavesNoStep) {
    Document doc;
    ASSERT_EQ(doc.open_macro_of_cell(0), 0);
    doc.set_macro_step(0, make_step(kA));
    doc.cancel_macro();
    EXPECT_EQ(doc.config().macros[0].in_use, 0);
    EXPECT_EQ(doc.config().macros[0].steps[0], 0);
    EXPECT_EQ(doc.config().key_codes[0], 0);
    EXPECT_TRUE(doc.modified()) << "a step was changed meanwhile";
    EXPECT_FALSE(doc.can_undo());
}

TEST(Document, EmptyingASharedMacroFreesItsCells) {
    Document doc;
    ASSERT_EQ(doc.open_macro_of_cell(0), 0);
    doc.set_macro_step(0, make_step(kA));
    doc.accept_macro();
    set_key(doc, input_index(0), 0);
    doc.apply([](Configuration& c) { c.key_codes[input_index(0)] = macro_code_of_slot(0); });
    ASSERT_EQ(doc.open_macro_slot(0), 0);
    doc.set_macro_step(0, 0);
    EXPECT_EQ(doc.accept_macro(), 0);
    EXPECT_EQ(doc.config().key_codes[0], 0);
    EXPECT_EQ(doc.config().key_codes[input_index(0)], 0);
    EXPECT_EQ(doc.config().macros[0].in_use, 0);
    doc.undo();
    EXPECT_EQ(doc.config().key_codes[input_index(0)], macro_code_of_slot(0));
}

TEST(Document, NoSessionWithoutASlot) {
    Document doc;
    EXPECT_EQ(doc.open_macro_slot(0), -1) << "slot 0 is not in use";
    EXPECT_EQ(doc.open_macro_of_cell(kKeyCodeCount), -1);
    doc.apply([](Configuration& c) { set_switches_keypad(c, kSwitchesToRs232); });
    EXPECT_EQ(doc.open_macro_of_cell(0), -1) << "no macros in RS-232 mode";
    doc.undo();
    doc.apply([](Configuration& c) {
        for (int s = 0; s < kUsableMacroSlots; ++s)
            c.macros[s].in_use = 1;
    });
    EXPECT_EQ(doc.open_macro_of_cell(0), -1) << "every slot taken";
    EXPECT_EQ(doc.accept_macro(), -1);
    EXPECT_FALSE(doc.set_macro_step(0, make_step(kA)));
}

} // namespace
} // namespace zq70::edit
