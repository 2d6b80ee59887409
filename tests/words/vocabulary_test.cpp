#include <gtest/gtest.h>

#include "config/key_names.h"
#include "words/vocabulary.h"

namespace zq70::words {
namespace {

TEST(Vocabulary, PinsAndLabels) {
    EXPECT_EQ(pin_text(0), "A");
    EXPECT_EQ(pin_text(23), "X");
    EXPECT_EQ(pin_of_text("x"), 23);
    for (const char* bad : {"Y", "", "AB", "1"})
        EXPECT_EQ(pin_of_text(bad), -1) << bad;
    EXPECT_EQ(cell_label(2, 4), "Row 3 Col 5");
    EXPECT_EQ(input_label(1), "Input 2");
    EXPECT_EQ(macro_label(0), "Macro 1");
}

TEST(Vocabulary, EveryKeyNameReadsBack) {
    int named = 0;
    for (int key = 1; key <= zq70::kHighestKeyNumber; ++key) {
        const std::string name = key_text(key);
        if (zq70::key_button_caption(key) == nullptr) {
            EXPECT_EQ(name, "") << key;
            continue;
        }
        ++named;
        EXPECT_EQ(key_of_text(name), key) << name;
        EXPECT_EQ(key_of_text(zq70::key_name(key, false)), key) << key;
    }
    EXPECT_EQ(named, 126 - 22);
    EXPECT_EQ(key_text(8), "7 &");
    EXPECT_EQ(key_of_text("left   ctrl"), 58);
    EXPECT_EQ(key_of_text("Delay"), -1); // a step, not a key
}

TEST(Vocabulary, EveryStepWordReadsBack) {
    std::string reason;
    for (int low = 1; low < 256; ++low) {
        const int word = low == zq70::kDelayMarker ? zq70::delay_step(25) : low;
        const auto back = step_of_text(step_text(word), reason);
        ASSERT_TRUE(back.has_value()) << step_text(word) << ": " << reason;
        EXPECT_EQ(*back, word) << step_text(word);
    }
    for (int count = 0; count < 256; ++count) {
        const int word = zq70::delay_step(count);
        EXPECT_EQ(step_of_text(step_text(word), reason), word) << step_text(word);
    }
    EXPECT_EQ(step_text(zq70::delay_step(0)), "wait 2560 ms");
    EXPECT_EQ(step_text(0x80 | 58), "release L Ctrl");
    EXPECT_EQ(step_text(14), "press key 14");
    EXPECT_EQ(step_of_text("  Wait 250ms ", reason), zq70::delay_step(25));
}

TEST(Vocabulary, StepRefusalsSayWhy) {
    const std::pair<const char*, const char*> cases[] = {
        {"wait 5 ms", "10 to 2560 ms"},     {"wait 2570 ms", "10 to 2560 ms"},
        {"wait 255 ms", "steps of 10 ms"},  {"wait soon", "wait 250 ms"},
        {"press Foo", "unknown key name"},  {"press key 127", "outside 1..126"},
        {"press key 0", "outside 1..126"},  {"hold A", "press KEY"},
        {"release key 128", "unknown key"},
    };
    for (const auto& [text, expected] : cases) {
        std::string reason;
        EXPECT_FALSE(step_of_text(text, reason).has_value()) << text;
        EXPECT_NE(reason.find(expected), std::string::npos) << text << ": " << reason;
    }
}

TEST(Vocabulary, EveryKeyCodeReadsBackInBothModes) {
    zq70::Configuration config{};
    std::string reason;
    for (int mode : {zq70::kSwitchesToComputer, zq70::kSwitchesToRs232}) {
        config.switches_keypad_to = mode;
        for (int code = 0; code < 256; ++code) {
            const std::string text = key_code_text(config, code);
            EXPECT_EQ(key_code_of_text(mode, text, reason), code) << text << ": " << reason;
        }
    }
    config.switches_keypad_to = zq70::kSwitchesToComputer;
    EXPECT_EQ(key_code_text(config, 0x83), "Macro 3");
    EXPECT_EQ(key_code_text(config, 128), "Code 128");
    EXPECT_EQ(key_code_text(config, 14), "Key 14");
    config.switches_keypad_to = zq70::kSwitchesToRs232;
    EXPECT_EQ(key_code_text(config, 240), "Not Used");
    EXPECT_EQ(key_code_text(config, 0), "0");
    for (const char* bad : {"Key 127", "Key 0", "Macro 0", "Macro 128", "Code 256", "Nonsense"})
        EXPECT_FALSE(key_code_of_text(zq70::kSwitchesToComputer, bad, reason)) << bad;
    EXPECT_FALSE(key_code_of_text(zq70::kSwitchesToRs232, "A", reason));
    EXPECT_FALSE(key_code_of_text(zq70::kSwitchesToRs232, "256", reason));
}

} // namespace
} // namespace zq70::words
