// Random configurations for the round trips of the text form and for the cases that the web
// page's module must answer as the native build does.
#pragma once

#include <algorithm>
#include <numeric>
#include <random>

#include "config/configuration.h"
#include "config/image.h"
#include "config/options.h"

namespace zq70::test {

// A configuration the program could hold: any split (0 x 0 and 23 x 1 often), pins
// permuted, every option value an image can carry, codes of all kinds, and in Computer mode
// an unbroken run of macros (empty ones, gaps between steps, odd step bytes, shared and
// unreferenced ones, sometimes exactly 336 bytes), the last one sent by some cell or input.
struct Generator {
    std::mt19937 random{20260417};

    Generator() = default;
    explicit Generator(unsigned seed) : random(seed) {}
    int full_memory = 0;

    int below(int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); }

    int step(int room) {
        if (room >= 2 && below(4) == 0) return delay_step(below(256));
        const int key = below(128); // 0 and 127 only released: bytes 0x80 and 0xFF
        return key == 0 || key == 127 || below(2) ? break_step(key) : make_step(key);
    }

    // Fills slots from 0 on; returns how many.
    int macros(Configuration& c, bool full) {
        const int wanted = below(4) == 0 ? 0 : 1 + below(30);
        int used = 0;
        int count = 0;
        while (count < kUsableMacroSlots &&
               (full ? kMacroMemory - used >= 2 : count < wanted && used + 2 <= kMacroMemory)) {
            MacroSlot& slot = c.macros[count++];
            slot = MacroSlot{};
            slot.in_use = 1;
            used += 2;
            const int steps = below(3) == 0 ? 0 : below(kStepWords); // at most 31: room to top up
            for (int w = 0, n = 0; w < kStepWords && n < steps; ++w) {
                if (below(4) == 0) {
                    slot.steps[w] = below(2) ? below(4) << 8 : 0; // a gap, played by nobody
                } else if (used < kMacroMemory) {
                    slot.steps[w] = step(kMacroMemory - used);
                    used += step_size(slot.steps[w]);
                    ++n;
                }
            }
        }
        if (full && used < kMacroMemory) {
            int32_t* words = c.macros[count - 1].steps;
            *std::find_if(words, words + kStepWords, [](int w) { return step_size(w) == 0; }) =
                make_step(31);
        }
        full_memory += full && c.switches_keypad_to == kSwitchesToComputer;
        return count;
    }

    Configuration make() {
        Configuration c{};
        reset_configuration(c);
        const int shape = below(10);
        c.rows = shape == 0 ? 0 : shape == 1 ? 23 : shape == 2 ? 1 : 1 + below(kMaxLines);
        c.columns = shape == 0   ? 0
                    : shape == 1 ? 1
                    : shape == 2 ? 23
                                 : 1 + below(std::min(kMaxLines, kPinCount - c.rows));
        int pins[kPinCount];
        std::iota(pins, pins + kPinCount, 0);
        std::shuffle(pins, pins + kPinCount, random);
        std::copy_n(pins, c.columns, c.column_pins);
        std::copy_n(pins + c.columns, c.rows, c.row_pins);
        std::copy_n(pins + c.columns + c.rows, input_count(c), c.input_pins);
        for (const zq70::OptionGroup& option : zq70::option_groups)
            c.*option.field = below(option.item_count);
        c.baud_rate = below(8); // 7 and 3 name no menu item, but an image holds them
        c.rs232_to_computer = below(4);
        c.switches_keypad_to = below(4) == 0 ? kSwitchesToRs232 : kSwitchesToComputer;
        // Macros in RS-232 mode too: none of them may reach the text or the image.
        const int count = macros(c, below(5) == 0);
        for (int32_t& code : c.key_codes) {
            const int kind = below(8);
            code = c.switches_keypad_to == kSwitchesToRs232 ? below(256)
                   : kind < 3                               ? kNotUsed
                   : kind < 5 && count > 0                  ? macro_code_of_slot(below(count))
                                                            : below(129);
        }
        if (count > 0 && c.switches_keypad_to == kSwitchesToComputer)
            c.key_codes[c.rows > 0 ? cell_index(below(c.rows), below(c.columns))
                                   : input_index(below(kPinCount))] = macro_code_of_slot(count - 1);
        return c;
    }
};

} // namespace zq70::test
