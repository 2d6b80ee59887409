#include "sheet.h"

#include <algorithm>
#include <vector>

#include "config/options.h"
#include "device_view.h"
#include "vocabulary.h"

namespace zq70::words {

namespace {

// No page size is forced, so the sheet prints on A4 and on Letter alike: everything is
// laid out for the smaller of both (210 x 279 mm, less the margins).
constexpr const char* kStyle = R"(
@page { margin: 10mm; }
* { box-sizing: border-box; }
html { -webkit-print-color-adjust: exact; print-color-adjust: exact; }
body { margin: 0; max-width: 190mm; color: #000;
       font: 7.5pt/1.2 "Liberation Sans", Arial, Helvetica, sans-serif; }
h1 { font-size: 12pt; margin: 0 0 0.5mm; }
h2 { font-size: 8.5pt; margin: 2mm 0 0.6mm; }
p { margin: 0; }
.top { display: flex; gap: 8mm; align-items: flex-start; }
table { border-collapse: collapse; }
th, td { border: 0.25mm solid #999; padding: 0.2mm 0.8mm; text-align: left;
         vertical-align: top; }
th { background: #eee; font-weight: normal; }
th.band { border-left-width: 0.6mm; }
.pin { font-weight: bold; }
.none { color: #888; }
#grid { table-layout: fixed; }
#grid th:first-child { width: 20mm; white-space: nowrap; }
#grid td, #grid thead th { text-align: center; overflow-wrap: anywhere; padding: 0.2mm 0.4mm; }
#macros { margin: 0; padding: 0; list-style: none; font-size: 6.5pt; line-height: 1.15;
          display: grid; gap: 0.3mm 4mm; }
#grid.dense { font-size: 6pt; }
#grid.dense td, #grid.dense thead th { padding: 0.2mm 0.2mm; overflow-wrap: break-word; }
)";

constexpr const char* kNothing = "&mdash;"; // a cell that sends nothing
constexpr int kGridMaxWidth = 190;          // mm, the body's width
constexpr int kGridHeadWidth = 20;
constexpr int kGridColumnWidth = 17;
constexpr int kDenseGridColumns = 13; // from here on a smaller font keeps "Macro" whole
constexpr int kMacroColumns = 4;

std::string escaped(const std::string& text) {
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case '\'': out += "&#39;"; break;
        default: out += c;
        }
    }
    return out;
}

// Records of a few cells each, set side by side in bands of equal height (the first band
// holds the first records), so that a long list takes few lines. Cells are HTML already; the
// first cell of a record is its heading.
std::string banded_table(const char* id, const std::vector<std::vector<std::string>>& records,
                         int bands) {
    const int count = static_cast<int>(records.size());
    const int height = (count + bands - 1) / bands;
    std::string html = std::string("<table id=\"") + id + "\">\n";
    for (int line = 0; line < height; ++line) {
        html += "<tr>";
        for (int band = 0; band < bands; ++band) {
            const int index = band * height + line;
            if (index >= count) continue;
            const std::vector<std::string>& record = records[index];
            html += band > 0 ? "<th class=\"band\">" : "<th>";
            html += record[0] + "</th>";
            for (std::size_t k = 1; k < record.size(); ++k)
                html += "<td>" + record[k] + "</td>";
        }
        html += "</tr>\n";
    }
    return html + "</table>\n";
}

std::string pin_html(int pin) {
    return "<span class=\"pin\">" + escaped("pin " + pin_text(pin)) + "</span>";
}

std::string code_html(const zq70::Configuration& config, int code) {
    if (sends_nothing(config, code))
        return std::string("<span class=\"none\">") + kNothing + "</span>";
    return escaped(key_code_text(config, code));
}

std::string pins_section(const zq70::Configuration& config) {
    const std::vector<std::string> uses = pin_uses(config);
    std::vector<std::vector<std::string>> records;
    for (int pin = 0; pin < zq70::kPinCount; ++pin) {
        records.push_back(
            {"<span class=\"pin\">" + escaped(pin_text(pin)) + "</span>",
             uses[pin].empty() ? "<span class=\"none\">unused</span>" : escaped(uses[pin])});
    }
    return "<h2>Pins</h2>\n" + banded_table("pins", records, 3);
}

