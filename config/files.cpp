#include "files.h"

#include <cstdio>

#include "durable_file.h"
#include "file_modes.h"

namespace zq70 {

namespace {

constexpr const char* kSaveChangesQuestion =
    "The current configuration has changed.\nDo you want to save the changes?";
constexpr const char* kSaveError = "Error saving the file";
constexpr const char* kOpenError = "Error opening the file";
constexpr const char* kInvalidFile = "Invalid configuration file";

} // namespace

ReadResult read_image_file(const std::string& path, DeviceImage& image) {
    std::FILE* file = std::fopen(path.c_str(), kReadMode);
    if (file == nullptr) return ReadResult::CannotOpen;
    const std::size_t count = std::fread(image.data(), 1, image.size(), file);
    // A read error (a folder opened as a file, a device that fails) is no short file.
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed) return ReadResult::CannotOpen;
    return count == image.size() ? ReadResult::Ok : ReadResult::TooShort;
}

bool write_image_file(const std::string& path, const DeviceImage& image) {
    return replace_file(path, image.data(), image.size());
}

bool query_save_changes(Session& session) {
    if (!session.config.modified) return true;
    switch (show_message(session.ui, kSaveChangesQuestion, MessageIcon::Question,
                         MessageButtons::YesNoCancel)) {
    case MessageAnswer::Yes: return save_file(session);
    case MessageAnswer::No: return true;
    default: return false;
    }
}

bool save_file(Session& session) {
    DeviceImage image;
    if (!encode_image(session.config, image, session.ui)) return false;
    std::string path;
    if (!session.ui.ask_file_name || !session.ui.ask_file_name(FileQuestion::Save, path))
        return false;
    if (!write_image_file(path, image)) {
        show_error(session.ui, kSaveError);
        return false;
    }
    session.config.modified = false;
    return true;
}

void open_file(Session& session) {
    if (!query_save_changes(session)) return;
    std::string path;
    if (!session.ui.ask_file_name || !session.ui.ask_file_name(FileQuestion::Open, path)) return;
    DeviceImage image;
    switch (read_image_file(path, image)) {
    case ReadResult::CannotOpen: show_error(session.ui, kOpenError); return;
    case ReadResult::TooShort: show_error(session.ui, kInvalidFile); return;
    case ReadResult::Ok: break;
    }
    if (!decode_image(image, session.config)) {
        show_error(session.ui, kInvalidFile);
        return;
    }
    session.config.modified = false;
    show_configuration(session);
}

void load_preferences(Session& session) {
    std::FILE* file = std::fopen(session.preferences_path.c_str(), kReadMode);
    if (file == nullptr) return;
    const int byte = std::fgetc(file);
    std::fclose(file);
    if (byte == EOF) return;
    const uint8_t port = static_cast<uint8_t>(byte - '1');
    if (port > kKeyboardPort) return;
    session.comm_port = port;
    if (session.view.show_port) session.view.show_port();
}

void save_preferences(const Session& session) {
    const char byte = static_cast<char>('1' + session.comm_port);
    replace_file(session.preferences_path, &byte, 1);
}

} // namespace zq70
