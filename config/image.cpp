#include "image.h"

#include <string>

namespace zq70 {

namespace {

constexpr uint8_t kLowPinCodes[8] = {0x45, 0x44, 0x42, 0x46, 0x47, 0x40, 0x41, 0x43};
// Pins of the codes 0x40..0x47, by low nibble: F, G, C, H, B, A, D, E.
constexpr int kPinsOfHigh4[8] = {5, 6, 2, 7, 1, 0, 3, 4};

constexpr const char* kPinCollision = "Pin A is used for multiple scan lines";
constexpr int kPinLetterPosition = 4;
constexpr const char* kMacrosTooLarge =
    "The macros do not fit into the 336 bytes of macro memory of the ZQ70";
constexpr const char* kBadLayout = "The matrix layout is not valid";

constexpr int kMaxSequenceBytes = 32;

// Keyboard output value <-> bits 7..6 of the output byte.
constexpr int kOutputBits[3] = {2, 1, 3};
int output_of_bits(int bits) {
    if (bits == 1) return 1;
    if (bits == 3) return 2;
    return 0;
}

bool geometry_valid(int rows, int columns) {
    return rows >= 0 && columns >= 0 && rows <= kMaxLines && columns <= kMaxLines &&
           rows + columns <= kPinCount;
}

bool pins_valid(const int32_t* pins, int count) {
    for (int i = 0; i < count; ++i) {
        if (pins[i] < 0 || pins[i] >= kPinCount) return false;
    }
    return true;
}

// The main window keeps counts and pins in range; anything else is a damaged state that
// must neither make the tables be read beyond their ends nor reach the device.
bool layout_valid(const Configuration& config) {
    return geometry_valid(config.rows, config.columns) &&
           pins_valid(config.column_pins, config.columns) &&
           pins_valid(config.row_pins, config.rows) &&
           pins_valid(config.input_pins, input_count(config));
}

// The entries of a pin table in ascending order of their pins; an entry whose pin an
// earlier entry already has is left out, since only the first one is wired to the pin.
// Returns how many entries take part.
int pin_order(const int32_t* pins, int count, int* order) {
    int n = 0;
    for (int pin = 0; pin < kPinCount; ++pin) {
        for (int i = 0; i < count; ++i) {
            if (pins[i] == pin) {
                order[n++] = i;
                break;
            }
        }
    }
    return n;
}

// The walk that lays the key code area out, shared by both directions so that they can
// never disagree: visit(offset, key code index) for every matrix cell and input in image
// order.
template <typename Visit> void walk_key_code_area(const Configuration& config, Visit visit) {
    const int rows = config.rows;
    const int columns = config.columns;
    int column_order[kMaxLines];
    int row_order[kMaxLines];
    int input_order[kPinCount];
    const int column_count = pin_order(config.column_pins, columns, column_order);
    const int row_count = pin_order(config.row_pins, rows, row_order);
    for (int c = 0; c < column_count; ++c) {
        for (int r = 0; r < row_count; ++r)
            visit(c * rows + r, cell_index(row_order[r], column_order[c]));
    }
    const int inputs = pin_order(config.input_pins, input_count(config), input_order);
    for (int i = 0; i < inputs; ++i)
        visit(rows * columns + i, input_index(input_order[i]));
}

// A sequence as the device stores it: the non-empty steps in order, a delay as its marker
// and its count. Empty words in between are skipped, so a step placed after a gap is
// still played. Returns the number of bytes.
int encode_sequence(const int32_t* words, uint8_t* out) {
    int n = 0;
    for (int i = 0; i < kStepsPerSequence; ++i) {
        const int word = words[i];
        if (step_size(word) == 0) continue;
        out[n++] = static_cast<uint8_t>(word & 0xFF);
        if (is_delay_step(word)) out[n++] = static_cast<uint8_t>((word >> 8) & 0xFF);
    }
    return n;
}

// Only called once check_encoding has found that the records fit below 480.
void encode_macros(const Configuration& config, DeviceImage& image) {
    int position = kMacroAreaStart;
    for (int s = 0; s < kUsableMacroSlots; ++s) {
        const MacroSlot& slot = config.macros[s];
        if (!slot.in_use) continue;
        uint8_t make[kMaxSequenceBytes];
        uint8_t release[kMaxSequenceBytes];
        const int make_length = encode_sequence(slot.steps, make);
        const int break_length = encode_sequence(slot.steps + kStepsPerSequence, release);
        image[position++] = static_cast<uint8_t>(make_length);
        for (int i = 0; i < make_length; ++i)
            image[position++] = make[i];
        image[position++] = static_cast<uint8_t>(break_length);
        for (int i = 0; i < break_length; ++i)
            image[position++] = release[i];
    }
}

// The pins of the pin list in its order: the columns, the rows, then the inputs.
int pin_list_pins(const Configuration& config, int* pins) {
    int n = 0;
    for (int i = 0; i < config.columns; ++i)
        pins[n++] = config.column_pins[i];
    for (int i = 0; i < config.rows; ++i)
        pins[n++] = config.row_pins[i];
    for (int i = 0; i < input_count(config); ++i)
        pins[n++] = config.input_pins[i];
    return n;
}

void encode_options(const Configuration& config, DeviceImage& image) {
    const int output = config.keyboard_output >= 0 && config.keyboard_output < 3
                           ? kOutputBits[config.keyboard_output]
                           : kOutputBits[0];
    image[kTypematicOffset] = static_cast<uint8_t>(((config.typematic_delay & 3) << 5) |
                                                   ((31 - config.typematic_interval) & 31));
    image[kBaudOffset] = static_cast<uint8_t>(0x08 | (config.baud_rate & 7));
    image[kOutputOffset] = static_cast<uint8_t>(
        (output << 6) | (config.device_make_break == 0 ? 0x20 : 0) |
        ((config.switches_keypad_to & 1) << 4) | ((config.rs232_to_computer & 3) << 2));
    image[kKeyboardOffset] = static_cast<uint8_t>(((config.computer_type & 1) << 7) |
                                                  ((config.typematic_function & 1) << 6) |
                                                  (config.keyboard_make_break == 0 ? 0x10 : 0));
}

void decode_options(const DeviceImage& image, Configuration& config) {
    const int keyboard = image[kKeyboardOffset];
    const int output = image[kOutputOffset];
    config.computer_type = (keyboard >> 7) & 1;
    config.typematic_function = (keyboard >> 6) & 1;
    config.keyboard_make_break = (keyboard & 0x10) ? 0 : 1;
    config.keyboard_output = output_of_bits((output >> 6) & 3);
    config.device_make_break = (output & 0x20) ? 0 : 1;
    config.switches_keypad_to = (output >> 4) & 1;
    config.rs232_to_computer = (output >> 2) & 3;
    config.baud_rate = image[kBaudOffset] & 7;
    config.typematic_delay = (image[kTypematicOffset] >> 5) & 3;
    config.typematic_interval = 31 - (image[kTypematicOffset] & 31);
}

void fail(DeviceImage& image, const UserInterface& ui, const std::string& text) {
    image.fill(0);
    show_error(ui, text);
}

// One sequence of a macro record at position: its length byte, then its steps. False when
// the record reaches past the macro area, claims more than 32 bytes or 16 steps, or cuts
// a delay step off; position then means nothing.
bool decode_sequence(const DeviceImage& image, int& position, int32_t* words) {
    if (position >= kMacroAreaEnd) return false;
    const int length = image[position++];
    if (length > kMaxSequenceBytes || position + length > kMacroAreaEnd) return false;
    const int end = position + length;
    int step = 0;
    while (position < end) {
        if (step == kStepsPerSequence) return false;
        int word = image[position++];
        if (word == kDelayMarker) {
            if (position == end) return false;
            word |= image[position++] << 8;
        }
        words[step++] = word;
    }
    return true;
}

bool decode_macros(const DeviceImage& image, Configuration& config) {
    const int count = macro_record_count(image);
    int position = kMacroAreaStart;
    for (int s = 0; s < count; ++s) {
        MacroSlot& slot = config.macros[s];
        if (!decode_sequence(image, position, slot.steps)) return false;
        if (!decode_sequence(image, position, slot.steps + kStepsPerSequence)) return false;
        slot.in_use = 1;
    }
    return true;
}

bool header_valid(const DeviceImage& image) {
    const int rows = image[kRowsOffset];
    const int columns = image[kColumnsOffset];
    if ((rows == 0) != (columns == 0)) return false;
    if (!geometry_valid(rows, columns)) return false;
    for (int i = 0; i < kPinCount; ++i) {
        if (!is_valid_pin_code(image[kPinListOffset + i])) return false;
    }
    return true;
}

} // namespace

uint8_t pin_to_code(int pin) {
    if (pin >= 16 && pin <= 23) return static_cast<uint8_t>(39 - pin);
    if (pin >= 8 && pin <= 15) return static_cast<uint8_t>(pin + 24);
    if (pin >= 0 && pin <= 7) return kLowPinCodes[pin];
    return 0; // no pin: a code that no device pin has and the decoder refuses
}

bool is_valid_pin_code(uint8_t code) {
    const int high = code >> 4;
    return (code & 0x0F) <= 7 && (high == 1 || high == 2 || high == 4);
}

int code_to_pin(uint8_t code) {
    if (!is_valid_pin_code(code)) return -1;
    switch (code >> 4) {
    case 1: return 39 - code;
    case 2: return code - 24;
    default: return kPinsOfHigh4[code & 0x0F];
    }
}

int macro_record_count(const DeviceImage& image) {
    const int rows = image[kRowsOffset];
    const int columns = image[kColumnsOffset];
    int end = rows * columns + kPinCount - rows - columns;
    if (end > kKeyCodeAreaSize) end = kKeyCodeAreaSize; // only a refused header gets here
    int highest = 0;
    for (int i = 0; i < end; ++i) {
        if (image[i] > highest) highest = image[i];
    }
    return highest > 128 ? highest - 128 : 0;
}

int macro_record_size(const MacroSlot& slot) {
    uint8_t bytes[kMaxSequenceBytes];
    return 2 + encode_sequence(slot.steps, bytes) +
           encode_sequence(slot.steps + kStepsPerSequence, bytes);
}

EncodeCheck check_encoding(const Configuration& config) {
    EncodeCheck check;
    if (config.switches_keypad_to != kSwitchesToRs232) {
        for (int s = 0; s < kUsableMacroSlots; ++s) {
            if (config.macros[s].in_use) check.macro_bytes += macro_record_size(config.macros[s]);
        }
    }
    if (!layout_valid(config)) {
        check.refusal = EncodeRefusal::BadLayout;
        return check;
    }
    // Every pin of the list against every later one, whatever the counts: a pin used by a
    // line and by an input, or twice among the inputs, is as wrong as two lines on one pin.
    int pins[kPinCount];
    const int n = pin_list_pins(config, pins);
    for (int i = 0; i < n - 1; ++i) {
        for (int j = i + 1; j < n; ++j) {
            if (pins[i] != pins[j]) continue;
            check.refusal = EncodeRefusal::PinUsedTwice;
            check.first_entry = i;
            check.second_entry = j;
            check.pin = pins[i];
            return check;
        }
    }
    if (check.macro_overflow() > 0) check.refusal = EncodeRefusal::MacrosTooLarge;
    return check;
}

std::string refusal_text(const EncodeCheck& check) {
    switch (check.refusal) {
    case EncodeRefusal::None: return "";
    case EncodeRefusal::BadLayout: return kBadLayout;
    case EncodeRefusal::PinUsedTwice: {
        std::string text = kPinCollision;
        text[kPinLetterPosition] = pin_letter(check.pin);
        return text;
    }
    case EncodeRefusal::MacrosTooLarge: return kMacrosTooLarge;
    }
    return "";
}

bool encode_image(const Configuration& config, DeviceImage& image, const UserInterface& ui) {
    image.fill(0);
    const EncodeCheck check = check_encoding(config);
    if (check.refusal != EncodeRefusal::None) {
        fail(image, ui, kEncoderErrorWord + refusal_text(check));
        return false;
    }
    image[kRowsOffset] = static_cast<uint8_t>(config.rows);
    image[kColumnsOffset] = static_cast<uint8_t>(config.columns);
    encode_options(config, image);

    int pins[kPinCount];
    const int n = pin_list_pins(config, pins);
    for (int i = 0; i < n; ++i)
        image[kPinListOffset + i] = pin_to_code(pins[i]);

    walk_key_code_area(config, [&](int offset, int index) {
        image[offset] = static_cast<uint8_t>(config.key_codes[index] & 0xFF);
    });

    if (config.switches_keypad_to != kSwitchesToRs232) encode_macros(config, image);
    return true;
}

bool decode_image(const DeviceImage& image, Configuration& config) {
    if (!header_valid(image)) return false;

    // Everything is built in a copy and taken over only once the whole image has passed,
    // so that a refused image leaves the configuration exactly as it was.
    Configuration next = config;
    next.rows = image[kRowsOffset];
    next.columns = image[kColumnsOffset];
    decode_options(image, next);

    const uint8_t* pin_list = image.data() + kPinListOffset;
    int n = 0;
    for (int i = 0; i < next.columns; ++i)
        next.column_pins[i] = code_to_pin(pin_list[n++]);
    for (int i = 0; i < next.rows; ++i)
        next.row_pins[i] = code_to_pin(pin_list[n++]);
    for (int i = 0; i < input_count(next); ++i)
        next.input_pins[i] = code_to_pin(pin_list[n++]);

    walk_key_code_area(next, [&](int offset, int index) { next.key_codes[index] = image[offset]; });

    for (MacroSlot& slot : next.macros)
        slot = MacroSlot{};
    if (next.switches_keypad_to != kSwitchesToRs232 && !decode_macros(image, next)) return false;

    config = next;
    return true;
}

} // namespace zq70
