// Writes, one JSON object a line, what the native build makes of random inputs, for the web
// page's module to make the same of (web/tests/core/equivalence.test.mjs):
//   {"kind":"config", "text", "encoded", "imported" (with "words" now and then)}
//       a random configuration: its text, its image (or the encoder's refusal), and what
//       import makes of the text
//   {"kind":"image", "image", "decoded", "source", "text"?, "encoded"?, "words"?}
//       an image mutated from a valid one: loaded as a file, decoded, exported, encoded
//   {"kind":"badText", "text", "imported"}
//       a text with a slip in it (most are refused, with a line and column)
// "words" (listing, differences from the defaults, check, sheet) come with every 25th case
// of a kind: they are long. Usage: make_web_cases COUNT [SEED]
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/support/random_configuration.h"
#include "words/check.h"
#include "words/compare.h"
#include "words/listing.h"
#include "words/sheet.h"
#include "words/source.h"
#include "words/text_form.h"

namespace {

using namespace zq70;

std::string json(const std::string& text) {
    static const char kHex[] = "0123456789abcdef";
    std::string out = "\"";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (byte < 0x20) {
            out += "\\u00";
            out += kHex[byte >> 4];
            out += kHex[byte & 15];
        } else {
            out += c; // UTF-8 passes as it is
        }
    }
    return out + "\"";
}

std::string json(const std::vector<std::string>& lines) {
    std::string out = "[";
    for (std::size_t i = 0; i < lines.size(); ++i)
        out += (i > 0 ? "," : "") + json(lines[i]);
    return out + "]";
}

std::string hex(const DeviceImage& image) {
    static const char kHex[] = "0123456789abcdef";
    std::string out;
    for (const uint8_t b : image) {
        out += kHex[b >> 4];
        out += kHex[b & 15];
    }
    return out;
}

Configuration defaults() {
    Configuration config{};
    reset_configuration(config);
    return config;
}

// "encoded": the image, or the encoder's message box text.
std::string encoded(const Configuration& config) {
    const EncodeCheck check = check_encoding(config);
    if (check.refusal != EncodeRefusal::None)
        return "\"encoded\":{\"refusal\":" + json(kEncoderErrorWord + refusal_text(check)) + "}";
    DeviceImage image{};
    encode_image(config, image, UserInterface{});
    return "\"encoded\":{\"image\":" + json(hex(image)) + "}";
}

std::string report_words(const Configuration& config) {
    std::vector<std::string> check;
    for (const words::Finding& finding : words::check_configuration(config))
        check.push_back(words::finding_line(finding));
    return "{\"listing\":" + json(words::listing(config)) +
           ",\"differences\":" + json(words::differences(defaults(), config)) +
           ",\"check\":" + json(check) + ",\"sheet\":" + json(words::wiring_sheet(config, "case")) +
           "}";
}

// A slip a person makes in a text: a character gone, doubled, or replaced.
std::string with_slip(std::string text, test::Generator& generator) {
    const std::size_t at = static_cast<std::size_t>(generator.below(static_cast<int>(text.size())));
    static const char kSlips[] = "=[]\"#,{}.0123456789zZ -";
    switch (generator.below(3)) {
    case 0: text.erase(at, 1); break;
    case 1: text.insert(at, 1, text[at]); break;
    default: text[at] = kSlips[generator.below(static_cast<int>(sizeof kSlips - 1))];
    }
    return text;
}

std::string text_error(const words::TextError& error) {
    return "{\"line\":" + std::to_string(error.line) +
           ",\"column\":" + std::to_string(error.column) + ",\"reason\":" + json(error.reason) +
           ",\"unwritable\":" + json(error.unwritable) + "}";
}

// What import makes of a text: the image and its text as export writes it, or where and why
// it refuses it; with words, the reports on the configuration that import made.
std::string imported(const std::string& text, bool with_words = false) {
    Configuration config = defaults();
    DeviceImage image{};
    words::TextError error;
    if (!words::import_text(text, config, image, error))
        return "{\"error\":" + text_error(error) + "}";
    return "{\"image\":" + json(hex(image)) + ",\"export\":" + json(words::export_text(config)) +
           (with_words ? ",\"words\":" + report_words(config) : "") + "}";
}

void config_case(const Configuration& config, bool with_words) {
    const std::string text = words::export_text(config);
    std::printf("{\"kind\":\"config\",\"text\":%s,%s,\"imported\":%s}\n", json(text).c_str(),
                encoded(config).c_str(), imported(text, with_words).c_str());
}

// An image mutated from a valid one, often in its pin list: what loading it as a file says,
// and when it decodes, its text and what the encoder makes of it.
void image_case(DeviceImage image, test::Generator& generator, bool with_words) {
    for (int m = 1 + generator.below(3); m > 0; --m) {
        const bool header = generator.below(2);
        const int at =
            header ? kPinListOffset + generator.below(kHeaderSize) : generator.below(kImageSize);
        const int from =
            header ? kPinListOffset + generator.below(kPinCount) : generator.below(kImageSize);
        image[at] = generator.below(2) ? static_cast<uint8_t>(generator.random()) : image[from];
    }
    words::Source source;
    std::string message;
    const bool loaded = words::load_source_bytes(
        "case.bin", std::string(image.begin(), image.end()), source, message);
    Configuration config = defaults();
    const bool decoded = decode_image(image, config);
    std::printf("{\"kind\":\"image\",\"image\":%s,\"decoded\":%s,\"source\":{\"ok\":%s,"
                "\"message\":%s,\"refusal\":%s}",
                json(hex(image)).c_str(), decoded ? "true" : "false", loaded ? "true" : "false",
                json(message).c_str(), json(source.refusal).c_str());
    if (decoded)
        std::printf(",\"text\":%s,%s%s", json(words::export_text(config)).c_str(),
                    encoded(config).c_str(),
                    with_words ? (",\"words\":" + report_words(config)).c_str() : "");
    std::printf("}\n");
}

void bad_text_case(const std::string& text, test::Generator& generator) {
    const std::string slipped = with_slip(text, generator);
    std::printf("{\"kind\":\"badText\",\"text\":%s,\"imported\":%s}\n", json(slipped).c_str(),
                imported(slipped).c_str());
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: make_web_cases COUNT [SEED]\n");
        return 2;
    }
    const int count = std::atoi(argv[1]);
    test::Generator generator(argc > 2 ? static_cast<unsigned>(std::atoi(argv[2])) : 20261210u);
    for (int n = 0; n < count; ++n) {
        Configuration config = generator.make();
        // Now and then a doubled pin, which every path must refuse in the same words.
        if (generator.below(10) == 0) config.input_pins[0] = config.column_pins[0];
        config_case(config, n % 25 == 0);
        DeviceImage image{};
        encode_image(config, image, UserInterface{});
        image_case(image, generator, n % 25 == 1);
        if (n % 3 == 0) bad_text_case(words::export_text(config), generator);
    }
    return 0;
}
