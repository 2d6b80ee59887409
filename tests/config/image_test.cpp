#include <cstring>

#include <gtest/gtest.h>

#include "test_support.h"

namespace zq70 {
namespace {

using test::default_configuration;
using test::encoded;
using test::ScriptedUser;

std::vector<uint8_t> bytes(const DeviceImage& image, int from, int to) {
    return std::vector<uint8_t>(image.begin() + from, image.begin() + to);
}

bool all_zero(const DeviceImage& image, int from = 0, int to = kImageSize) {
    for (int i = from; i < to; ++i) {
        if (image[i] != 0) return false;
    }
    return true;
}

TEST(PinCodes, TableAndInverse) {
    const uint8_t codes[kPinCount] = {0x45, 0x44, 0x42, 0x46, 0x47, 0x40, 0x41, 0x43,
                                      0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27,
                                      0x17, 0x16, 0x15, 0x14, 0x13, 0x12, 0x11, 0x10};
    for (int pin = 0; pin < kPinCount; ++pin) {
        EXPECT_EQ(pin_to_code(pin), codes[pin]) << pin;
        EXPECT_EQ(code_to_pin(codes[pin]), pin) << pin;
    }
    int valid = 0;
    for (int code = 0; code < 256; ++code)
        valid += is_valid_pin_code(static_cast<uint8_t>(code));
    EXPECT_EQ(valid, kPinCount);
    EXPECT_EQ(pin_to_code(-1), 0);
    EXPECT_EQ(pin_to_code(24), 0);
}

TEST(Encoder, DefaultConfiguration) {
    ScriptedUser user;
    DeviceImage image;
    image.fill(0xCC);
    ASSERT_TRUE(encode_image(default_configuration(), image, user.seam()));
    EXPECT_TRUE(user.messages.empty());
    EXPECT_TRUE(all_zero(image, 0, 480));
    EXPECT_EQ(bytes(image, 480, 504),
              (std::vector<uint8_t>{0x45, 0x44, 0x42, 0x46, 0x47, 0x40, 0x41, 0x43,
                                    0x20, 0x21, 0x22, 0x23, 0x24, 0x25, 0x26, 0x27,
                                    0x17, 0x16, 0x15, 0x14, 0x13, 0x12, 0x11, 0x10}));
    EXPECT_EQ(bytes(image, 504, 512),
              (std::vector<uint8_t>{0x2B, 0x0D, 0xA0, 0x10, 0x0C, 0x0C, 0x00, 0x00}));
}

TEST(Encoder, InputsOnlyInPinOrderAndPinListInTableOrder) {
    Configuration config = default_configuration();
    config.rows = config.columns = 0;
    for (int i = 0; i < kPinCount; ++i) {
        config.input_pins[i] = kPinCount - 1 - i; // input i on pin X - i
        config.key_codes[input_index(i)] = 100 + i;
    }
    const DeviceImage image = encoded(config);
    for (int ordinal = 0; ordinal < kPinCount; ++ordinal) {
        // Pin A comes first and is input 23.
        EXPECT_EQ(image[ordinal], 100 + (kPinCount - 1 - ordinal)) << ordinal;
        EXPECT_EQ(image[480 + ordinal], pin_to_code(kPinCount - 1 - ordinal)) << ordinal;
    }
    EXPECT_EQ(image[508], 0);
    EXPECT_EQ(image[509], 0);
}

TEST(Encoder, ColumnsAndRowsInPinOrder) {
    Configuration config = default_configuration();
    config.columns = 2;
    config.rows = 2;
    config.column_pins[0] = 2; // C
    config.column_pins[1] = 0; // A
    config.row_pins[0] = 5;    // F
    config.row_pins[1] = 4;    // E
    for (int i = 0; i < 20; ++i)
        config.input_pins[i] = 6 + i % 18;
    config.input_pins[18] = 1; // B
    config.input_pins[19] = 3; // D
    config.key_codes[cell_index(0, 0)] = 1;
    config.key_codes[cell_index(1, 0)] = 2;
    config.key_codes[cell_index(0, 1)] = 3;
    config.key_codes[cell_index(1, 1)] = 4;
    config.key_codes[input_index(18)] = 50;
    config.key_codes[input_index(19)] = 51;
    config.key_codes[input_index(0)] = 52; // pin G, after B and D
    ScriptedUser user;
    DeviceImage image;
    ASSERT_TRUE(encode_image(config, image, user.seam()));
    EXPECT_EQ(image[480], 0x42);
    EXPECT_EQ(image[481], 0x45);
    // Column 1 (pin A) first; within it row 1 (pin E) before row 0 (pin F).
    EXPECT_EQ(bytes(image, 0, 4), (std::vector<uint8_t>{4, 3, 2, 1}));
    EXPECT_EQ(bytes(image, 4, 7), (std::vector<uint8_t>{50, 51, 52}));
}

TEST(Encoder, PinCollisionNamesThePinAndLeavesNothing) {
    Configuration config = default_configuration();
    config.rows = 11; // the one input sits on pin A, like column 0
    ScriptedUser user;
    DeviceImage image;
    image.fill(0x55);
    EXPECT_FALSE(encode_image(config, image, user.seam()));
    EXPECT_TRUE(all_zero(image));
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].text, "Error: Pin A is used for multiple scan lines");
    EXPECT_EQ(user.messages[0].caption, "ZQ70 Configuration Utility");
    EXPECT_EQ(user.messages[0].icon, MessageIcon::Error);
    EXPECT_EQ(user.messages[0].buttons, MessageButtons::Ok);

