#include "grid.h"

namespace zq70 {

int visible_button_count(const MainWindow& m) {
    return m.visible_columns * m.visible_rows + m.visible_inputs;
}

int visible_pin_count(const MainWindow& m) {
    return m.visible_columns + m.visible_rows + m.visible_inputs;
}

int visible_button_index(const MainWindow& m, HWND control) {
    if (!control) return -1;
    const int count = visible_button_count(m);
    for (int b = 0; b < count; ++b) {
        if (m.key_buttons[b] == control) return b;
    }
    return -1;
}

int visible_pin_box_index(const MainWindow& m, HWND control) {
    if (!control) return -1;
    const int count = visible_pin_count(m);
    for (int p = 0; p < count; ++p) {
        if (m.pin_boxes[p] == control) return p;
    }
    return -1;
}

int scroll_position(HWND bar) {
    return GetScrollPos(bar, SB_CTL);
}

int key_code_index(const MainWindow& m, int button) {
    const int matrix = m.visible_columns * m.visible_rows;
    if (button < matrix) {
        const int row = button / m.visible_columns + scroll_position(m.row_scroll);
        const int column = button % m.visible_columns + scroll_position(m.column_scroll);
        return cell_index(row, column);
    }
    return input_index(scroll_position(m.input_scroll) + button - matrix);
}

PinLine pin_line_of_box(const MainWindow& m, int box) {
    if (box < m.visible_columns)
        return {edit::PinTable::Columns, scroll_position(m.column_scroll) + box};
    box -= m.visible_columns;
    if (box < m.visible_rows) return {edit::PinTable::Rows, scroll_position(m.row_scroll) + box};
    box -= m.visible_rows;
    return {edit::PinTable::Inputs, scroll_position(m.input_scroll) + box};
}

} // namespace zq70
