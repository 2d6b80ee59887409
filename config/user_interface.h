// The seam through which the core speaks to the user: message boxes and file name
// questions. The Win32 shell fills it with MessageBoxA and the common dialogs; tests fill
// it with a scripted user.
#pragma once

#include <functional>
#include <string>

namespace zq70 {

enum class MessageIcon { None, Error, Question, Warning, Information };
enum class MessageButtons { Ok, YesNo, YesNoCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };
enum class FileQuestion { Open, Save };

// Every box of the program carries this caption, except the keyboard-line detail boxes.
inline constexpr const char* kProgramCaption = "ZQ70 Configuration Utility";

struct UserInterface {
    // Shows a box owned by the main window and returns the button the user pressed.
    std::function<MessageAnswer(const std::string& caption, const std::string& text,
                                MessageIcon icon, MessageButtons buttons)>
        message;
    // Asks for a file name; false when the user cancels.
    std::function<bool(FileQuestion question, std::string& path)> ask_file_name;
};

// Shorthands for the common shapes; each does nothing when the seam is empty.
MessageAnswer show_message(const UserInterface& ui, const std::string& text, MessageIcon icon,
                           MessageButtons buttons = MessageButtons::Ok,
                           const std::string& caption = kProgramCaption);
inline void show_error(const UserInterface& ui, const std::string& text) {
    show_message(ui, text, MessageIcon::Error);
}

} // namespace zq70
