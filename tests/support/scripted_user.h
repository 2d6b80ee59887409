// A user played by a test behind the UserInterface seam: answers message boxes and file
// questions from queues and records everything it was shown.
#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "config/user_interface.h"

namespace zq70::test {

struct ShownMessage {
    std::string caption;
    std::string text;
    MessageIcon icon;
    MessageButtons buttons;
};

struct ScriptedUser {
    // Lenient (the default): an OK box needs no queued answer, and a question or file
    // dialog with nothing queued is cancelled, which a test then sees in its outcome.
    // Strict: every box and every file question must have its answer queued; anything
    // else fails the test.
    bool strict = false;
    std::deque<MessageAnswer> answers;
    // nullopt or "": the user cancels the dialog.
    std::deque<std::optional<std::string>> file_names;
    std::vector<ShownMessage> messages;
    std::vector<FileQuestion> file_questions;

    UserInterface seam() {
        UserInterface ui;
        ui.message = [this](const std::string& caption, const std::string& text, MessageIcon icon,
                            MessageButtons buttons) {
            messages.push_back({caption, text, icon, buttons});
            if (!strict && buttons == MessageButtons::Ok) return MessageAnswer::Ok;
            if (answers.empty()) {
                if (strict) ADD_FAILURE() << "unexpected box: " << text;
                return MessageAnswer::Cancel;
            }
            const MessageAnswer answer = answers.front();
            answers.pop_front();
            return answer;
        };
        ui.ask_file_name = [this](FileQuestion question, std::string& path) {
            file_questions.push_back(question);
            if (file_names.empty()) {
                if (strict) ADD_FAILURE() << "unexpected file question";
                return false;
            }
            const std::optional<std::string> name = file_names.front();
            file_names.pop_front();
            if (!name || name->empty()) return false;
            path = *name;
            return true;
        };
        return ui;
    }
};

} // namespace zq70::test
