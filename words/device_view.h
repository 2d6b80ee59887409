// What the ZQ70 makes of a configuration, as every zq70cfg report presents it: the lines in
// force and their pins, which codes send nothing, the macros the device gets and the steps
// each one plays. One reading, so that show, diff, check and the wiring sheet agree.
#pragma once

#include <string>
#include <vector>

#include "config/configuration.h"
#include "config/options.h"
#include "vocabulary.h"

namespace zq70::words {

// The counts in force. Clamped to the tables, so that a damaged record (which the encoder
// refuses, and check says so) can still be shown without reading past them.
struct Layout {
    int rows = 0;
    int columns = 0;
    int inputs = 0;
};
Layout layout_of(const zq70::Configuration& config);

enum class LineKind { Column, Row, Input };

// One matrix line or discrete input in force and the pin it is wired to.
struct Line {
    LineKind kind;
    int index; // into column_pins, row_pins or input_pins
    int pin;
};

// Columns, then rows, then inputs, each in table order (the order of the pin list).
std::vector<Line> lines_of(const zq70::Configuration& config);
// "Col 2", "Row 3", "Input 1".
std::string line_label(const Line& line);
// For each pin A..X the labels of the lines in force wired to it ("Col 3", or "Row 2, Input 1"
// for a pin that the encoder would refuse as doubled), or "" when none is.
std::vector<std::string> pin_uses(const zq70::Configuration& config);

// Every matrix cell in force, row by row, then every input in force: the places the device
// reads a code for.
struct Cell {
    std::string label; // "Row 3 Col 5", "Input 2"
    int index;         // into key_codes
};
std::vector<Cell> cells_of(const zq70::Configuration& config);
inline bool is_input(const Cell& cell) {
    return cell.index >= zq70::kMatrixCells;
}

// The cell or input code as the device gets it (the image holds one byte).
inline int device_code(int code) {
    return code & 0xFF;
}
// The code of a cell that sends nothing in the configuration's mode: 0 for Computer, 240
// for RS-232.
int not_used_code(const zq70::Configuration& config);
// Whether a cell code sends nothing in the configuration's mode.
bool sends_nothing(const zq70::Configuration& config, int code);

// Whether the device gets slot s: it is in use and the keypad reports to the computer (in
// RS-232 mode the image carries no macros at all).
bool macro_written(const zq70::Configuration& config, int slot);

// The steps that one sequence plays, as the image stores them: the non-empty words in
// order (the encoder skips gaps), a key step reduced to its byte, a delay to marker and count.
std::vector<int> played_steps(const zq70::MacroSlot& slot, bool break_sequence);
// The places 0..31 of those steps' words in the slot, in the same order.
std::vector<int> played_words(const zq70::MacroSlot& slot, bool break_sequence);
// "press L Ctrl, press A, release A" or "(none)".
std::string steps_words(const std::vector<int>& steps);

// "2 rows, 3 columns, 19 discrete inputs" (singular for one).
std::string layout_words(const zq70::Configuration& config);

// The caption of the option's item, or "value 7" for a value that no item has.
std::string option_setting(const zq70::OptionGroup& option, const zq70::Configuration& config);

// "Macro memory: 15 of 336 bytes used", as the device's memory holds them (none in RS-232
// mode).
std::string macro_memory_words(const zq70::Configuration& config);

// Word for a missing side of a comparison: a step, a cell, a line, a pin.
inline constexpr const char* kNone = "(none)";

} // namespace zq70::words
