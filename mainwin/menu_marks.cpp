#include "menu_marks.h"

#include "config/options.h"
#include "config/text_format.h"
#include "main_window_texts.h"
#include "res/resource_ids.h"

namespace zq70 {
namespace {

// Exactly the item of `value` is checked; a value outside the group checks none.
void mark_group(HMENU menu, int first_command, int item_count, int value) {
    for (int item = 0; item < item_count; ++item) {
        CheckMenuItem(menu, static_cast<UINT>(first_command + item),
                      MF_BYCOMMAND | (item == value ? MF_CHECKED : MF_UNCHECKED));
    }
}

void enable_item(HMENU menu, int command, bool enabled) {
    EnableMenuItem(menu, static_cast<UINT>(command),
                   MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

constexpr int kPortCount = 7; // Com 1..6, Keyboard

} // namespace

void show_option_marks(MainWindow& m) {
    const HMENU menu = GetMenu(m.window);
    const Configuration& config = m.session->config;
    for (const OptionGroup& group : option_groups)
        mark_group(menu, group.first_command, group.item_count, config.*group.field);
    enable_item(menu, kKeyboardMakeOnlyCommand, keyboard_make_only_enabled(config));
    enable_item(menu, kDeviceMakeOnlyCommand, device_make_only_enabled(config));
}

void show_port_mark(MainWindow& m) {
    mark_group(GetMenu(m.window), IDC_PORT_FIRST, kPortCount, m.session->comm_port);
}

void show_counts(MainWindow& m) {
    const Configuration& config = m.session->config;
    SendMessageA(m.rows_box, CB_SETCURSEL, static_cast<WPARAM>(config.rows), 0);
    SendMessageA(m.columns_box, CB_SETCURSEL, static_cast<WPARAM>(config.columns), 0);
    SetWindowTextA(m.discretes_count, format_text(kCountFormat, input_count(config)).c_str());
}

} // namespace zq70
