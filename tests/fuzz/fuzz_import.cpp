// Feeds arbitrary bytes as a configuration text to import_text. A refused text must say why
// and leave both outputs alone. A text that is taken must come back whole from its own
// canonical export: the export imports to the same image, exporting that again changes
// nothing, and the image read back by the decoder gives the same text (nothing the text
// said is lost on the way through a file or the device).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "words/text_form.h"

namespace {

using namespace zq70;
using zq70::words::TextError;

void require(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "fuzz_import: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    Configuration config;
    std::memset(&config, 0x5A, sizeof config);
    DeviceImage image;
    image.fill(0xA5);
    Configuration untouched;
    std::memcpy(&untouched, &config, sizeof config);

    TextError error;
    if (!zq70::words::import_text(text, config, image, error)) {
        require(!error.reason.empty(), "a refusal without a reason");
        require(error.line >= 0 && error.column >= 0, "a refusal at a negative place");
        require(std::memcmp(&config, &untouched, sizeof config) == 0,
                "a refused text changed the configuration");
        for (const uint8_t byte : image)
            require(byte == 0xA5, "a refused text changed the image");
        return 0;
    }

    const std::string canonical = zq70::words::export_text(config);
    Configuration again;
    DeviceImage image_again;
    require(zq70::words::import_text(canonical, again, image_again, error),
            "the canonical export was refused");
    require(image_again == image, "the canonical export imports to another image");
    require(zq70::words::export_text(again) == canonical, "exporting again changed the text");

    Configuration decoded;
    reset_configuration(decoded);
    require(decode_image(image, decoded), "the decoder refused an imported image");
    require(zq70::words::export_text(decoded) == canonical,
            "the image read back says something else");
    return 0;
}
