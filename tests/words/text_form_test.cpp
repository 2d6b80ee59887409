#include "config/options.h"
#include "words/text_form.h"

#include <algorithm>
#include <cstring>
#include <numeric>
#include <random>

#include <gtest/gtest.h>

#include "tests/support/random_configuration.h"
#include "words/vocabulary.h"

namespace zq70::words {
namespace {

using namespace zq70;

Configuration defaults() {
    Configuration config;
    reset_configuration(config);
    return config;
}

// The message of the encoder, or "" when it accepts the configuration.
std::string encode(const Configuration& config, DeviceImage& image) {
    std::string message;
    UserInterface ui;
    ui.message = [&](const std::string&, const std::string& text, MessageIcon, MessageButtons) {
        message = text;
        return MessageAnswer::Ok;
    };
    encode_image(config, image, ui);
    return message;
}

using test::Generator;

TEST(TextForm, RandomConfigurationsRoundTripByteForByte) {
    Generator generator;
    int computer_with_macros = 0;
    for (int n = 0; n < 3000; ++n) {
        const Configuration original = generator.make();
        DeviceImage image;
        ASSERT_EQ(encode(original, image), "") << n;
        const std::string text = export_text(original);

        Configuration imported;
        DeviceImage again;
        TextError error;
        ASSERT_TRUE(import_text(text, imported, again, error))
            << n << ": " << error.line << ":" << error.column << " " << error.reason << "\n"
            << text;
        ASSERT_TRUE(image == again) << n << "\n" << text;
        ASSERT_EQ(export_text(imported), text) << n;

        // The other way round: the image read back gives the same text.
        Configuration decoded = defaults();
        ASSERT_TRUE(decode_image(image, decoded)) << n;
        ASSERT_EQ(export_text(decoded), text) << n;
        computer_with_macros += original.switches_keypad_to == 0 && original.macros[0].in_use;
    }
    EXPECT_GT(computer_with_macros, 1200);
    EXPECT_GT(generator.full_memory, 300);
}

// Images that decode accepts, mutated from valid ones: import(export(decode(image))) is
// encode(decode(image)), or the encoder's refusal of a doubled pin word for word.
TEST(TextForm, DecodedImagesRoundTripOrShareTheEncodersRefusal) {
    Generator generator;
    int accepted = 0;
    int doubled_pins = 0;
    for (int n = 0; n < 6000; ++n) {
        DeviceImage image;
        encode(generator.make(), image);
        for (int m = 1 + generator.below(3); m > 0; --m) {
            // Often a pin list byte copied from another entry: a doubled pin.
            const bool header = generator.below(2);
            const int at = header ? kPinListOffset + generator.below(kHeaderSize)
                                  : generator.below(kImageSize);
            const int from =
                header ? kPinListOffset + generator.below(kPinCount) : generator.below(kImageSize);
            image[at] = generator.below(2) ? static_cast<uint8_t>(generator.random()) : image[from];
        }
        Configuration decoded = defaults();
        if (!decode_image(image, decoded)) continue;
        DeviceImage expected;
        const std::string message = encode(decoded, expected);
        Configuration config;
        DeviceImage imported;
        TextError error;
        const bool ok = import_text(export_text(decoded), config, imported, error);
        ASSERT_EQ(ok, message.empty()) << n << " " << error.reason << "\n" << export_text(decoded);
        if (ok) {
            ASSERT_TRUE(imported == expected) << n;
        } else {
            ASSERT_EQ(error.reason, message) << n;
        }
        ++accepted;
        doubled_pins += !ok;
    }
    EXPECT_GT(accepted, 2500);
    EXPECT_GT(doubled_pins, 400);
}

TEST(TextForm, HandWrittenTextBecomesCanonical) {
    const std::string hand = R"(# my keypad
[options]
"Baud Rate Setting"="19200"   # fast
"Typematic Interval" = '30.0'  # a literal string
[layout]
columns    =  2
rows=2
column_pins = [ "a",
  "B", ]     # lower case is fine
row_pins = ["C","D"]
input_pins = ["E", "F", "G", "H", "I", "J", "K", "L", "M", "N", "O", "P", "Q", "R", "S", "T",
              "U", "V", "W", "X"]
[cells]
"Row 2 Col 1" = "Left Ctrl"
"Row 1 Col 1" = "not used"
"Row 1 Col 2" = "macro  2"
"Row 2 Col 2" = "key 14"
[inputs]
"Input 20" = "Print Screen"
"Input 1" = "code 128"
[[macro]]
[[macro]]
break = [ "press   left ctrl", "PRESS a", "release A", "release L Ctrl", "wait 2560 ms" ]
)";
    const std::string canonical = R"([layout]
rows = 2
columns = 2
column_pins = ["A", "B"]
row_pins = ["C", "D"]
input_pins = ["E", "F", "G", "H", "I", "J", "K", "L", "M", "N", "O", "P", "Q", "R", "S", "T", "U", "V", "W", "X"]

[options]
"Keyboard Output to" = "Computer"
"Keyboard Make/Break" = "Make/Break"
"Switches/Keypad to" = "Computer"
"ZQ70 Make/Break" = "Make/Break"
"RS-232 to Computer" = "Disabled"
"Baud Rate Setting" = "19200"
"Computer Type" = "AT"
"Typematic Function" = "Disabled"
"Typematic Delay" = "0.50"
"Typematic Interval" = "30.0"

[cells]
"Row 1 Col 2" = "Macro 2"
"Row 2 Col 1" = "L Ctrl"
"Row 2 Col 2" = "Key 14"

[inputs]
"Input 1" = "Code 128"
"Input 20" = "Prt Scn"

[[macro]] # Macro 1, sent by no cell or input
make = []
break = []

[[macro]] # Macro 2: Row 1 Col 2
make = []
break = ["press L Ctrl", "press A", "release A", "release L Ctrl", "wait 2560 ms"]
)";
    Configuration config;
    DeviceImage image;
    TextError error;
    ASSERT_TRUE(import_text(hand, config, image, error)) << error.line << " " << error.reason;
    const std::string exported = export_text(config);
    ASSERT_EQ(exported.rfind("# ZQ70 configuration as text", 0), 0u);
    EXPECT_EQ(exported.substr(exported.find("\n[layout]") + 1), canonical);
    ASSERT_TRUE(import_text(exported, config, image, error));
    EXPECT_EQ(export_text(config), exported);
    // A minimal text is the default configuration.
    ASSERT_TRUE(import_text("", config, image, error));
    DeviceImage defaults_image;
    encode(defaults(), defaults_image);
    EXPECT_TRUE(image == defaults_image);
}

