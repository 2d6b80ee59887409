// The macro editor's rules against the 336 bytes of macro memory, and the slot's life from
// opening to OK or Cancel.
#include <gtest/gtest.h>

#include <algorithm>

#include "config/macros.h"
#include "edit/macro_edit.h"
#include "tests/config/test_support.h"
#include "tests/edit/edit_test_support.h"

namespace zq70::edit {
namespace {

constexpr int kA = 31;

struct MacroEditTest : ::testing::Test {
    Configuration config = test::default_configuration();
    int slot = 0;

    // Macros in slots 0, 1, ... that take `bytes` of memory with key steps only; the macro
    // under edit is the next slot, opened.
    void others_take(int bytes) {
        int s = 0;
        while (bytes > 0) {
            int take = std::min(bytes, 2 + kStepWords);
            if (bytes - take == 1 || bytes - take == 2) take = bytes - 3; // a macro costs 3+
            for (int w = 0; w < take - 2; ++w)
                config.macros[s].steps[w] = make_step(kA);
            config.macros[s].in_use = 1;
            config.key_codes[100 + s] = macro_code_of_slot(s);
            bytes -= take;
            ++s;
        }
        slot = s;
        open_macro(config, slot);
    }
    MacroSlot& macro() { return config.macros[slot]; }
};

TEST_F(MacroEditTest, MemoryOfANewMacro) {
    others_take(0);
    EXPECT_EQ(macro_memory_remaining(config), 336);
    EXPECT_TRUE(set_step(config, slot, 0, make_step(kA)));
    EXPECT_EQ(macro_memory_remaining(config), 333) << "a step and the two lengths";
    EXPECT_TRUE(set_step(config, slot, step_word(true, 0), break_step(kA)));
    EXPECT_EQ(macro_memory_remaining(config), 332);
    EXPECT_TRUE(set_step(config, slot, 1, delay_step(25)));
    EXPECT_EQ(macro_memory_remaining(config), 330);
    EXPECT_TRUE(config.modified);
}

// The enabling and delay rules as the window program's dialog states them by the total u,
// checked against the one accounting rule for every state near the limit.
TEST_F(MacroEditTest, StepsAndDelaysFollowTheTotal) {
    const std::vector<std::vector<int>> own_steps = {
        {}, {make_step(kA)}, {delay_step(3)}, {make_step(kA), delay_step(3)}};
    for (int others : {0, 300, 330, 331, 332, 333, 334, 335, 336}) {
        for (const auto& steps : own_steps) {
            config = test::default_configuration();
            others_take(others);
            for (std::size_t w = 0; w < steps.size(); ++w)
                macro().steps[w] = steps[w];
            const int u = macro_memory_used(config);
            if (u > kMacroMemory) continue;
            const bool has_steps = !steps.empty();
            for (int word = 0; word < kStepWords; ++word) {
                const int v = macro().steps[word];
                bool enabled = true;
                if (u > 333 && !has_steps)
                    enabled = false;
                else if (u >= 336)
                    enabled = v != 0;
                const bool delay = !(u == 336 && !is_delay_step(v)) && !(u == 335 && v == 0) &&
                                   !(u == 333 && !has_steps);
                SCOPED_TRACE(testing::Message() << "u " << u << " word " << word << " v " << v);
                EXPECT_EQ(step_enabled(config, slot, word), enabled);
                if (enabled) {
                    EXPECT_EQ(delay_fits(config, slot, word), delay);
                }
            }
        }
    }
}

TEST_F(MacroEditTest, ChangesThatDoNotFitAreRefused) {
    others_take(333);
    const Configuration before = config;
    EXPECT_FALSE(set_step(config, slot, 0, delay_step(1))) << "3 bytes left, a first delay takes 4";
    EXPECT_TRUE(test::same_configuration(before, config));
    EXPECT_TRUE(set_step(config, slot, 0, make_step(kA)));
    EXPECT_FALSE(set_step(config, slot, 1, make_step(kA))) << "full: empty steps are closed";
    EXPECT_TRUE(set_step(config, slot, 0, break_step(kA))) << "a filled step can change";
    EXPECT_TRUE(set_step(config, slot, 0, 0));
    EXPECT_EQ(macro_memory_remaining(config), 3);
}

TEST_F(MacroEditTest, OnlyStepWordsAreStored) {
    others_take(0);
    for (int bad : {0x80, 0xFF, 127 + 0x80, 0x1FF, delay_step(255) + 256, 1000000})
        EXPECT_FALSE(set_step(config, slot, 0, bad)) << bad;
    EXPECT_FALSE(set_step(config, slot, kStepWords, make_step(kA)));
    EXPECT_FALSE(set_step(config, kUsableMacroSlots, 0, make_step(kA)));
    EXPECT_FALSE(config.modified);
    EXPECT_TRUE(set_step(config, slot, 0, -1)) << "cancel is an answer that stores nothing";
    EXPECT_FALSE(config.modified);
    EXPECT_TRUE(set_step(config, slot, 31, delay_step(0)));
    EXPECT_TRUE(set_step(config, slot, 30, break_step(126)));
}

TEST_F(MacroEditTest, OkKeepsAMacroWithSteps) {
    others_take(10);
    set_step(config, slot, 3, make_step(kA)); // after a gap
    EXPECT_EQ(accept_macro(config, slot), macro_code_of_slot(slot));
    EXPECT_EQ(macro().in_use, 1);
}

TEST_F(MacroEditTest, OkOnAnEmptiedSharedMacroFreesEveryCell) {
    // Slot 0 run by three cells, slot 1 by one; slot 0 is emptied and accepted.
    for (int s : {0, 1}) {
        config.macros[s].steps[0] = make_step(kA + s);
        config.macros[s].in_use = 1;
    }
    for (int cell : {cell_index(0, 0), cell_index(4, 4), input_index(5)})
        config.key_codes[cell] = macro_code_of_slot(0);
    config.key_codes[cell_index(1, 1)] = macro_code_of_slot(1);
    open_macro(config, 0);
    set_step(config, 0, 0, 0);
    config.modified = false;
    EXPECT_EQ(accept_macro(config, 0), kNotUsed);
    for (int cell : {cell_index(0, 0), cell_index(4, 4), input_index(5)})
        EXPECT_EQ(config.key_codes[cell], kNotUsed);
    EXPECT_TRUE(config.modified);
    EXPECT_EQ(config.key_codes[cell_index(1, 1)], macro_code_of_slot(0)) << "moved down";
    EXPECT_EQ(config.macros[0].steps[0], make_step(kA + 1));
    EXPECT_EQ(first_free_macro_slot(config), 1);
}

TEST_F(MacroEditTest, CancelPutsTheSlotBackAndKeepsModified) {
    others_take(0);
    const MacroSlot backup{}; // a new macro: free before the editor opened
    set_step(config, slot, 0, make_step(kA));
    cancel_macro(config, slot, backup);
    EXPECT_EQ(macro().in_use, 0);
    EXPECT_EQ(macro().steps[0], 0);
    EXPECT_TRUE(config.modified);
}

TEST(MacroEditRules, DelaysFromMilliseconds) {
    const std::pair<int, int> cases[] = {{0, 383},    {5, 383},      {100, 2687},
                                         {255, 6527}, {2550, 65407}, {2559, 65407},
                                         {2560, 127}, {9999, 127},   {2147483647, 127}};
    for (const auto& [ms, word] : cases)
        EXPECT_EQ(delay_step_of_ms(ms), word) << ms;
}

TEST(MacroEditRules, KeyStepsAndPreselection) {
    EXPECT_EQ(key_step(17, true), 145);
    EXPECT_EQ(key_step(17, false), 17);
    EXPECT_EQ(key_step(0, true), 0) << "Not Used carries no break flag";
    EXPECT_TRUE(preselects_break(0, true));
    EXPECT_FALSE(preselects_break(0, false));
    EXPECT_TRUE(preselects_break(break_step(kA), false));
    EXPECT_FALSE(preselects_break(make_step(kA), true));
    EXPECT_FALSE(preselects_break(delay_step(0), true)) << "a delay preselects make";
}

TEST(MacroEditRules, UsersOfAMacro) {
    Configuration config = test::default_configuration();
    config.key_codes[cell_index(22, 22)] = macro_code_of_slot(4); // outside the matrix: kept
    config.key_codes[input_index(0)] = macro_code_of_slot(4);
    EXPECT_EQ(macro_users(config, 4), 2);
    EXPECT_EQ(macro_users(config, 3), 0);
}

} // namespace
} // namespace zq70::edit
