#include <algorithm>
#include <cstring>

#include <gtest/gtest.h>

#include "config/key_names.h"
#include "config/macros.h"
#include "config/options.h"
#include "test_support.h"

namespace zq70 {
namespace {

// Builds a random configuration that the program itself could have made: any split of
// the pins, pins permuted, options anywhere in their fields, codes of the right kind, and
// in Computer mode an unbroken run of macros, each referenced, within the macro area.
class RandomConfiguration {
  public:
    explicit RandomConfiguration(unsigned seed) : random_(seed) {}

    Configuration make() {
        Configuration config = test::default_configuration();
        pick_geometry(config);
        pick_pins(config);
        pick_options(config);
        if (config.switches_keypad_to == kSwitchesToRs232) {
            for (int32_t& code : config.key_codes)
                code = below(256);
        } else {
            const int macros = pick_macros(config);
            pick_codes(config, macros);
        }
        return config;
    }

  private:
    int below(int n) { return static_cast<int>(random_() % static_cast<unsigned>(n)); }

    void pick_geometry(Configuration& config) {
        if (below(8) == 0) {
            config.rows = config.columns = 0;
            return;
        }
        config.rows = 1 + below(kMaxLines);
        config.columns = 1 + below(std::min(kMaxLines, kPinCount - config.rows));
    }

    void pick_pins(Configuration& config) {
        int pins[kPinCount];
        for (int i = 0; i < kPinCount; ++i)
            pins[i] = i;
        std::shuffle(pins, pins + kPinCount, random_);
        // Entries beyond the counts hold anything; they are not written.
        for (int i = 0; i < kMaxLines; ++i) {
            config.column_pins[i] = below(kPinCount);
            config.row_pins[i] = below(kPinCount);
        }
        int n = 0;
        for (int i = 0; i < config.columns; ++i)
            config.column_pins[i] = pins[n++];
        for (int i = 0; i < config.rows; ++i)
            config.row_pins[i] = pins[n++];
        for (int i = 0; i < kPinCount; ++i)
            config.input_pins[i] = below(kPinCount);
        for (int i = 0; i < input_count(config); ++i)
            config.input_pins[i] = pins[n++];
    }

    void pick_options(Configuration& config) {
        config.keyboard_output = below(3);
        config.keyboard_make_break = below(2);
        config.switches_keypad_to = below(3) == 0 ? kSwitchesToRs232 : kSwitchesToComputer;
        config.device_make_break = below(2);
        config.rs232_to_computer = below(4);
        config.baud_rate = below(8);
        config.computer_type = below(2);
        config.typematic_function = below(2);
        config.typematic_delay = below(4);
        config.typematic_interval = below(32);
    }

    int random_step() {
        switch (below(3)) {
        case 0: return delay_step(below(256));
        case 1: return break_step(1 + below(kHighestKeyNumber));
        default: return make_step(1 + below(kHighestKeyNumber));
        }
    }

    // Fills slots from 0 on until the macro area is about full; returns how many.
    int pick_macros(Configuration& config) {
        const int wanted = below(4) == 0 ? 0 : 1 + below(40);
        int used = 0;
        int count = 0;
        while (count < wanted) {
            MacroSlot slot{};
            slot.in_use = 1;
            int size = 2;
            for (int i = 0; i < kStepWords; ++i) {
                if (below(3) == 0) continue; // a gap, closed up by the encoder
                const int step = random_step();
                if (used + size + step_size(step) > kMacroMemory) break;
                slot.steps[i] = step;
                size += step_size(step);
            }
            if (used + size > kMacroMemory) break;
            config.macros[count++] = slot;
            used += size;
        }
        return count;
    }

    void pick_codes(Configuration& config, int macros) {
        for (int32_t& code : config.key_codes) {
            code = below(kHighestKeyNumber + 1);
            if (macros > 0 && below(4) == 0) code = macro_code_of_slot(below(macros));
        }
        if (macros == 0) return;
        // The image counts its records by the highest code of the key code area, so the
        // last macro must be named by a cell that the image holds.
        const int index = config.rows > 0 ? cell_index(below(config.rows), below(config.columns))
                                          : input_index(below(kPinCount));
        config.key_codes[index] = macro_code_of_slot(macros - 1);
    }

    std::mt19937 random_;
};

// The steps of a sequence with the gaps closed, as the device will play them.
std::vector<int> played(const int32_t* words) {
    std::vector<int> steps;
    for (int i = 0; i < kStepsPerSequence; ++i)
        if (words[i] != 0) steps.push_back(words[i]);
    return steps;
}

TEST(RoundTrip, RandomConfigurationsSurviveEncodeDecodeEncode) {
    RandomConfiguration generator(20261208);
    int with_macros = 0;
    for (int n = 0; n < 3000; ++n) {
        const Configuration original = generator.make();
        test::ScriptedUser user;
        DeviceImage first;
        ASSERT_TRUE(encode_image(original, first, user.seam())) << n;

        Configuration decoded = test::default_configuration();
        ASSERT_TRUE(decode_image(first, decoded)) << n;
        DeviceImage second;
        ASSERT_TRUE(encode_image(decoded, second, user.seam())) << n;
        ASSERT_TRUE(first == second) << n;
        ASSERT_TRUE(user.messages.empty());

        // The model itself came back too, not only the bytes.
        ASSERT_EQ(decoded.rows, original.rows);
        ASSERT_EQ(decoded.columns, original.columns);
        for (int r = 0; r < original.rows; ++r)
            for (int c = 0; c < original.columns; ++c)
                ASSERT_EQ(decoded.key_codes[cell_index(r, c)],
                          original.key_codes[cell_index(r, c)]);
        for (int i = 0; i < input_count(original); ++i) {
            ASSERT_EQ(decoded.input_pins[i], original.input_pins[i]);
            ASSERT_EQ(decoded.key_codes[input_index(i)], original.key_codes[input_index(i)]);
        }
        for (int g = 0; g < kOptionGroupCount; ++g) {
            const auto field = option_groups[g].field;
            ASSERT_EQ(decoded.*field, original.*field) << n << " option " << g;
        }
        for (int s = 0; s < kUsableMacroSlots; ++s) {
            const MacroSlot& a = original.macros[s];
            const MacroSlot& b = decoded.macros[s];
            const bool in_use = a.in_use && original.switches_keypad_to == kSwitchesToComputer;
            ASSERT_EQ(b.in_use != 0, in_use) << n << " slot " << s;
            ASSERT_EQ(played(a.steps), played(b.steps)) << n << " slot " << s;
            ASSERT_EQ(played(a.steps + 16), played(b.steps + 16)) << n << " slot " << s;
        }
        ASSERT_LE(macro_memory_used(decoded), kMacroMemory);
        with_macros += decoded.macros[0].in_use;
    }
    EXPECT_GT(with_macros, 1000) << "the generator should exercise macros";
}

} // namespace
} // namespace zq70