    // The first equal pair in list order is named: here two rows on pin S.
    config = default_configuration();
    config.row_pins[3] = 18;
    config.row_pins[9] = 18;
    config.row_pins[6] = 18;
    user.messages.clear();
    EXPECT_FALSE(encode_image(config, image, user.seam()));
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].text, "Error: Pin S is used for multiple scan lines");
}

MacroSlot macro(std::initializer_list<int> make, std::initializer_list<int> release = {}) {
    MacroSlot slot{};
    int i = 0;
    for (int word : make)
        slot.steps[i++] = word;
    i = kStepsPerSequence;
    for (int word : release)
        slot.steps[i++] = word;
    slot.in_use = 1;
    return slot;
}

TEST(Encoder, MacroRecords) {
    Configuration config = default_configuration();
    config.macros[0] = macro({make_step(30), delay_step(5), break_step(30)});
    config.macros[1] = macro({}, {make_step(2), delay_step(0)});
    config.key_codes[cell_index(0, 0)] = macro_code_of_slot(0);
    config.key_codes[cell_index(1, 0)] = macro_code_of_slot(1);
    const DeviceImage image = encoded(config);
    EXPECT_EQ(bytes(image, 144, 150), (std::vector<uint8_t>{0x04, 0x1E, 0x7F, 0x05, 0x9E, 0x00}));
    EXPECT_EQ(bytes(image, 150, 156), (std::vector<uint8_t>{0x00, 0x03, 0x02, 0x7F, 0x00, 0x00}));
    EXPECT_TRUE(all_zero(image, 155, 480));
    EXPECT_EQ(image[0], 0x81);
    EXPECT_EQ(image[1], 0x82);
}

TEST(Encoder, StepsAfterAGapAreKept) {
    Configuration config = default_configuration();
    MacroSlot& slot = config.macros[0];
    slot.in_use = 1;
    slot.steps[0] = make_step(30);
    slot.steps[3] = delay_step(7);
    slot.steps[15] = break_step(30);
    slot.steps[16 + 9] = make_step(31);
    const DeviceImage image = encoded(config);
    EXPECT_EQ(bytes(image, 144, 152),
              (std::vector<uint8_t>{0x04, 0x1E, 0x7F, 0x07, 0x9E, 0x01, 0x1F, 0x00}));
}

