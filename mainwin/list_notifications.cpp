#include "list_notifications.h"

#include "captions.h"
#include "grid.h"
#include "key_cell_edit.h"
#include "menu_marks.h"

namespace zq70 {
namespace {

constexpr int kOpenListHeight = 256; // room for the open list
constexpr int kClosedListHeight = 24;

void resize_list(HWND box, int height) {
    RECT r;
    GetWindowRect(box, &r);
    // Without SWP_NOZORDER the open list comes to the top among its siblings.
    SetWindowPos(box, HWND_TOP, 0, 0, r.right - r.left, height,
                 SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}

int selection(HWND box) {
    return static_cast<int>(SendMessageA(box, CB_GETCURSEL, 0, 0));
}

// The changed count keeps the user's choice; the other one is adjusted so that the matrix
// is 0 x 0 or has a row and a column, and never takes more than the 24 pins.
int adjusted_other_count(int chosen, int other) {
    if (chosen == 0 && other != 0)
        other = 0;
    else if (other == 0 && chosen != 0)
        other = 1;
    if (chosen + other > kPinCount) other = kPinCount - chosen;
    return other;
}

void change_counts(MainWindow& m, HWND box) {
    Configuration& config = m.session->config;
    if (box == m.rows_box) {
        config.rows = selection(box);
        config.columns = adjusted_other_count(config.rows, config.columns);
    } else {
        config.columns = selection(box);
        config.rows = adjusted_other_count(config.columns, config.rows);
    }
    show_counts(m);
    show_grid(m);
}

void selection_changed(MainWindow& m, HWND box) {
    const bool count_box = box == m.rows_box || box == m.columns_box;
    const int pin_box = visible_pin_box_index(m, box);
    if ((!count_box && pin_box < 0) || selection(box) < 0) return;
    if (m.transfer_running) {
        // The configuration is being transferred: the list goes back to what it holds.
        count_box ? show_counts(m) : refresh_captions(m);
        return;
    }
    m.session->config.modified = true;
    if (count_box)
        change_counts(m, box);
    else
        pin_table_entry(m, pin_box) = selection(box);
}

} // namespace

void handle_control_notification(MainWindow& m, HWND control, int code) {
    const int button = visible_button_index(m, control);
    if (button >= 0) {
        if (code == BN_CLICKED && !m.transfer_running) edit_key_cell(m, button);
        return;
    }
    switch (code) {
    case CBN_DROPDOWN: resize_list(control, kOpenListHeight); break;
    case CBN_CLOSEUP: resize_list(control, kClosedListHeight); break;
    case CBN_SELCHANGE: selection_changed(m, control); break;
    default: break;
    }
}

} // namespace zq70
