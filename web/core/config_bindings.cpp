// config/ for the page: the configuration as an opaque object, the image codec and what the
// encoder refuses, the key catalogue and the one table of options.
#include <emscripten/bind.h>

#include "config/image.h"
#include "config/key_names.h"
#include "config/options.h"
#include "js_values.h"
#include "words/vocabulary.h"

namespace zq70::web {

namespace {

Configuration new_configuration() {
    Configuration config{};
    reset_configuration(config);
    return config;
}

// The configuration of an image, or null when the decoder refuses it ("Invalid
// configuration file" for a file, "Invalid configuration" after a device read).
val decode(const val& bytes) {
    DeviceImage image{};
    if (!image_of(bytes, image)) return val::null();
    Configuration config = new_configuration();
    if (!decode_image(image, config)) return val::null();
    return val(config);
}

const char* refusal_name(EncodeRefusal refusal) {
    switch (refusal) {
    case EncodeRefusal::None: return "none";
    case EncodeRefusal::BadLayout: return "badLayout";
    case EncodeRefusal::PinUsedTwice: return "pinUsedTwice";
    case EncodeRefusal::MacrosTooLarge: return "macrosTooLarge";
    }
    return "none";
}

val encode_check(const Configuration& config) {
    const EncodeCheck check = check_encoding(config);
    val result = val::object();
    result.set("refusal", refusal_name(check.refusal));
    result.set("text", refusal_text(check));
    result.set("firstEntry", check.first_entry);
    result.set("secondEntry", check.second_entry);
    result.set("pin", check.pin);
    result.set("macroBytes", check.macro_bytes);
    result.set("macroOverflow", check.macro_overflow());
    return result;
}

// { bytes } as Save and Write send them, or { refusal } in the encoder's message box words
// ("Error: Pin A is used for multiple scan lines").
val encode(const Configuration& config) {
    val result = val::object();
    const EncodeCheck check = check_encoding(config);
    if (check.refusal != EncodeRefusal::None) {
        result.set("refusal", std::string(kEncoderErrorWord) + refusal_text(check));
        return result;
    }
    DeviceImage image{};
    encode_image(config, image, UserInterface{});
    result.set("bytes", image_value(image));
    return result;
}

// Every key number 1..126 that the catalogue names, with its names and the caption of its
// button in "Select a key" as a user reads them (single ampersands).
val key_catalogue() {
    val keys = val::array();
    for (int key = 1; key <= kHighestKeyNumber; ++key) {
        const std::string short_name = words::key_text(key);
        if (short_name.empty()) continue;
        val entry = val::object();
        entry.set("key", key);
        entry.set("shortName", short_name);
        entry.set("longName", words::key_long_text(key));
        entry.set("button", words::key_button_text(key));
        keys.call<void>("push", entry);
    }
    return keys;
}

// The ten options in the order of the Options menu, with the field each one sets.
val option_table() {
    static const char* const kFields[kOptionGroupCount] = {
        "keyboardOutput",  "keyboardMakeBreak", "switchesKeypadTo", "deviceMakeBreak",
        "rs232ToComputer", "baudRate",          "computerType",     "typematicFunction",
        "typematicDelay",  "typematicInterval"};
    val options = val::array();
    for (int i = 0; i < kOptionGroupCount; ++i) {
        const OptionGroup& group = option_groups[i];
        val items = val::array();
        for (int v = 0; v < group.item_count; ++v)
            items.call<void>("push", std::string(group.items[v]));
        val entry = val::object();
        entry.set("caption", group.caption);
        entry.set("field", kFields[i]);
        entry.set("items", items);
        options.call<void>("push", entry);
    }
    return options;
}

// The sizes of a configuration that the page lays out and indexes by: stated here once.
val limits() {
    val limits = val::object();
    limits.set("pinCount", kPinCount);
    limits.set("maxLines", kMaxLines);
    limits.set("rowStride", kRowStride);
    limits.set("firstInput", kMatrixCells);
    limits.set("macroMemory", kMacroMemory);
    limits.set("rs232NotUsed", kRs232NotUsed);
    return limits;
}

} // namespace

} // namespace zq70::web

EMSCRIPTEN_BINDINGS(zq70_config) {
    using namespace emscripten;
    using namespace zq70::web;
    // Opaque to the page: the editor reads and changes it through its own bindings. Copied by
    // value across the boundary; the page deletes what it receives.
    class_<zq70::Configuration>("Configuration")
        .constructor(&new_configuration)
        .function("clone", optional_override([](const zq70::Configuration& c) { return c; }));
    function("decodeImage", &decode);
    function("encodeImage", &encode);
    function("checkEncoding", &encode_check);
    function("keyCatalogue", &key_catalogue);
    function("optionTable", &option_table);
    function("limits", &limits);
}
