#include "user_interface.h"

namespace zq70 {

MessageAnswer show_message(const UserInterface& ui, const std::string& text, MessageIcon icon,
                           MessageButtons buttons, const std::string& caption) {
    if (ui.message) return ui.message(caption, text, icon, buttons);
    // Nobody can be asked: a plain notice counts as read, but a question is taken as
    // Cancel so that no caller goes on to drop or overwrite anything on its own.
    return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::Cancel;
}

} // namespace zq70
