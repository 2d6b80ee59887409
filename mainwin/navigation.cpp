#include "navigation.h"

#include "captions.h"
#include "controls.h"
#include "grid.h"

namespace zq70 {
namespace {

// Focus changes only ever go to visible controls: on a grid too small for the rule's
// target nothing moves.
void focus_button(const MainWindow& m, int button) {
    if (button >= 0 && button < visible_button_count(m)) SetFocus(m.key_buttons[button]);
}

void focus_pin_box(const MainWindow& m, int box) {
    if (box >= 0 && box < visible_pin_count(m)) SetFocus(m.pin_boxes[box]);
}

bool shift_down() {
    return GetKeyState(VK_SHIFT) < 0;
}

// Arrow keys past the visible edge move the content under the focused button instead.
void step_scroll(MainWindow& m, HWND bar, int delta) {
    SetScrollPos(bar, SB_CTL, scroll_position(bar) + delta, TRUE);
    refresh_captions(m);
}

void matrix_cell_key(MainWindow& m, int b, WPARAM key) {
    const Configuration& config = m.session->config;
    const int vc = m.visible_columns, vr = m.visible_rows, vi = m.visible_inputs;
    const int r = b / vc, c = b % vc;
    switch (key) {
    case VK_TAB:
        if (shift_down())
            c > 0 ? focus_button(m, b - 1) : focus_pin_box(m, vc + r);
        else if (c < vc - 1)
            focus_button(m, b + 1);
        else if (r < vr - 1)
            focus_pin_box(m, vc + r + 1);
        else if (vi > 0)
            focus_pin_box(m, vc + vr);
        else
            SetFocus(m.rows_box);
        break;
    case VK_LEFT:
        if (c > 0)
            focus_button(m, b - 1);
        else if (scroll_position(m.column_scroll) > 0)
            step_scroll(m, m.column_scroll, -1);
        break;
    case VK_RIGHT:
        if (c + scroll_position(m.column_scroll) < config.columns - 1)
            c < vc - 1 ? focus_button(m, b + 1) : step_scroll(m, m.column_scroll, 1);
        break;
    case VK_UP:
        if (r > 0)
            focus_button(m, b - vc);
        else if (scroll_position(m.row_scroll) > 0)
            step_scroll(m, m.row_scroll, -1);
        break;
    case VK_DOWN:
        if (r < vr - 1)
            focus_button(m, b + vc);
        else if (r + scroll_position(m.row_scroll) < config.rows - 1)
            step_scroll(m, m.row_scroll, 1);
        break;
    default: break;
    }
}

void input_cell_key(MainWindow& m, int b, WPARAM key) {
    const int vc = m.visible_columns, vr = m.visible_rows, vi = m.visible_inputs;
    const int k = b - vc * vr;
    switch (key) {
    case VK_TAB:
        if (shift_down())
            k > 0 ? focus_button(m, b - 1) : focus_pin_box(m, vc + vr + vi - 1);
        else if (k < vi - 1)
            focus_button(m, b + 1);
        else
            SetFocus(m.rows_box);
        break;
    case VK_LEFT:
        if (k > 0)
            focus_button(m, b - 1);
        else if (scroll_position(m.input_scroll) > 0)
            step_scroll(m, m.input_scroll, -1);
        break;
    case VK_RIGHT:
        if (k + scroll_position(m.input_scroll) < input_count(m.session->config) - 1)
            k < vi - 1 ? focus_button(m, b + 1) : step_scroll(m, m.input_scroll, 1);
        break;
    default: break;
    }
}

void key_button_key(MainWindow& m, HWND button, WPARAM key) {
    const int b = visible_button_index(m, button);
    if (b < 0) return;
    if (key == VK_RETURN) {
        // Enter is a click: the main window hands it to the key cell editing.
        SendMessageA(button, BM_CLICK, 0, 0);
        return;
    }
    if (b < m.visible_columns * m.visible_rows)
        matrix_cell_key(m, b, key);
    else
        input_cell_key(m, b, key);
}

void list_box_tab_forward(const MainWindow& m, HWND box) {
    const int vc = m.visible_columns, vr = m.visible_rows, vi = m.visible_inputs;
    const int p = visible_pin_box_index(m, box);
    if (box == m.columns_box)
        focus_pin_box(m, 0);
    else if (box == m.rows_box)
        SetFocus(m.columns_box);
    else if (p < 0)
        return;
    else if (p < vc)
        focus_pin_box(m, p + 1);
    else if (p < vc + vr)
        focus_button(m, (p - vc) * vc);
    else if (p < vc + vr + vi - 1)
        focus_pin_box(m, p + 1);
    else
        focus_button(m, vc * vr);
}

void list_box_tab_backward(const MainWindow& m, HWND box) {
    const int vc = m.visible_columns, vr = m.visible_rows, vi = m.visible_inputs;
    const int p = visible_pin_box_index(m, box);
    if (box == m.rows_box)
        focus_button(m, vi > 0 ? vc * vr + vi - 1 : vc * vr - 1);
    else if (p == 0)
        SetFocus(m.columns_box);
    else if (box == m.columns_box)
        SetFocus(m.rows_box);
    else if (p < 0)
        return;
    else if (p <= vc)
        focus_pin_box(m, p - 1);
    else if (p < vc + vr)
        focus_button(m, (p - vc) * vc - 1);
    else if (p == vc + vr)
        focus_button(m, vc * vr - 1);
    else
        focus_pin_box(m, p - 1);
}

} // namespace

LRESULT CALLBACK key_button_procedure(HWND button, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_KEYDOWN) {
        if (MainWindow* main = main_window_of(button)) key_button_key(*main, button, wparam);
    }
    return CallWindowProcA(button_class_procedure(), button, message, wparam, lparam);
}

LRESULT CALLBACK list_box_procedure(HWND box, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_KEYDOWN && wparam == VK_TAB) {
        if (MainWindow* main = main_window_of(box)) {
            if (shift_down())
                list_box_tab_backward(*main, box);
            else
                list_box_tab_forward(*main, box);
        }
    }
    return CallWindowProcA(list_box_class_procedure(), box, message, wparam, lparam);
}

} // namespace zq70