TEST(Encoder, RefusesMacrosBeyondTheMacroArea) {
    // Only a damaged state can hold this much: 127 macros of 16 make steps each.
    Configuration config = default_configuration();
    for (int s = 0; s < kUsableMacroSlots; ++s) {
        config.macros[s].in_use = 1;
        for (int i = 0; i < kStepsPerSequence; ++i)
            config.macros[s].steps[i] = make_step(5);
    }
    ScriptedUser user;
    DeviceImage image;
    image.fill(0x77);
    EXPECT_FALSE(encode_image(config, image, user.seam()));
    EXPECT_TRUE(all_zero(image));
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].icon, MessageIcon::Error);
    EXPECT_NE(user.messages[0].text.find("macro"), std::string::npos);

    // Exactly 336 bytes fit: 21 macros of 16 bytes (2 lengths + 14 key steps).
    config = default_configuration();
    for (int s = 0; s < 21; ++s) {
        config.macros[s].in_use = 1;
        for (int i = 0; i < 14; ++i)
            config.macros[s].steps[i] = make_step(6);
    }
    ASSERT_TRUE(encode_image(config, image, user.seam()));
    EXPECT_EQ(image[144 + 20 * 16], 14);
    EXPECT_EQ(image[479], 0);
    EXPECT_EQ(image[478], 6);
    // One more key step would need offset 480.
    config.macros[20].steps[14] = make_step(6);
    EXPECT_FALSE(encode_image(config, image, user.seam()));
}

TEST(Encoder, RefusesADamagedLayout) {
    Configuration config = default_configuration();
    config.rows = 13; // 13 + 12 pins do not exist
    ScriptedUser user;
    DeviceImage image;
    EXPECT_FALSE(encode_image(config, image, user.seam()));
    EXPECT_TRUE(all_zero(image));
    EXPECT_EQ(user.messages.size(), 1u);

    config = default_configuration();
    config.row_pins[11] = 24;
    EXPECT_FALSE(encode_image(config, image, user.seam()));
    config.row_pins[11] = 23;
    config.row_pins[12] = -1; // beyond the count: not in force
    EXPECT_TRUE(encode_image(config, image, user.seam()));
    EXPECT_EQ(user.messages.size(), 2u);
}

// The encoder's refusals as values, for the front ends that word them themselves: the
// same first pair that the message names, the bytes the macros take beyond the area, and
// every refusal reported even when an earlier one would stop the encoder.
TEST(EncodeCheck, TellsWhatTheEncoderRefusesAsValues) {
    Configuration config = default_configuration();
    EXPECT_EQ(check_encoding(config).refusal, EncodeRefusal::None);
    EXPECT_EQ(check_encoding(config).macro_bytes, 0);

    config.row_pins[3] = 18;   // row 6 is on S already
    config.row_pins[9] = 18;   // a later pair is not the one told
    config.input_pins[0] = 18; // not in force with 12 x 12
    EncodeCheck check = check_encoding(config);
    EXPECT_EQ(check.refusal, EncodeRefusal::PinUsedTwice);
    EXPECT_EQ(check.first_entry, 12 + 3);
    EXPECT_EQ(check.second_entry, 12 + 6);
    EXPECT_EQ(check.pin, 18);
    EXPECT_EQ(refusal_text(check), "Pin S is used for multiple scan lines");

    // A line and an input on one pin: the input's place counts after every line.
    config = default_configuration();
    config.rows = 11;
    check = check_encoding(config);
    EXPECT_EQ(check.first_entry, 0);
    EXPECT_EQ(check.second_entry, 23);
    EXPECT_EQ(kEncoderErrorWord + refusal_text(check),
              "Error: Pin A is used for multiple scan lines");

    // 22 macros of 16 bytes: 352 bytes, 16 more than the memory; with a doubled pin too,
    // the pin is refused first and the overflow is still told.
    for (int s = 0; s < 22; ++s) {
        config.macros[s].in_use = 1;
        for (int i = 0; i < 14; ++i)
            config.macros[s].steps[i] = make_step(6);
    }
    check = check_encoding(config);
    EXPECT_EQ(check.refusal, EncodeRefusal::PinUsedTwice);
    EXPECT_EQ(check.macro_bytes, 352);
    EXPECT_EQ(check.macro_overflow(), 16);
    config.rows = 12;
    check = check_encoding(config);
    EXPECT_EQ(check.refusal, EncodeRefusal::MacrosTooLarge);
    EXPECT_EQ(refusal_text(check),
              "The macros do not fit into the 336 bytes of macro memory of the ZQ70");
    // A macro without steps still takes its two length bytes; RS-232 mode takes none.
    config.macros[22].in_use = 1;
    EXPECT_EQ(check_encoding(config).macro_bytes, 354);
    EXPECT_EQ(macro_record_size(config.macros[22]), 2);
    config.switches_keypad_to = kSwitchesToRs232;
    EXPECT_EQ(check_encoding(config).refusal, EncodeRefusal::None);
    EXPECT_EQ(check_encoding(config).macro_bytes, 0);

    config = default_configuration();
    config.rows = 13;
    EXPECT_EQ(check_encoding(config).refusal, EncodeRefusal::BadLayout);
    EXPECT_EQ(refusal_text(check_encoding(config)), "The matrix layout is not valid");
}

