#include <gtest/gtest.h>

#include "config/macros.h"
#include "test_support.h"

namespace zq70 {
namespace {

TEST(MacroMemory, CountsStepsLengthsAndOnlySlotsInUse) {
    Configuration config = test::default_configuration();
    EXPECT_EQ(macro_memory_used(config), 0);
    config.macros[0].in_use = 1;
    EXPECT_EQ(macro_memory_used(config), 0) << "a slot in use without steps takes nothing";
    config.macros[0].steps[0] = make_step(30);
    EXPECT_EQ(macro_memory_used(config), 3);
    config.macros[0].steps[1] = break_step(30);
    EXPECT_EQ(macro_memory_used(config), 4);
    config.macros[0].steps[20] = delay_step(0);
    EXPECT_EQ(macro_memory_used(config), 6);
    // A step after a gap is stored by the encoder, so it is paid for.
    config.macros[0].steps[9] = make_step(2);
    EXPECT_EQ(macro_memory_used(config), 7);

    config.macros[1].steps[0] = make_step(4); // not in use: free
    config.macros[127].in_use = 1;            // never used
    config.macros[127].steps[0] = make_step(4);
    EXPECT_EQ(macro_memory_used(config), 7);
    config.macros[1].in_use = 1;
    EXPECT_EQ(macro_memory_used(config), 10);

    // The count is what the encoder actually writes.
    const DeviceImage image = test::encoded(config);
    int end = 144;
    for (int s = 0; s < 2; ++s)
        end += 2 + image[end] + image[end + 1 + image[end]];
    EXPECT_EQ(end - 144, macro_memory_used(config));
}

struct ReleaseTest : ::testing::Test {
    Configuration config = test::default_configuration();

    void SetUp() override {
        for (int s = 0; s < 4; ++s) {
            config.macros[s].in_use = 1;
            config.macros[s].steps[0] = make_step(10 + s);
        }
        config.key_codes[cell_index(0, 0)] = macro_code_of_slot(1);
        config.key_codes[cell_index(22, 22)] = macro_code_of_slot(3);
        config.key_codes[input_index(23)] = macro_code_of_slot(3);
        config.key_codes[cell_index(5, 5)] = macro_code_of_slot(2);
        config.key_codes[cell_index(5, 6)] = macro_code_of_slot(2);
    }
};

TEST_F(ReleaseTest, LastSlotMovesIntoTheGap) {
    release_macro_slot(config, 1);
    EXPECT_EQ(config.macros[1].steps[0], make_step(13));
    EXPECT_EQ(config.macros[1].in_use, 1);
    EXPECT_EQ(config.macros[3].in_use, 0);
    EXPECT_EQ(first_free_macro_slot(config), 3);
    EXPECT_EQ(config.key_codes[cell_index(22, 22)], macro_code_of_slot(1));
    EXPECT_EQ(config.key_codes[input_index(23)], macro_code_of_slot(1));
    // The cell of the released slot is the caller's to overwrite.
    EXPECT_EQ(config.key_codes[cell_index(0, 0)], macro_code_of_slot(1));
}

TEST_F(ReleaseTest, LastSlotIsSimplyFreed) {
    release_macro_slot(config, 3);
    EXPECT_EQ(config.macros[3].in_use, 0);
    EXPECT_EQ(config.macros[2].in_use, 1);
    EXPECT_EQ(config.key_codes[cell_index(22, 22)], macro_code_of_slot(3));
    EXPECT_EQ(first_free_macro_slot(config), 3);
}

TEST_F(ReleaseTest, SharedMacroSurvivesUntilItsLastCell) {
    config.key_codes[cell_index(5, 5)] = make_step(31);
    release_macro_slot_if_unused(config, 2);
    EXPECT_EQ(config.macros[2].in_use, 1);
    EXPECT_EQ(config.macros[2].steps[0], make_step(12));
    EXPECT_EQ(config.macros[3].in_use, 1);

    config.key_codes[cell_index(5, 6)] = 0;
    release_macro_slot_if_unused(config, 2);
    EXPECT_EQ(config.macros[2].steps[0], make_step(13));
    EXPECT_EQ(config.macros[3].in_use, 0);
    EXPECT_EQ(config.key_codes[input_index(23)], macro_code_of_slot(2));

    // A discrete input alone also keeps its macro.
    config.key_codes[cell_index(22, 22)] = 0;
    release_macro_slot_if_unused(config, 2);
    EXPECT_EQ(config.macros[2].in_use, 1);
}

TEST(MacroSlots, FreeSlotAndSteps) {
    Configuration config = test::default_configuration();
    EXPECT_EQ(first_free_macro_slot(config), 0);
    for (int s = 0; s < kUsableMacroSlots; ++s)
        config.macros[s].in_use = 1;
    EXPECT_EQ(first_free_macro_slot(config), -1) << "slot 127 is never handed out";
    config.macros[126].in_use = 0;
    EXPECT_EQ(first_free_macro_slot(config), 126);

    MacroSlot slot{};
    EXPECT_FALSE(macro_has_steps(slot));
    slot.steps[31] = 0x80; // no key in its low seven bits
    EXPECT_FALSE(macro_has_steps(slot));
    slot.steps[31] = break_step(5);
    EXPECT_TRUE(macro_has_steps(slot));
    slot.steps[31] = 0;
    slot.steps[16] = delay_step(0);
    EXPECT_TRUE(macro_has_steps(slot));
}

} // namespace
} // namespace zq70
