// What zq70cfg's commands and the web page read: a configuration file (a 512-byte device
// image) or a text (TOML), told apart by name and content.
#pragma once

#include <string>

#include "config/image.h"
#include "text_form.h"

namespace zq70::words {

struct Source {
    std::string path;
    bool is_text = false;
    zq70::DeviceImage image{};    // as encode_image writes it (for a text: as imported)
    zq70::Configuration config{}; // as decode_image or import_text leaves it
    // Why encode_image refuses config, in the words of check ("Pin A is used for multiple
    // scan lines"; for a text that load_source refuses for it, with its place after it);
    // "" when it takes it. Only an image file can load and still be refused.
    std::string refusal;
    // Why a text was refused, with its line and column, for a reader that shows the place
    // itself (the web page); the message of load_source says the same in one line.
    TextError text_error;

    bool encodes() const { return refusal.empty(); }
};

// Whether path names a configuration text by its extension (".toml", any case). Such a
// name is read and written as text; any other name is told apart by content when read and
// gets the 512-byte image when written.
bool names_text_file(const std::string& path);

// Loads path; false with one line ("FILE:LINE:COLUMN: reason", "FILE: ...") in message.
bool load_source(const std::string& path, Source& source, std::string& message);

// Loads the bytes of a file that was read under name (the web page's file chooser), in
// the same way and with the same messages.
bool load_source_bytes(const std::string& name, const std::string& bytes, Source& source,
                       std::string& message);

} // namespace zq70::words
