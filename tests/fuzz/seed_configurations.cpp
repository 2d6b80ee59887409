#include "seed_configurations.h"

namespace zq70::fuzz {

namespace {

Configuration defaults() {
    Configuration config{};
    reset_configuration(config);
    return config;
}

} // namespace

std::vector<SeedConfiguration> seed_configurations() {
    std::vector<SeedConfiguration> seeds;
    seeds.push_back({"default", defaults()});

    Configuration inputs = defaults();
    inputs.rows = inputs.columns = 0;
    for (int i = 0; i < kPinCount; ++i)
        inputs.key_codes[input_index(i)] = 1 + 5 * i;
    seeds.push_back({"inputs_only", inputs});

    Configuration macros = defaults();
    macros.rows = 4;
    macros.columns = 5;
    // Columns on A..E and rows on M..P by default; the inputs take F..L and Q..X.
    for (int i = 0; i < 15; ++i)
        macros.input_pins[i] = i < 7 ? 5 + i : 9 + i;
    for (int s = 0; s < 4; ++s) {
        MacroSlot& slot = macros.macros[s];
        slot.in_use = 1;
        slot.steps[0] = make_step(30 + s);
        slot.steps[1] = delay_step(5 * s);
        slot.steps[2] = break_step(30 + s);
        slot.steps[16] = make_step(44);
        slot.steps[17] = break_step(44);
        macros.key_codes[cell_index(s, s)] = macro_code_of_slot(s);
    }
    macros.key_codes[input_index(3)] = 61;
    macros.typematic_function = 1;
    macros.baud_rate = 7;
    seeds.push_back({"macros", macros});

    Configuration full = defaults();
    for (int s = 0; s < 21; ++s) {
        full.macros[s].in_use = 1;
        for (int i = 0; i < 7; ++i)
            full.macros[s].steps[i] = delay_step(s + i);
        full.key_codes[cell_index(s % 12, s / 12)] = macro_code_of_slot(s);
    }
    seeds.push_back({"full_macro_area", full});

    Configuration rs232 = defaults();
    rs232.switches_keypad_to = kSwitchesToRs232;
    rs232.device_make_break = 1;
    rs232.rs232_to_computer = 3;
    rs232.rows = 2;
    rs232.columns = 22;
    for (int i = 0; i < 22; ++i)
        rs232.column_pins[i] = i;
    rs232.row_pins[0] = 22;
    rs232.row_pins[1] = 23;
    for (int32_t& code : rs232.key_codes)
        code = kRs232NotUsed;
    rs232.key_codes[cell_index(1, 21)] = 0x0D;
    seeds.push_back({"rs232", rs232});
    return seeds;
}

} // namespace zq70::fuzz
