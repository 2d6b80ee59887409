#include "live_table.h"

#include <algorithm>

namespace zq70cfg {

namespace {

constexpr const char* kGap = "  ";

bool continues_character(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

size_t columns_of(const std::string& text) {
    return static_cast<size_t>(
        std::count_if(text.begin(), text.end(), [](char c) { return !continues_character(c); }));
}

std::string padded(const std::string& text, size_t columns) {
    const size_t used = columns_of(text);
    return text + std::string(used < columns ? columns - used : 0, ' ');
}

} // namespace

std::string fit(const std::string& text, int columns) {
    size_t seen = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (continues_character(text[i])) continue;
        if (seen == static_cast<size_t>(std::max(columns, 0))) return text.substr(0, i);
        ++seen;
    }
    return text;
}

std::vector<std::string> table_lines(const std::vector<TableRow>& rows, const std::string& footer,
                                     int width) {
    const TableRow heading{"PORT", "DEVICE", "STATE", "LAST RESULT"};
    size_t port = columns_of(heading.port);
    size_t device = columns_of(heading.device);
    // Wide enough for "verifying 100 %" and "port gone", so that the column stays put.
    size_t state = 15;
    for (const TableRow& row : rows) {
        port = std::max(port, columns_of(row.port));
        device = std::max(device, columns_of(row.device));
        state = std::max(state, columns_of(row.state));
    }
    std::vector<std::string> lines;
    const int usable = width - 1;
    const auto line = [&](const TableRow& row) {
        std::string text = padded(row.port, port) + kGap + padded(row.device, device) + kGap +
                           padded(row.state, state) + kGap + row.last;
        text.erase(text.find_last_not_of(' ') + 1);
        lines.push_back(fit(text, usable));
    };
    line(heading);
    for (const TableRow& row : rows)
        line(row);
    lines.push_back(fit(footer, usable));
    return lines;
}

std::string table_redraw(const std::vector<std::string>& lines, int lines_before) {
    std::string text;
    if (lines_before > 0) text += "\x1b[" + std::to_string(lines_before) + "A";
    for (const std::string& line : lines)
        text += "\r" + line + "\x1b[K\n";
    return text;
}

} // namespace zq70cfg
