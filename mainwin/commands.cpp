#include "commands.h"

#include "captions.h"
#include "config/files.h"
#include "config/options.h"
#include "device_commands.h"
#include "dialogs/dialogs.h"
#include "edit/option_edit.h"
#include "menu_marks.h"
#include "res/resource_ids.h"

namespace zq70 {

void run_command(MainWindow& m, int command) {
    switch (command) {
    case IDC_FILE_NEW: new_file(m); return;
    case IDC_FILE_SAVE: save_to_file(m); return;
    case IDC_FILE_WRITE: write_to_device(m); return;
    case IDC_FILE_OPEN: open_from_file(m); return;
    case IDC_FILE_READ: read_from_device(m); return;
    case IDC_FILE_EXIT: exit_program(m); return;
    case IDC_SWITCHES_COMPUTER:
    case IDC_SWITCHES_RS232: choose_switches_keypad(m, command); return;
    case IDC_HELP_ABOUT: show_about_box(m); return;
    default: break;
    }
    if (command >= IDC_PORT_FIRST && command <= IDC_PORT_KEYBOARD)
        choose_port(m, command);
    else if (option_group_of_command(command))
        choose_option(m, command);
}

void new_file(MainWindow& m) {
    new_configuration(*m.session);
}

void save_to_file(MainWindow& m) {
    save_file(*m.session);
}

void open_from_file(MainWindow& m) {
    open_file(*m.session);
}

void exit_program(MainWindow& m) {
    if (query_save_changes(*m.session)) DestroyWindow(m.window);
}

void choose_option(MainWindow& m, int command) {
    const OptionGroup& group = *option_group_of_command(command);
    edit::choose_option(m.session->config, group, command - group.first_command);
    show_option_marks(m);
}

void choose_switches_keypad(MainWindow& m, int command) {
    Session& session = *m.session;
    const int mode = command - IDC_SWITCHES_COMPUTER;
    if (!edit::choose_switches_keypad(session.config, mode)) return;
    if (show_message(session.ui, edit::kSwitchesWarning, MessageIcon::Warning,
                     MessageButtons::YesNo) != MessageAnswer::Yes)
        return;
    edit::set_switches_keypad(session.config, mode);
    show_option_marks(m);
    refresh_captions(m);
}

void choose_port(MainWindow& m, int command) {
    m.session->comm_port = command - IDC_PORT_FIRST;
    show_port_mark(m);
    save_preferences(*m.session);
}

void show_about_box(MainWindow& m) {
    show_about(m.window);
}

} // namespace zq70
