#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "config/macros.h"
#include "words/check.h"
#include "words/compare.h"
#include "words/listing.h"

namespace zq70::words {
namespace {

using zq70::break_step;
using zq70::cell_index;
using zq70::Configuration;
using zq70::delay_step;
using zq70::input_index;
using zq70::make_step;
using Lines = std::vector<std::string>;
using Edit = std::function<void(Configuration&)>;

constexpr int kA = 31, kB = 50, kLeftCtrl = 58, kLeftShift = 44, kEnter = 43, kSeven = 8;

Configuration defaults() {
    Configuration config{};
    zq70::reset_configuration(config);
    return config;
}

void set_macro(Configuration& config, int slot, std::vector<int> make, std::vector<int> release) {
    zq70::MacroSlot& macro = config.macros[slot];
    macro = zq70::MacroSlot{};
    macro.in_use = 1;
    for (std::size_t i = 0; i < make.size(); ++i)
        macro.steps[i] = make[i];
    for (std::size_t i = 0; i < release.size(); ++i)
        macro.steps[zq70::kStepsPerSequence + i] = release[i];
}

// A configuration with one macro that Row 1 Col 1 runs and that releases what it presses.
Configuration with_macro() {
    Configuration config = defaults();
    set_macro(config, 0,
              {make_step(kLeftCtrl), make_step(kA), break_step(kA), break_step(kLeftCtrl)},
              {delay_step(5)});
    config.key_codes[cell_index(0, 0)] = zq70::macro_code_of_slot(0);
    return config;
}

void to_rs232(Configuration& config) {
    config.switches_keypad_to = zq70::kSwitchesToRs232;
    for (int32_t& code : config.key_codes)
        code = zq70::kRs232NotUsed;
}

struct DiffCase {
    const char* name;
    Edit edit_a;
    Edit edit_b;
    Lines expected;
};

TEST(Differences, ByMeaningOneLineEach) {
    const Edit none = [](Configuration&) {};
    const DiffCase cases[] = {
        {"a code outside both layouts never reaches the device",
         none,
         [](Configuration& c) { c.key_codes[cell_index(14, 2)] = kA; },
         {}},
        {"a gap between steps plays the same",
         none,
         [](Configuration& c) {
             c.macros[0].steps[3] = 0;
             c.macros[0].steps[6] = break_step(kLeftCtrl);
         },
         {}},
        {"macros kept in RS-232 mode are not written",
         to_rs232,
         [](Configuration& c) {
             to_rs232(c);
             c.macros[5].in_use = 1;
         },
         {}},
        {"a row less: the row's pin and used cells go, an input comes",
         [](Configuration& c) { c.key_codes[cell_index(11, 0)] = kA; },
         [](Configuration& c) {
             c.key_codes[cell_index(11, 0)] = kA;
             c.rows = 11;
         },
         {"Rows: 12 -> 11", "Row 12 pin: X -> (none)", "Input 1 pin: (none) -> A",
          "Row 12 Col 1: A -> (none)"}},
        {"cells, inputs, pins",
         [](Configuration& c) {
             c.rows = 11;
             c.key_codes[cell_index(2, 4)] = kA;
         },
         [](Configuration& c) {
             c.rows = 11;
             c.key_codes[cell_index(2, 4)] = kB;
             c.key_codes[input_index(0)] = kEnter;
             c.column_pins[1] = 3;
         },
         {"Col 2 pin: B -> D", "Row 3 Col 5: A -> B", "Input 1: Not Used -> Ent"}},
        {"a changed step and an added break step",
         none,
         [](Configuration& c) {
             c.macros[0].steps[2] = make_step(kA);
             c.macros[0].steps[17] = delay_step(5);
         },
         {"Macro 1 make step 3: release A -> press A",
          "Macro 1 break step 2: (none) -> wait 50 ms"}},
        {"an added macro and the cell that runs it",
         none,
         [](Configuration& c) {
             set_macro(c, 1, {make_step(kB)}, {});
             c.key_codes[cell_index(0, 1)] = zq70::macro_code_of_slot(1);
         },
         {"Row 1 Col 2: Not Used -> Macro 2", "Macro 2: added",
          "Macro 2 make step 1: (none) -> press B"}},
        {"options, also a value without an item",
         none,
         [](Configuration& c) {
             c.baud_rate = 6;
             c.rs232_to_computer = 3;
         },
         {"RS-232 to Computer: Disabled -> value 3", "Baud Rate Setting: 9600 -> 19200"}},
        {"a switch to RS-232 changes what the same code means",
         none,
         [](Configuration& c) {
             to_rs232(c);
             c.key_codes[cell_index(0, 0)] = kA;
         },
         {"Row 1 Col 1: Macro 1 -> 31", "Macro 1: removed",
          "Macro 1 make step 1: press L Ctrl -> (none)", "Macro 1 make step 2: press A -> (none)",
          "Macro 1 make step 3: release A -> (none)",
          "Macro 1 make step 4: release L Ctrl -> (none)",
          "Macro 1 break step 1: wait 50 ms -> (none)", "Switches/Keypad to: Computer -> RS-232"}},
    };
    for (const DiffCase& test : cases) {
        Configuration a = with_macro();
        Configuration b = with_macro();
        test.edit_a(a);
        test.edit_b(b);
        EXPECT_EQ(differences(a, b), test.expected) << test.name;
    }
}

struct CheckCase {
    const char* name;
    Edit edit;
    Lines expected; // before the closing memory line
};

Lines check_lines(const Configuration& config) {
    Lines lines;
    for (const Finding& finding : check_configuration(config))
        lines.push_back(finding_line(finding));
    return lines;
}

TEST(Check, ErrorsAndWarnings) {
    const CheckCase cases[] = {
        {"a sound configuration", [](Configuration&) {}, {}},
        {"an input on a column's pin",
         [](Configuration& c) { c.rows = 11; },
         {"Error: Pin A is used for multiple scan lines"}},
        {"the letter is the doubled pin's",
         [](Configuration& c) { c.column_pins[3] = 20; },
         {"Error: Pin U is used for multiple scan lines"}},
        {"rows without columns",
         [](Configuration& c) {
             c.rows = 0;
             c.columns = 5;
             for (int i = 0; i < 19; ++i)
                 c.input_pins[i] = 5 + i;
         },
         {"Error: 0 rows with 5 columns: a matrix needs both or neither (the image would not "
          "read back)"}},
        {"a pin twice and macros too large: both told",
         [](Configuration& c) {
             c.rows = 11;
             const std::vector<int> steps(16, make_step(kA));
             for (int s = 0; s < 10; ++s) { // 10 x 34 bytes
                 set_macro(c, s, steps, std::vector<int>(16, break_step(kA)));
                 c.key_codes[cell_index(1, s)] = zq70::macro_code_of_slot(s);
             }
         },
         {"Error: Pin A is used for multiple scan lines",
          "Error: The macros do not fit into the 336 bytes of macro memory of the ZQ70"}},
        {"Make Only where the menu grays it, a value without an item",
         [](Configuration& c) {
             c.keyboard_make_break = 1;
             c.device_make_break = 1;
             c.baud_rate = 7;
         },
         {"Warning: Baud Rate Setting: value 7 is none of the menu's items",
          "Warning: Keyboard Make/Break: Make Only while Keyboard Output to is Computer; the "
          "menu offers it only when the keyboard output goes to RS-232",
          "Warning: ZQ70 Make/Break: Make Only while Switches/Keypad to is Computer; the menu "
          "offers it only when the switches and keypad report to RS-232"}},
        {"Make Only where the menu offers it",
         [](Configuration& c) {
             c.keyboard_output = 2;
             c.keyboard_make_break = 1;
         },
         {}},
        {"codes that Computer mode does not use",
         [](Configuration& c) {
             c.key_codes[cell_index(0, 1)] = 14;
             c.key_codes[cell_index(0, 2)] = 127;
             c.key_codes[cell_index(0, 3)] = 128;
             c.key_codes[cell_index(0, 4)] = 256 + kA;
             c.key_codes[cell_index(1, 0)] = zq70::macro_code_of_slot(4);
             c.key_codes[cell_index(15, 0)] = 14; // outside the layout: never sent
         },
         {"Warning: Row 1 Col 2: key number 14 names no key",
          "Warning: Row 1 Col 3: code 127 marks delays in macros; it names no key",
          "Warning: Row 1 Col 4: code 128 names neither a key nor a macro",
          "Warning: Row 1 Col 5: holds 287, which does not fit in a byte: the ZQ70 gets A",
          "Warning: Row 2 Col 1: runs Macro 5, which holds no macro"}},
        {"RS-232 mode: every byte is a value, macros are not written",
         [](Configuration& c) {
             to_rs232(c);
             c.key_codes[cell_index(0, 0)] = 14;
             c.key_codes[cell_index(0, 1)] = 128;
             c.key_codes[input_index(0)] = 0;
             c.macros[0].in_use = 1;
             c.macros[1].in_use = 1;
         },
         {"Warning: 2 macros are kept but not written: in RS-232 mode the ZQ70 gets no macros"}},
        {"a key left held, a release without a press",
         [](Configuration& c) {
             set_macro(c, 0, {make_step(kLeftCtrl), make_step(kA), break_step(kA)},
                       {break_step(kLeftShift)});
             c.key_codes[cell_index(0, 0)] = zq70::macro_code_of_slot(0);
         },
         {"Warning: Macro 1 make step 1: press L Ctrl, and no step releases it: the key stays "
          "held on the computer",
          "Warning: Macro 1 break step 1: release L Sft, and no step of the macro presses it"}},
        {"held while the input is made, released when it breaks",
         [](Configuration& c) {
             set_macro(c, 0, {make_step(kLeftShift)}, {break_step(kLeftShift)});
             c.key_codes[cell_index(0, 0)] = zq70::macro_code_of_slot(0);
         },
         {}},
        {"macros that nothing runs, that play nothing, that name no key, out of their place",
         [](Configuration& c) {
             set_macro(c, 0, {make_step(14), break_step(14)}, {});
             set_macro(c, 2, {}, {});
             set_macro(c, 3, {make_step(kSeven), break_step(kSeven)}, {});
             c.key_codes[cell_index(0, 0)] = zq70::macro_code_of_slot(0);
             c.key_codes[cell_index(0, 1)] = zq70::macro_code_of_slot(2);
             c.key_codes[cell_index(15, 1)] = zq70::macro_code_of_slot(3);
         },
         {"Warning: Macro 1 make step 1: press key 14: key number 14 names no key",
          "Warning: Macro 1 make step 2: release key 14: key number 14 names no key",
          "Warning: Macro 3: the macros in use do not run on from Macro 1, so the ZQ70 would "
          "play this one as Macro 2",
          "Warning: Macro 3: has no steps, so a cell that runs it does nothing",
          "Warning: Macro 4: the macros in use do not run on from Macro 1, so the ZQ70 would "
          "play this one as Macro 3",
          "Warning: Macro 4: no cell or input runs it"}},
    };
    for (const CheckCase& test : cases) {
        Configuration config = defaults();
        test.edit(config);
        Lines expected = test.expected;
        expected.push_back("Info: Macro memory: " +
                           std::to_string(zq70::macro_memory_used(config)) + " of 336 bytes used");
        const auto findings = check_configuration(config);
        EXPECT_EQ(check_lines(config), expected) << test.name;
        EXPECT_EQ(has_errors(findings), expected.front().rfind("Error: ", 0) == 0) << test.name;
    }
}

// The page selects what a finding is about: the later line of a doubled pin, the cell, the
// option, the macro and the very step word, also behind a gap in the sequence.
TEST(Check, EachFindingPointsAtWhatItIsAbout) {
    Configuration config = defaults();
    config.column_pins[3] = 20; // pin U, also Row 9's
    config.baud_rate = 7;
    config.key_codes[cell_index(0, 1)] = 14;
    set_macro(config, 0, {0, 0, make_step(kLeftCtrl)}, {break_step(kLeftShift)});
    config.key_codes[cell_index(2, 0)] = zq70::macro_code_of_slot(0);
    set_macro(config, 1, {make_step(kA), break_step(kA)}, {});

    using Kind = Target::Kind;
    struct Expected {
        Kind kind;
        int index;
        LineKind line;
        int word;
    };
    const std::vector<Expected> expected = {
        {Kind::Line, 8, LineKind::Row, -1},      // Pin U is used for multiple scan lines
        {Kind::Option, 5, LineKind::Column, -1}, // Baud Rate Setting: value 7
        {Kind::Cell, cell_index(0, 1), LineKind::Column, -1}, // key number 14
        {Kind::Macro, 0, LineKind::Column, 2},                // press L Ctrl, never released
        {Kind::Macro, 0, LineKind::Column, 16},               // release L Sft, never pressed
        {Kind::Macro, 1, LineKind::Column, -1},               // no cell runs Macro 2
        {Kind::None, -1, LineKind::Column, -1},               // the memory line
    };
    const std::vector<Finding> findings = check_configuration(config);
    ASSERT_EQ(findings.size(), expected.size()) << testing::PrintToString(check_lines(config));
    for (std::size_t i = 0; i < findings.size(); ++i) {
        const Target& target = findings[i].target;
        EXPECT_EQ(target.kind, expected[i].kind) << findings[i].text;
        EXPECT_EQ(target.index, expected[i].index) << findings[i].text;
        if (target.kind == Kind::Line) {
            EXPECT_EQ(target.line, expected[i].line) << findings[i].text;
        }
        EXPECT_EQ(target.word, expected[i].word) << findings[i].text;
    }
}

bool has_line(const std::string& text, const std::string& line) {
    return ("\n" + text).find("\n" + line + "\n") != std::string::npos;
}

TEST(Listing, NamesEveryPartInWords) {
    Configuration config = with_macro();
    config.rows = 2;
    config.columns = 3;
    const int input_pins[] = {3, 4, 5, 6, 7, 8, 9, 10, 11, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23};
    for (int i = 0; i < 19; ++i)
        config.input_pins[i] = input_pins[i];
    config.key_codes[cell_index(0, 1)] = kA;
    config.key_codes[cell_index(1, 2)] = kSeven;
    config.key_codes[input_index(0)] = kEnter;
    config.key_codes[input_index(18)] = 14;

    const std::string text = listing(config);
    const Lines expected = {
        "Layout: 2 rows, 3 columns, 19 discrete inputs",
        "  Col 1     pin A",
        "  Row 2     pin N",
        "  Input 19  pin X",
        "                Col 1    Col 2  Col 3",
        "                pin A    pin B  pin C",
        "  Row 1  pin M  Macro 1  A      -",
        "  Row 2  pin N  -        -      7 &",
        "  Input 1   pin D  Ent",
        "  Input 19  pin X  Key 14",
        "  Macro 1 make:  press L Ctrl, press A, release A, release L Ctrl",
        "  Macro 1 break: wait 50 ms",
        "  Keyboard Output to: Computer",
        "  Typematic Interval: 10.9",
        "Macro memory: 8 of 336 bytes used",
    };
    for (const std::string& line : expected)
        EXPECT_TRUE(has_line(text, line)) << "missing: " << line << "\nin:\n" << text;

    to_rs232(config);
    config.key_codes[cell_index(0, 0)] = 9;
    const std::string raw = listing(config);
    for (const std::string line : {"  Row 1  pin M  9      -      -",
                                   "Macros: none (in RS-232 mode the ZQ70 gets no macros)",
                                   "Macro memory: 0 of 336 bytes used"})
        EXPECT_TRUE(has_line(raw, line)) << "missing: " << line << "\nin:\n" << raw;

    // Row labels of one and two digits keep the pins and the cells in their columns.
    const std::string wide = listing(defaults());
    for (const char* start : {"\n  Row 9   pin U  -      -", "\n  Row 10  pin V  -      -"})
        EXPECT_NE(wide.find(start), std::string::npos) << start << "\nin:\n" << wide;
}

} // namespace
} // namespace zq70::words