std::string repeated(const std::string& item, int times) {
    std::string list;
    for (int i = 0; i < times; ++i)
        list += (i ? ", " : "") + item;
    return list;
}

TEST(TextForm, RefusalsSayWhereAndWhyAndChangeNothing) {
    const std::string cell = "[cells]\n\"Row 1 Col 1\" = ";
    const std::string macro = "[cells]\n\"Row 1 Col 1\" = \"Macro 1\"\n[[macro]]\nmake = [";
    const std::string big = "\"press A\"";
    std::string ten_macros = cell + "\"Macro 10\"\n";
    for (int i = 0; i < 10; ++i)
        ten_macros += "[[macro]]\nmake = [" + repeated(big, 16) + "]\nbreak = make\n";
    for (std::size_t at; (at = ten_macros.find("= make")) != std::string::npos;)
        ten_macros.replace(at, 6, "= [" + repeated(big, 16) + "]");
    std::string many_macros = cell + "\"Macro 127\"\n";
    for (int i = 0; i < 128; ++i)
        many_macros += "[[macro]]\n";
    const struct {
        std::string text;
        int line, column;
        std::string reason; // the whole reason when it starts with "Error:"
    } cases[] = {
        {"[layout\nrows = 1\n", 1, 8, "Error while parsing"},
        {"[\n", 1, 2, "Error while parsing key"}, // trips an assertion inside toml++
        {"[layout]\n\xc3\xa9 = 1\n", 2, 1, "Error while parsing"}, // and its whitespace table
        {"[layuot]\nrows = 3\n", 1, 2, "unknown table [layuot]"},
        {"rows = 3\n", 1, 1, "\"rows\" outside a table"},
        {"layout = 5\n", 1, 10, "[layout] must be a table, not a whole number"},
        {"[layout]\nrow = 3\n", 2, 1, "unknown key \"row\" in [layout]"},
        {"[layout]\nrows = \"12\"\n", 2, 8, "rows must be a whole number, not text"},
        {"[layout]\nrows = 24\ncolumns = 0\n", 2, 8, "rows must be 0 to 23, not 24"},
        {"[layout]\nrows = 13\n", 2, 8, "13 rows and 12 columns take more than the 24 pins"},
        {"[layout]\nrows = 0\n", 2, 8, "a matrix has both rows and columns, or neither"},
        {"[layout]\ncolumns = 0\n", 2, 11, "not 12 rows and 0 columns"},
        {"[layout]\nrows = 11\n", 2, 8, "Error: Pin A is used for multiple scan lines"},
        {"[layout]\nrows = 1\ncolumns = 2\ncolumn_pins = [\"A\", \"B\"]\nrow_pins = [\"C\"]\n"
         "input_pins = [\"D\", \"E\", \"F\", \"G\", \"H\", \"I\", \"J\", \"K\", \"L\", \"M\", "
         "\"N\", \"O\", \"P\", \"Q\", \"R\", \"S\", \"T\", \"U\", \"V\", \"W\", \"b\"]\n",
         6, 115, "Error: Pin B is used for multiple scan lines"},
        {"[layout]\nrows = 23\ncolumns = 1\ncolumn_pins = [\"Y\"]\n", 4, 16,
         "\"Y\" is not a pin; pins are the letters A to X"},
        {"[layout]\nrow_pins = [\"A\"]\n", 2, 12, "row_pins lists 1 pin for 12 rows"},
        {"[options]\n\"Baud Rate\" = \"9600\"\n", 2, 1, "unknown option \"Baud Rate\""},
        {"[options]\n\"Baud Rate Setting\" = \"9601\"\n", 2, 23, "has no item \"9601\""},
        {"[options]\n\"Baud Rate Setting\" = 9600\n", 2, 23, "9600 is not a value of"},
        {"[options]\n\"Computer Type\" = true\n", 2, 19, "must be an item as text, not true"},
        {cell + "\"Fn\"\n", 2, 17, "Row 1 Col 1: unknown key name \"Fn\""},
        {cell + "31\n", 2, 17, "Row 1 Col 1 must be a key name"},
        {cell + "\"Key 127\"\n", 2, 17, "key number 127 is outside 1..126"},
        {cell + "\"Macro 2\"\n[[macro]]\n", 2, 17, "Macro 2 does not exist"},
        {"[cells]\n\"Row 13 Col 1\" = \"A\"\n", 2, 1, "Row 13 Col 1 is outside the 12 x 12"},
        {"[cells]\n\"R1C1\" = \"A\"\n", 2, 1, "unknown cell \"R1C1\""},
        {"[inputs]\n\"Input 1\" = \"A\"\n", 2, 1, "Input 1 is beyond the 0 inputs"},
        {"[options]\n\"Switches/Keypad to\" = \"RS-232\"\n" + cell + "256\n", 4, 17,
         "from 0 to 255"},
        {"[options]\n\"Switches/Keypad to\" = \"RS-232\"\n[[macro]]\n", 3, 1, "keeps no macros"},
        {"[[macro]]\nmake = [\"press A\"]\n", 1, 1, "Macro 1 would be lost"},
        {"[macro]\n", 1, 1, "macros are written as [[macro]] tables"},
        {macro + "]\nmakes = []\n", 5, 1, "unknown key \"makes\" in [[macro]]"},
        {macro + "\"press key 0\"]\n", 4, 9, "key number 0 is outside 1..126"},
        {macro + "\"wait 5 ms\"]\n", 4, 9, "10 to 2560 ms in steps of 10 ms, not 5 ms"},
        {macro + "\"wait 2570 ms\"]\n", 4, 9, "not 2570 ms"},
        {macro + "\"wait 255 ms\"]\n", 4, 9, "not 255 ms"},
        {macro + "\"jump\"]\n", 4, 9, "Macro 1, make: a step is \"press KEY\""},
        {macro + "1]\n", 4, 9, "Macro 1, make: a step is text, not a whole number"},
        {macro + repeated(big, 17) + "]\n", 4, 185, "17 steps, but a sequence holds at most 16"},
        {ten_macros, 30, 1, "Macro 10 does not fit: the macros take 340 bytes, 4 more"},
        {many_macros, 130, 1, "the ZQ70 holds at most 127 macros"},
    };
    for (const auto& c : cases) {
        Configuration config;
        DeviceImage image;
        std::memset(&config, 0x5A, sizeof config);
        image.fill(0xA5);
        const Configuration before = config;
        const DeviceImage image_before = image;
        TextError error;
        ASSERT_FALSE(import_text(c.text, config, image, error)) << c.text;
        EXPECT_EQ(error.line, c.line) << c.text << "\n" << error.reason;
        EXPECT_EQ(error.column, c.column) << c.text << "\n" << error.reason;
        if (c.reason.rfind("Error:", 0) == 0)
            EXPECT_EQ(error.reason, c.reason);
        else
            EXPECT_NE(error.reason.find(c.reason), std::string::npos) << error.reason;
        EXPECT_EQ(std::memcmp(&config, &before, sizeof config), 0) << c.text;
        EXPECT_TRUE(image == image_before) << c.text;
    }
}

} // namespace
} // namespace zq70::words
