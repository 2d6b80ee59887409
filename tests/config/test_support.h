// Helpers shared by the configuration tests: a scripted user behind the UserInterface seam,
// a temporary folder, and byte-level helpers.
#pragma once

#include <cstdio>
#include <deque>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "config/image.h"
#include "config/session.h"

namespace zq70::test {

struct ShownMessage {
    std::string caption;
    std::string text;
    MessageIcon icon;
    MessageButtons buttons;
};

// Answers message boxes and file questions from queues and records what it was shown.
// An unexpected question fails the test through the empty-queue answers (Cancel, no file).
struct ScriptedUser {
    std::deque<MessageAnswer> answers;
    std::deque<std::string> file_names; // "" means the user cancels the dialog
    std::vector<ShownMessage> messages;
    std::vector<FileQuestion> file_questions;

    UserInterface seam() {
        UserInterface ui;
        ui.message = [this](const std::string& caption, const std::string& text, MessageIcon icon,
                            MessageButtons buttons) {
            messages.push_back({caption, text, icon, buttons});
            if (buttons == MessageButtons::Ok) return MessageAnswer::Ok;
            if (answers.empty()) return MessageAnswer::Cancel;
            const MessageAnswer answer = answers.front();
            answers.pop_front();
            return answer;
        };
        ui.ask_file_name = [this](FileQuestion question, std::string& path) {
            file_questions.push_back(question);
            if (file_names.empty()) return false;
            path = file_names.front();
            file_names.pop_front();
            return !path.empty();
        };
        return ui;
    }
};

class TemporaryFolder {
  public:
    TemporaryFolder() {
        std::random_device seed;
        path_ = std::filesystem::temp_directory_path() /
                ("zq70-config-test-" + std::to_string(seed()) + std::to_string(seed()));
        std::filesystem::create_directories(path_);
    }
    ~TemporaryFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TemporaryFolder(const TemporaryFolder&) = delete;
    TemporaryFolder& operator=(const TemporaryFolder&) = delete;

    std::string file(const std::string& name) const { return (path_ / name).string(); }

  private:
    std::filesystem::path path_;
};

inline std::vector<uint8_t> read_all(const std::string& path) {
    std::vector<uint8_t> bytes;
    if (std::FILE* file = std::fopen(path.c_str(), "rb")) {
        for (int c; (c = std::fgetc(file)) != EOF;)
            bytes.push_back(static_cast<uint8_t>(c));
        std::fclose(file);
    }
    return bytes;
}

inline void write_all(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return;
    if (!bytes.empty()) std::fwrite(bytes.data(), 1, bytes.size(), file);
    std::fclose(file);
}

inline Configuration default_configuration() {
    Configuration config{};
    reset_configuration(config);
    return config;
}

// Encodes with nobody to see a message; the tests that expect messages use ScriptedUser.
inline DeviceImage encoded(const Configuration& config) {
    DeviceImage image{};
    encode_image(config, image, UserInterface{});
    return image;
}

} // namespace zq70::test
