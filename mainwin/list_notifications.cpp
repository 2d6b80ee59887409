#include "list_notifications.h"

#include "captions.h"
#include "edit/layout_edit.h"
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

void change_count(MainWindow& m, HWND box) {
    const auto list = box == m.rows_box ? edit::CountList::Rows : edit::CountList::Columns;
    edit::choose_count(m.session->config, list, selection(box));
    show_counts(m);
    show_grid(m);
}

void change_pin(MainWindow& m, HWND box, int pin_box) {
    const PinLine line = pin_line_of_box(m, pin_box);
    edit::choose_pin(m.session->config, line.table, line.index, selection(box));
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
    if (count_box)
        change_count(m, box);
    else
        change_pin(m, box, pin_box);
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