TEST(Encoder, Rs232ModeWritesRawCodesAndNoMacros) {
    Configuration config = default_configuration();
    config.switches_keypad_to = kSwitchesToRs232;
    for (int32_t& code : config.key_codes)
        code = kRs232NotUsed;
    config.macros[0] = macro({make_step(3)});
    const DeviceImage image = encoded(config);
    for (int i = 0; i < 144; ++i)
        ASSERT_EQ(image[i], 0xF0) << i;
    EXPECT_TRUE(all_zero(image, 144, 480));
    EXPECT_EQ(image[506], 0xB0);
}

TEST(Encoder, OptionBytes) {
    Configuration config = default_configuration();
    config.typematic_delay = 3;
    config.typematic_interval = 31;
    EXPECT_EQ(encoded(config)[504], 0x60);
    config.typematic_delay = 0;
    config.typematic_interval = 0;
    EXPECT_EQ(encoded(config)[504], 0x1F);

    config = default_configuration();
    config.baud_rate = 0;
    config.keyboard_output = 1;
    config.device_make_break = 1;
    config.rs232_to_computer = 2;
    config.computer_type = 1;
    config.typematic_function = 1;
    config.keyboard_make_break = 1;
    DeviceImage image = encoded(config);
    EXPECT_EQ(image[505], 0x08);
    EXPECT_EQ(image[506], 0x48);
    EXPECT_EQ(image[507], 0xC0);
    config.keyboard_output = 2;
    EXPECT_EQ(encoded(config)[506] >> 6, 3);
}

// ---- Decoder ----

// A configuration that differs from the defaults everywhere a decode could touch, so that
// a refused image that changed anything would show.
Configuration busy_configuration() {
    Configuration config = default_configuration();
    std::mt19937 random(7);
    for (int32_t& code : config.key_codes)
        code = static_cast<int>(random() % 127);
    for (int s = 0; s < 5; ++s)
        config.macros[s] = macro({make_step(s + 1)}, {break_step(s + 1)});
    config.key_codes[cell_index(2, 2)] = macro_code_of_slot(4);
    config.rows = 3;
    config.columns = 20;
    config.baud_rate = 2;
    config.typematic_interval = 3;
    config.keyboard_output = 2;
    config.modified = true;
    return config;
}

void expect_refused(const DeviceImage& image, const char* what) {
    Configuration config = busy_configuration();
    Configuration before;
    std::memcpy(&before, &config, sizeof config);
    EXPECT_FALSE(decode_image(image, config)) << what;
    EXPECT_EQ(std::memcmp(&before, &config, sizeof config), 0) << what;
}

DeviceImage with_macros(std::initializer_list<uint8_t> records, int count) {
    DeviceImage image = encoded(default_configuration());
    image[0] = static_cast<uint8_t>(0x80 + count);
    int position = 144;
    for (uint8_t b : records)
        image[position++] = b;
    return image;
}

TEST(Decoder, RefusesBadGeometryAndPins) {
    const DeviceImage good = encoded(default_configuration());
    auto with = [&](int offset, uint8_t value) {
        DeviceImage image = good;
        image[offset] = value;
        return image;
    };
    expect_refused(with(509, 0), "rows 0, columns 12");
    expect_refused(with(508, 0), "columns 0, rows 12");
    DeviceImage image = with(509, 0);
    image[508] = 5;
    expect_refused(image, "rows 0, columns 5");
    expect_refused(with(508, 13), "12 + 13");
    image = with(509, 24);
    image[508] = 0;
    expect_refused(image, "rows 24");
    image = with(509, 1);
    image[508] = 24;
    expect_refused(image, "columns 24");
    image = with(509, 24);
    image[508] = 1;
    expect_refused(image, "rows 24 with a column");
    for (uint8_t pin : {0x48, 0x30, 0x50, 0x05, 0x00, 0x1F, 0xFF})
        for (int entry : {0, 23})
            expect_refused(with(480 + entry, pin), "pin code");
}

