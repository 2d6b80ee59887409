#include "device_view.h"

#include <algorithm>

#include "config/macros.h"
#include "config/options.h"

namespace zq70::words {

Layout layout_of(const zq70::Configuration& config) {
    Layout layout;
    layout.rows = std::clamp<int>(config.rows, 0, zq70::kMaxLines);
    layout.columns = std::clamp<int>(config.columns, 0, zq70::kMaxLines);
    layout.inputs = std::max(0, zq70::kPinCount - layout.rows - layout.columns);
    return layout;
}

std::vector<Line> lines_of(const zq70::Configuration& config) {
    const Layout layout = layout_of(config);
    std::vector<Line> lines;
    for (int c = 0; c < layout.columns; ++c)
        lines.push_back({LineKind::Column, c, config.column_pins[c]});
    for (int r = 0; r < layout.rows; ++r)
        lines.push_back({LineKind::Row, r, config.row_pins[r]});
    for (int i = 0; i < layout.inputs; ++i)
        lines.push_back({LineKind::Input, i, config.input_pins[i]});
    return lines;
}

std::string line_label(const Line& line) {
    switch (line.kind) {
    case LineKind::Column: return column_label(line.index);
    case LineKind::Row: return row_label(line.index);
    case LineKind::Input: break;
    }
    return input_label(line.index);
}

std::vector<std::string> pin_uses(const zq70::Configuration& config) {
    std::vector<std::string> uses(zq70::kPinCount);
    for (const Line& line : lines_of(config)) {
        if (line.pin < 0 || line.pin >= zq70::kPinCount) continue;
        std::string& use = uses[line.pin];
        use += (use.empty() ? "" : ", ") + line_label(line);
    }
    return uses;
}

std::vector<Cell> cells_of(const zq70::Configuration& config) {
    const Layout layout = layout_of(config);
    std::vector<Cell> cells;
    for (int r = 0; r < layout.rows; ++r) {
        for (int c = 0; c < layout.columns; ++c)
            cells.push_back({cell_label(r, c), zq70::cell_index(r, c)});
    }
    for (int i = 0; i < layout.inputs; ++i)
        cells.push_back({input_label(i), zq70::input_index(i)});
    return cells;
}

int not_used_code(const zq70::Configuration& config) {
    return config.switches_keypad_to == zq70::kSwitchesToRs232 ? zq70::kRs232NotUsed
                                                               : zq70::kNotUsed;
}

bool sends_nothing(const zq70::Configuration& config, int code) {
    return device_code(code) == not_used_code(config);
}

bool macro_written(const zq70::Configuration& config, int slot) {
    return config.switches_keypad_to != zq70::kSwitchesToRs232 && slot >= 0 &&
           slot < zq70::kUsableMacroSlots && config.macros[slot].in_use != 0;
}

std::vector<int> played_words(const zq70::MacroSlot& slot, bool break_sequence) {
    std::vector<int> places;
    const int first = break_sequence ? zq70::kStepsPerSequence : 0;
    for (int i = first; i < first + zq70::kStepsPerSequence; ++i) {
        if (zq70::step_size(slot.steps[i]) != 0) places.push_back(i);
    }
    return places;
}

std::vector<int> played_steps(const zq70::MacroSlot& slot, bool break_sequence) {
    std::vector<int> steps;
    for (const int place : played_words(slot, break_sequence)) {
        const int word = slot.steps[place];
        steps.push_back(zq70::is_delay_step(word) ? word & 0xFFFF : word & 0xFF);
    }
    return steps;
}

std::string steps_words(const std::vector<int>& steps) {
    if (steps.empty()) return kNone;
    std::string text;
    for (int step : steps) {
        if (!text.empty()) text += ", ";
        text += step_text(step);
    }
    return text;
}

namespace {

std::string counted(int n, const char* thing, const char* things) {
    return std::to_string(n) + " " + (n == 1 ? thing : things);
}

} // namespace

std::string layout_words(const zq70::Configuration& config) {
    const Layout layout = layout_of(config);
    return counted(layout.rows, "row", "rows") + ", " +
           counted(layout.columns, "column", "columns") + ", " +
           counted(layout.inputs, "discrete input", "discrete inputs");
}

std::string option_setting(const zq70::OptionGroup& option, const zq70::Configuration& config) {
    const int value = config.*option.field;
    const char* item = option_item(option, value);
    return item != nullptr ? item : "value " + std::to_string(value);
}

std::string macro_memory_words(const zq70::Configuration& config) {
    const int used = config.switches_keypad_to == zq70::kSwitchesToRs232
                         ? 0 // the image carries no macros
                         : zq70::macro_memory_used(config);
    return "Macro memory: " + std::to_string(used) + " of " + std::to_string(zq70::kMacroMemory) +
           " bytes used";
}

} // namespace zq70::words
