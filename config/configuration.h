// The one in-memory configuration that the whole program edits, its value domains and the
// index rules that every part of the program uses instead of repeating the arithmetic.
#pragma once

#include <cstdint>

namespace zq70 {

constexpr int kPinCount = 24;        // pins A..X, index 0..23
constexpr int kMaxLines = 23;        // at most 23 rows and 23 columns
constexpr int kRowStride = 23;       // key_codes row stride, whatever the column count
constexpr int kMatrixCells = 529;    // 23 x 23
constexpr int kKeyCodeCount = 553;   // 529 matrix cells + 24 discrete inputs
constexpr int kMacroSlotCount = 128; // the 128th is cleared with the rest, never used
constexpr int kUsableMacroSlots = 127;
constexpr int kStepsPerSequence = 16;
constexpr int kStepWords = 32;    // make sequence 0..15, break sequence 16..31
constexpr int kMacroMemory = 336; // bytes 144..479 of the device image

constexpr int kNotUsed = 0;        // key code "not used" in Computer mode
constexpr int kRs232NotUsed = 240; // key code "not used" in RS-232 mode
constexpr int kFirstMacroCode = 0x81;
constexpr int kBreakFlag = 0x80;   // a step's low byte | 0x80 releases the key
constexpr int kDelayMarker = 0x7F; // low byte of a delay step

struct MacroSlot {
    int32_t steps[kStepWords];
    int32_t in_use;
};
static_assert(sizeof(MacroSlot) == 33 * sizeof(int32_t), "a macro slot is 33 words");

struct Configuration {
    int32_t rows;
    int32_t columns;
    int32_t column_pins[kMaxLines];
    int32_t row_pins[kMaxLines];
    int32_t input_pins[kPinCount];
    int32_t key_codes[kKeyCodeCount];
    MacroSlot macros[kMacroSlotCount];

    // The ten device options: each is the 0-based index of the checked item of its
    // Options popup (see option_groups in options.h).
    int32_t keyboard_output;
    int32_t keyboard_make_break;
    int32_t switches_keypad_to;
    int32_t device_make_break;
    int32_t rs232_to_computer;
    int32_t baud_rate;
    int32_t computer_type;
    int32_t typematic_function;
    int32_t typematic_delay;
    int32_t typematic_interval;

    bool modified;
};

// Values of switches_keypad_to.
constexpr int kSwitchesToComputer = 0;
constexpr int kSwitchesToRs232 = 1;

// comm_port: 0..5 are COM1..COM6, 6 (or more) the keyboard line.
constexpr int kKeyboardPort = 6;

inline int cell_index(int row, int column) {
    return row * kRowStride + column;
}
inline int input_index(int input) {
    return kMatrixCells + input;
}
inline int input_count(const Configuration& c) {
    return kPinCount - c.rows - c.columns;
}
inline bool is_macro_code(int code) {
    return code >= kFirstMacroCode && code <= 0xFF;
}
inline int macro_code_of_slot(int slot) {
    return kFirstMacroCode + slot;
}
inline int slot_of_macro_code(int code) {
    return code - kFirstMacroCode;
}
inline char pin_letter(int pin) {
    return static_cast<char>('A' + pin);
}

// Step words.
inline int make_step(int key) {
    return key;
}
inline int break_step(int key) {
    return key | kBreakFlag;
}
inline int delay_step(int count) {
    return (count & 0xFF) * 256 + kDelayMarker;
}
inline bool is_delay_step(int word) {
    return (word & 0xFF) == kDelayMarker;
}
inline bool is_break_step(int word) {
    return !is_delay_step(word) && (word & kBreakFlag) != 0;
}
// Bytes that a step word takes in the device image: none for an empty word (low byte 0,
// nothing the device could play), two for a delay (marker and count), one for a key step.
inline int step_size(int word) {
    if ((word & 0xFF) == 0) return 0;
    return is_delay_step(word) ? 2 : 1;
}
// Delay of a delay step in milliseconds; a count of 0 stands for 256 units.
inline int delay_step_ms(int word) {
    const int count = (word >> 8) & 0xFF;
    return (count == 0 ? 256 : count) * 10;
}

// The model half of File > New: defaults, pin tables, options, empty macro table,
// modified cleared. The window half (save question, marks, grid) is in session.h.
void reset_configuration(Configuration& config);

} // namespace zq70
