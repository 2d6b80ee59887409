#include "listing.h"

#include <algorithm>
#include <vector>

#include "config/options.h"
#include "device_view.h"
#include "vocabulary.h"

namespace zq70::words {

namespace {

// A cell that sends nothing is a dash, so that the keys stand out in a large grid.
constexpr const char* kGridNothing = "-";
constexpr const char* kGap = "  ";

std::string padded(const std::string& text, std::size_t width) {
    return text + std::string(width > text.size() ? width - text.size() : 0, ' ');
}

std::string pin_words(int pin) {
    return "pin " + pin_text(pin);
}

std::string cell_words(const zq70::Configuration& config, int code) {
    return sends_nothing(config, code) ? kGridNothing : key_code_text(config, code);
}

// Whole lines, trailing blanks cut (a padded last column would leave them).
void add_line(std::string& out, std::string line) {
    line.erase(line.find_last_not_of(' ') + 1);
    out += line;
    out += '\n';
}

void list_pins(const zq70::Configuration& config, std::string& out) {
    const std::vector<Line> lines = lines_of(config);
    std::size_t width = 0;
    for (const Line& line : lines)
        width = std::max(width, line_label(line).size());
    out += "Pins:\n";
    for (const Line& line : lines)
        add_line(out, kGap + padded(line_label(line), width) + kGap + pin_words(line.pin));
}

// Rows down, columns across, every column as wide as its widest entry.
void list_grid(const zq70::Configuration& config, std::string& out) {
    const Layout layout = layout_of(config);
    if (layout.rows == 0 || layout.columns == 0) {
        out += "Key grid: none\n";
        return;
    }
    std::vector<std::vector<std::string>> table(layout.rows + 2); // two header lines
    std::vector<std::string> heads(layout.rows + 2);
    const std::size_t label_width = row_label(layout.rows - 1).size();
    for (int r = 0; r < layout.rows; ++r)
        heads[r + 2] = padded(row_label(r), label_width) + kGap + pin_words(config.row_pins[r]);
    for (int c = 0; c < layout.columns; ++c) {
        table[0].push_back(column_label(c));
        table[1].push_back(pin_words(config.column_pins[c]));
        for (int r = 0; r < layout.rows; ++r)
            table[r + 2].push_back(cell_words(config, config.key_codes[zq70::cell_index(r, c)]));
    }
    std::size_t head_width = 0;
    for (const std::string& head : heads)
        head_width = std::max(head_width, head.size());
    std::vector<std::size_t> widths(layout.columns, 0);
    for (const auto& row : table) {
        for (int c = 0; c < layout.columns; ++c)
            widths[c] = std::max(widths[c], row[c].size());
    }
    out += "Key grid (";
    out += kGridNothing;
    out += " = Not Used):\n";
    for (std::size_t r = 0; r < table.size(); ++r) {
        std::string line = kGap + padded(heads[r], head_width);
        for (int c = 0; c < layout.columns; ++c)
            line += kGap + padded(table[r][c], widths[c]);
        add_line(out, line);
    }
}

void list_inputs(const zq70::Configuration& config, std::string& out) {
    const Layout layout = layout_of(config);
    if (layout.inputs == 0) {
        out += "Inputs: none\n";
        return;
    }
    const std::size_t width = input_label(layout.inputs - 1).size();
    out += "Inputs:\n";
    for (int i = 0; i < layout.inputs; ++i) {
        add_line(out, kGap + padded(input_label(i), width) + kGap +
                          pin_words(config.input_pins[i]) + kGap +
                          key_code_text(config, config.key_codes[zq70::input_index(i)]));
    }
}

void list_macros(const zq70::Configuration& config, std::string& out) {
    std::string body;
    for (int s = 0; s < zq70::kUsableMacroSlots; ++s) {
        if (!macro_written(config, s)) continue;
        const zq70::MacroSlot& slot = config.macros[s];
        body += kGap + macro_label(s) + " make:  " + steps_words(played_steps(slot, false)) + "\n";
        body += kGap + macro_label(s) + " break: " + steps_words(played_steps(slot, true)) + "\n";
    }
    if (!body.empty()) {
        out += "Macros:\n" + body;
    } else if (config.switches_keypad_to == zq70::kSwitchesToRs232) {
        out += "Macros: none (in RS-232 mode the ZQ70 gets no macros)\n";
    } else {
        out += "Macros: none\n";
    }
}

void list_options(const zq70::Configuration& config, std::string& out) {
    out += "Options:\n";
    for (const zq70::OptionGroup& option : zq70::option_groups)
        out += kGap + std::string(option.caption) + ": " + option_setting(option, config) + "\n";
}

} // namespace

std::string listing(const zq70::Configuration& config) {
    std::string out = "Layout: " + layout_words(config) + "\n\n";
    list_pins(config, out);
    out += '\n';
    list_grid(config, out);
    out += '\n';
    list_inputs(config, out);
    out += '\n';
    list_macros(config, out);
    out += '\n';
    list_options(config, out);
    out += '\n';
    out += macro_memory_words(config) + "\n";
    return out;
}

} // namespace zq70::words
