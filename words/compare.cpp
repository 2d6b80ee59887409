#include "compare.h"

#include <algorithm>

#include "config/options.h"
#include "device_view.h"
#include "vocabulary.h"

namespace zq70::words {

namespace {

struct Report {
    std::vector<std::string> lines;

    void note(const std::string& what, const std::string& before, const std::string& after) {
        if (before != after) lines.push_back(what + ": " + before + " -> " + after);
    }
};

void compare_pins(const int32_t* pins_a, int count_a, const int32_t* pins_b, int count_b,
                  std::string (*label)(int), Report& report) {
    for (int i = 0; i < std::max(count_a, count_b); ++i) {
        report.note(label(i) + " pin", i < count_a ? pin_text(pins_a[i]) : kNone,
                    i < count_b ? pin_text(pins_b[i]) : kNone);
    }
}

// One cell or input, present in a only, in b only, or in both. A cell that exists on one side
// only matters when it sends something there: an idle cell that comes or goes with a changed
// count is already told by the count.
void compare_code(const std::string& label, const zq70::Configuration& a, bool in_a,
                  const zq70::Configuration& b, bool in_b, int index, Report& report) {
    const int code_a = a.key_codes[index];
    const int code_b = b.key_codes[index];
    if (!in_a && !in_b) return;
    if (!in_a && sends_nothing(b, code_b)) return;
    if (!in_b && sends_nothing(a, code_a)) return;
    report.note(label, in_a ? key_code_text(a, code_a) : kNone,
                in_b ? key_code_text(b, code_b) : kNone);
}

// Step by step, in the order the device plays them; a macro the device does not get (not
// in use, or RS-232 mode) has no steps.
void compare_macro(const zq70::Configuration& a, const zq70::Configuration& b, int slot,
                   Report& report) {
    const bool in_a = macro_written(a, slot);
    const bool in_b = macro_written(b, slot);
    if (!in_a && !in_b) return;
    const std::string label = macro_label(slot);
    if (in_a != in_b) report.lines.push_back(label + (in_b ? ": added" : ": removed"));
    for (bool break_sequence : {false, true}) {
        const auto steps_a =
            in_a ? played_steps(a.macros[slot], break_sequence) : std::vector<int>{};
        const auto steps_b =
            in_b ? played_steps(b.macros[slot], break_sequence) : std::vector<int>{};
        const std::string what = label + (break_sequence ? " break step " : " make step ");
        for (std::size_t k = 0; k < std::max(steps_a.size(), steps_b.size()); ++k) {
            report.note(what + std::to_string(k + 1),
                        k < steps_a.size() ? step_text(steps_a[k]) : kNone,
                        k < steps_b.size() ? step_text(steps_b[k]) : kNone);
        }
    }
}

} // namespace

std::vector<std::string> differences(const zq70::Configuration& a, const zq70::Configuration& b) {
    Report report;
    const Layout la = layout_of(a);
    const Layout lb = layout_of(b);
    report.note("Rows", std::to_string(la.rows), std::to_string(lb.rows));
    report.note("Columns", std::to_string(la.columns), std::to_string(lb.columns));

    compare_pins(a.column_pins, la.columns, b.column_pins, lb.columns, column_label, report);
    compare_pins(a.row_pins, la.rows, b.row_pins, lb.rows, row_label, report);
    compare_pins(a.input_pins, la.inputs, b.input_pins, lb.inputs, input_label, report);

    // Codes outside both layouts are kept by the record but never reach the device.
    for (int r = 0; r < std::max(la.rows, lb.rows); ++r) {
        for (int c = 0; c < std::max(la.columns, lb.columns); ++c) {
            compare_code(cell_label(r, c), a, r < la.rows && c < la.columns, b,
                         r < lb.rows && c < lb.columns, zq70::cell_index(r, c), report);
        }
    }
    for (int i = 0; i < std::max(la.inputs, lb.inputs); ++i)
        compare_code(input_label(i), a, i < la.inputs, b, i < lb.inputs, zq70::input_index(i),
                     report);

    for (int s = 0; s < zq70::kUsableMacroSlots; ++s)
        compare_macro(a, b, s, report);

    for (const zq70::OptionGroup& option : zq70::option_groups)
        report.note(option.caption, option_setting(option, a), option_setting(option, b));
    return report.lines;
}

} // namespace zq70::words