TEST(Decoder, RefusesMacroRecordsThatBreakTheirBounds) {
    expect_refused(with_macros({33}, 1), "make length above 32");
    expect_refused(with_macros({0, 33}, 1), "break length above 32");
    expect_refused(
        with_macros({17, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 0}, 1),
        "17 steps");
    expect_refused(with_macros({2, 5, 0x7F, 0}, 1), "delay cut off by its length");
    expect_refused(with_macros({0, 1, 0x7F}, 1), "delay cut off at the end of a record");

    // 21 records of 16 bytes reach offset 480 exactly; a 22nd has no room for its lengths.
    std::vector<uint8_t> full;
    for (int r = 0; r < 21; ++r) {
        full.push_back(14);
        for (int i = 0; i < 14; ++i)
            full.push_back(9);
        full.push_back(0);
    }
    DeviceImage image = encoded(default_configuration());
    std::copy(full.begin(), full.end(), image.begin() + 144);
    image[0] = 0x80 + 21;
    Configuration config = busy_configuration();
    EXPECT_TRUE(decode_image(image, config));
    EXPECT_EQ(config.macros[20].steps[13], 9);
    image[0] = 0x80 + 22;
    expect_refused(image, "record starting at 480");
    // A record whose sequence would run past 479.
    image[0] = 0x80 + 21;
    image[144 + 20 * 16 + 15] = 1;
    expect_refused(image, "break sequence past 479");
    // The same bytes are harmless while the device reports over RS-232.
    image[506] |= 0x10;
    image[0] = 0xFF;
    config = busy_configuration();
    EXPECT_TRUE(decode_image(image, config));
    for (const MacroSlot& slot : config.macros)
        EXPECT_EQ(slot.in_use, 0);
}

TEST(Decoder, CountsAndOptions) {
    DeviceImage image = encoded(default_configuration());
    image[505] = 0x0F;
    image[506] = 0x0C; // output bits 00, Make Only, Computer, rs232_to_computer 3
    image[507] = 0xC0;
    image[504] = 0x60;
    Configuration config = busy_configuration();
    ASSERT_TRUE(decode_image(image, config));
    EXPECT_EQ(config.rows, 12);
    EXPECT_EQ(config.columns, 12);
    EXPECT_EQ(config.baud_rate, 7);
    EXPECT_EQ(config.rs232_to_computer, 3);
    EXPECT_EQ(config.keyboard_output, 0);
    EXPECT_EQ(config.device_make_break, 1);
    EXPECT_EQ(config.keyboard_make_break, 1);
    EXPECT_EQ(config.computer_type, 1);
    EXPECT_EQ(config.typematic_function, 1);
    EXPECT_EQ(config.typematic_delay, 3);
    EXPECT_EQ(config.typematic_interval, 31);
    EXPECT_TRUE(config.modified) << "decoding leaves the flag to its callers";
    const DeviceImage again = encoded(config);
    EXPECT_EQ(again[505], 0x0F);
    EXPECT_EQ(again[506], 0x8C) << "output bits 00 come back as Computer, 10";
    EXPECT_EQ(again[507], 0xC0);

    image[506] = 0x40 | 0x20;
    ASSERT_TRUE(decode_image(image, config));
    EXPECT_EQ(config.keyboard_output, 1);
    image[506] = 0xC0;
    ASSERT_TRUE(decode_image(image, config));
    EXPECT_EQ(config.keyboard_output, 2);
}