std::string grid_section(const zq70::Configuration& config) {
    const Layout layout = layout_of(config);
    std::string html = "<h2>Key grid</h2>\n";
    if (layout.rows == 0 || layout.columns == 0) return html + "<p>No key matrix.</p>\n";
    // As wide as the page at most, and no wider than a small grid needs.
    const int width = std::min(kGridMaxWidth, kGridHeadWidth + kGridColumnWidth * layout.columns);
    html += "<table id=\"grid\"";
    if (layout.columns >= kDenseGridColumns) html += " class=\"dense\"";
    html += " style=\"width: " + std::to_string(width) + "mm\">\n<thead><tr><th></th>";
    for (int c = 0; c < layout.columns; ++c)
        html +=
            "<th>" + escaped(column_label(c)) + "<br>" + pin_html(config.column_pins[c]) + "</th>";
    html += "</tr></thead>\n<tbody>\n";
    for (int r = 0; r < layout.rows; ++r) {
        html += "<tr><th>" + escaped(row_label(r)) + " " + pin_html(config.row_pins[r]) + "</th>";
        for (int c = 0; c < layout.columns; ++c)
            html += "<td>" + code_html(config, config.key_codes[zq70::cell_index(r, c)]) + "</td>";
        html += "</tr>\n";
    }
    html += "</tbody>\n</table>\n";
    return html + "<p>" + kNothing + " not used</p>\n";
}

std::string inputs_section(const zq70::Configuration& config) {
    const Layout layout = layout_of(config);
    std::string html = "<h2>Discrete inputs</h2>\n";
    if (layout.inputs == 0) return html + "<p>None.</p>\n";
    std::vector<std::vector<std::string>> records;
    for (int i = 0; i < layout.inputs; ++i) {
        records.push_back({escaped(input_label(i)), pin_html(config.input_pins[i]),
                           code_html(config, config.key_codes[zq70::input_index(i)])});
    }
    return html + banded_table("inputs", records, layout.inputs > 8 ? 3 : 1);
}

std::string macros_section(const zq70::Configuration& config) {
    std::string items;
    int count = 0;
    for (int s = 0; s < zq70::kUsableMacroSlots; ++s) {
        if (!macro_written(config, s)) continue;
        ++count;
        // An empty sequence is left out: the sheet has to hold all 336 bytes of macros.
        const std::vector<int> make = played_steps(config.macros[s], false);
        const std::vector<int> release = played_steps(config.macros[s], true);
        std::string words;
        if (!make.empty() || release.empty()) words = "make: " + steps_words(make);
        if (!release.empty())
            words += (words.empty() ? "" : "; ") + std::string("break: ") + steps_words(release);
        items += "<li><b>" + escaped(macro_label(s)) + "</b> " + escaped(words) + "</li>\n";
    }
    std::string html = "<h2>Macros</h2>\n";
    if (items.empty()) return html + "<p>None.</p>\n";
    // One column per macro up to four: a lone long macro gets the whole width.
    const int columns = std::min(kMacroColumns, count);
    return html + "<ul id=\"macros\" style=\"grid-template-columns: repeat(" +
           std::to_string(columns) + ", 1fr)\">\n" + items + "</ul>\n";
}

std::string options_section(const zq70::Configuration& config) {
    std::vector<std::vector<std::string>> records;
    for (const zq70::OptionGroup& option : zq70::option_groups)
        records.push_back({escaped(option.caption), escaped(option_setting(option, config))});
    return "<h2>Options</h2>\n" + banded_table("options", records, 2);
}

} // namespace

std::string wiring_sheet(const zq70::Configuration& config, const std::string& title) {
    const std::string heading =
        title.empty() ? "ZQ70 wiring sheet" : "ZQ70 wiring sheet: " + escaped(title);
    std::string html = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n";
    html += "<title>" + heading + "</title>\n<style>" + kStyle + "</style>\n</head>\n<body>\n";
    html += "<h1>" + heading + "</h1>\n";
    html += "<p>" + escaped(layout_words(config)) + " &middot; " +
            escaped(macro_memory_words(config)) + "</p>\n";
    // Pins and options are narrow tables: side by side they leave the height to the grid and
    // the macros.
    html += "<div class=\"top\">\n<div>\n" + pins_section(config) + "</div>\n<div>\n" +
            options_section(config) + "</div>\n</div>\n";
    html += grid_section(config);
    html += inputs_section(config);
    html += macros_section(config);
    return html + "</body>\n</html>\n";
}

} // namespace zq70::words
