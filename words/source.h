// What zq70cfg's commands read: a configuration file (a 512-byte device image) or a text
// (TOML), told apart by name and content.
#pragma once

#include <string>

#include "config/image.h"

namespace zq70::words {

struct Source {
    std::string path;
    bool is_text = false;
    zq70::DeviceImage image{};    // as encode_image writes it (for a text: as imported)
    zq70::Configuration config{}; // as decode_image or import_text leaves it
    bool encodes = false;         // whether encode_image accepts config (a doubled pin
                                  // or oversized macros in an image file make it false)
    std::string encode_message;   // the encoder's message when it does not (for a text
                                  // that load_source refuses for it: with its place)
};

// Whether path names a configuration text by its extension (".toml", any case). Such a
// name is read and written as text; any other name is told apart by content when read and
// gets the 512-byte image when written.
bool names_text_file(const std::string& path);

// encode_image with its message caught instead of shown: false with the encoder's own text
// ("Error: Pin A is used for multiple scan lines") in message.
bool encode_quietly(const zq70::Configuration& config, zq70::DeviceImage& image,
                    std::string& message);

// Loads path; false with one line ("FILE:LINE:COLUMN: reason", "FILE: ...") in message.
bool load_source(const std::string& path, Source& source, std::string& message);

} // namespace zq70::words