TEST(Decoder, AcceptedPinCodesAndInputsOnly) {
    Configuration config = default_configuration();
    config.rows = config.columns = 0;
    DeviceImage image = encoded(config);
    for (int i = 0; i < kPinCount; ++i)
        image[i] = static_cast<uint8_t>(i + 1);
    // Inputs in table order X, A, B, ... : input 0 is on the last pin, so its code is last.
    image[480] = 0x10;
    for (int i = 1; i < kPinCount; ++i)
        image[480 + i] = pin_to_code(i - 1);
    Configuration decoded = busy_configuration();
    ASSERT_TRUE(decode_image(image, decoded));
    EXPECT_EQ(decoded.rows, 0);
    EXPECT_EQ(decoded.input_pins[0], 23);
    EXPECT_EQ(decoded.key_codes[input_index(0)], 24);
    EXPECT_EQ(decoded.key_codes[input_index(1)], 1);
}

TEST(Decoder, RepeatedColumnPinIsAcceptedAndReadWithOneColumnFewer) {
    Configuration config = default_configuration();
    config.rows = 2;
    config.columns = 3;
    config.column_pins[0] = 0;
    config.column_pins[1] = 1;
    config.column_pins[2] = 2;
    config.row_pins[0] = 3;
    config.row_pins[1] = 4;
    for (int i = 0; i < 19; ++i)
        config.input_pins[i] = 5 + i;
    DeviceImage image = encoded(config);
    image[482] = image[480]; // column 2 also on pin A
    for (int i = 0; i < 7; ++i)
        image[i] = static_cast<uint8_t>(10 + i);
    Configuration decoded = busy_configuration();
    ASSERT_TRUE(decode_image(image, decoded));
    EXPECT_EQ(decoded.key_codes[cell_index(0, 0)], 10);
    EXPECT_EQ(decoded.key_codes[cell_index(1, 0)], 11);
    EXPECT_EQ(decoded.key_codes[cell_index(0, 1)], 12);
    EXPECT_EQ(decoded.key_codes[cell_index(1, 1)], 13);
    // Column 2 keeps what it had; the first input is read at R x C as always.
    EXPECT_EQ(decoded.key_codes[cell_index(0, 2)], busy_configuration().key_codes[2]);
    EXPECT_EQ(decoded.key_codes[input_index(0)], 16);
    ScriptedUser user;
    EXPECT_FALSE(encode_image(decoded, image, user.seam()));
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].text, "Error: Pin A is used for multiple scan lines");
}

TEST(Decoder, MacroCountComesFromTheHighestKeyCode) {
    DeviceImage image = with_macros({1, 5, 0, 2, 0x7F, 10, 1, 0x86, 0, 0, 9, 9, 9}, 3);
    image[7] = 0x82;
    EXPECT_EQ(macro_record_count(image), 3);
    Configuration config = busy_configuration();
    ASSERT_TRUE(decode_image(image, config));
    EXPECT_EQ(config.macros[0].in_use, 1);
    EXPECT_EQ(config.macros[0].steps[0], 5);
    EXPECT_EQ(config.macros[0].steps[1], 0);
    EXPECT_EQ(config.macros[1].steps[0], delay_step(10));
    EXPECT_EQ(config.macros[1].steps[16], 0x86);
    EXPECT_EQ(config.macros[2].in_use, 1);
    EXPECT_TRUE(config.macros[2].steps[0] == 0 && config.macros[2].steps[16] == 0);
    EXPECT_EQ(config.macros[3].in_use, 0);
    EXPECT_EQ(config.macros[4].in_use, 0) << "the old table is gone";

    image[0] = 0x80;
    image[7] = 0;
    EXPECT_EQ(macro_record_count(image), 0);
    ASSERT_TRUE(decode_image(image, config));
    for (const MacroSlot& slot : config.macros)
        EXPECT_EQ(slot.in_use, 0);
}

TEST(Decoder, CellsOutsideTheImageKeepTheirCodes) {
    Configuration config = default_configuration();
    config.rows = 23;
    config.columns = 1;
    config.key_codes[cell_index(20, 0)] = 77;
    config.key_codes[cell_index(20, 5)] = 78;
    ASSERT_TRUE(decode_image(encoded(default_configuration()), config));
    EXPECT_EQ(config.rows, 12);
    EXPECT_EQ(config.key_codes[cell_index(20, 0)], 77);
    EXPECT_EQ(config.key_codes[cell_index(20, 5)], 78);
    EXPECT_EQ(config.key_codes[cell_index(5, 0)], 0);
}

} // namespace
} // namespace zq70
