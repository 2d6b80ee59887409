#include "source.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "config/files.h"
#include "text_form.h"

namespace zq70::words {

namespace {

// Far beyond any configuration text; keeps a wrong argument (a disk image, /dev/zero) from
// being read whole.
constexpr std::size_t kLongestText = 4 * 1024 * 1024;

// A text holds no NUL and no control characters but tabs and line ends; every device image
// has zeros in its last two bytes and control bytes in its header.
bool looks_like_text(const std::string& bytes) {
    return std::none_of(bytes.begin(), bytes.end(), [](char c) {
        const auto byte = static_cast<unsigned char>(c);
        return byte < 0x20 && byte != '\t' && byte != '\n' && byte != '\r';
    });
}

bool read_prefix(const std::string& path, std::string& bytes) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    bytes.resize(kLongestText + 1);
    file.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<std::size_t>(file.gcount()));
    return !file.bad();
}

bool too_short(const std::string& path, std::string& message) {
    message = path + ": Invalid configuration file (shorter than 512 bytes)";
    return false;
}

// The image as encode_image writes it for what the decoder made of it (all 0 when the
// encoder refuses it, as for the window program's Save).
bool take_image(const std::string& path, Source& source, std::string& message) {
    zq70::reset_configuration(source.config);
    if (!zq70::decode_image(source.image, source.config)) {
        message = path + ": Invalid configuration file";
        return false;
    }
    source.refusal = zq70::refusal_text(zq70::check_encoding(source.config));
    zq70::encode_image(source.config, source.image, zq70::UserInterface{});
    return true;
}

bool load_image(const std::string& path, Source& source, std::string& message) {
    switch (zq70::read_image_file(path, source.image)) {
    case zq70::ReadResult::CannotOpen: message = path + ": cannot be read"; return false;
    case zq70::ReadResult::TooShort: return too_short(path, message);
    case zq70::ReadResult::Ok: break;
    }
    return take_image(path, source, message);
}

// The first 512 bytes, as the window program's Open reads a file.
bool load_image_bytes(const std::string& name, const std::string& bytes, Source& source,
                      std::string& message) {
    if (bytes.size() < source.image.size()) return too_short(name, message);
    std::copy_n(bytes.begin(), source.image.size(), source.image.begin());
    return take_image(name, source, message);
}

bool load_text(const std::string& path, const std::string& text, Source& source,
               std::string& message) {
    if (text.size() > kLongestText) {
        message = path + ": too long for a configuration text";
        return false;
    }
    TextError error;
    zq70::reset_configuration(source.config);
    if (!import_text(text, source.config, source.image, error)) {
        source.text_error = error;
        std::string place = path;
        if (error.line > 0)
            place += ":" + std::to_string(error.line) + ":" + std::to_string(error.column);
        message = place + ": " + error.reason;
        if (!error.unwritable.empty()) source.refusal = error.unwritable + " (" + place + ")";
        return false;
    }
    return true;
}

} // namespace

bool names_text_file(const std::string& path) {
    const std::string name = std::filesystem::path(path).filename().string();
    const std::size_t dot = name.find_last_of('.');
    if (dot == std::string::npos) return false;
    std::string extension = name.substr(dot + 1);
    for (char& c : extension)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return extension == "toml";
}

bool load_source(const std::string& path, Source& source, std::string& message) {
    source = Source{};
    source.path = path;
    std::string bytes;
    if (!read_prefix(path, bytes)) {
        message = path + ": cannot be read";
        return false;
    }
    source.is_text = names_text_file(path) || looks_like_text(bytes);
    return source.is_text ? load_text(path, bytes, source, message)
                          : load_image(path, source, message);
}

bool load_source_bytes(const std::string& name, const std::string& bytes, Source& source,
                       std::string& message) {
    source = Source{};
    source.path = name;
    source.is_text = names_text_file(name) || looks_like_text(bytes);
    return source.is_text ? load_text(name, bytes, source, message)
                          : load_image_bytes(name, bytes, source, message);
}

} // namespace zq70::words
