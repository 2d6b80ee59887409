#include <algorithm>

#include "captions.h"
#include "grid.h"

namespace zq70 {
namespace {

// Where the strips of the key grid start, in client pixels.
constexpr int kMatrixLeft = 68;
constexpr int kMatrixTop = 100;
constexpr int kInputLeft = 21;
constexpr int kPinInset = (kCellWidth - kPinBoxWidth) / 2; // inside their cell's column

// Moves a control without touching its size, Z order or activation.
void place(HWND control, int x, int y) {
    SetWindowPos(control, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void place_and_show(HWND control, int x, int y) {
    place(control, x, y);
    ShowWindow(control, SW_SHOW);
}

void place_headers(MainWindow& m, int width) {
    const int centres[3] = {width / 6, width / 2, 5 * width / 6};
    const HWND boxes[3] = {m.rows_box, m.columns_box, m.discretes_count};
    for (int i = 0; i < 3; ++i) {
        place(m.header_labels[i], centres[i] - 48, 8);
        place(boxes[i], centres[i] - 32, 24);
    }
}

// Top of the input strip: under the matrix and its bar, or in the matrix's place.
int input_strip_top(int visible_rows) {
    return visible_rows > 0 ? 128 + kCellHeight * visible_rows : 56;
}

void place_scroll_bars(MainWindow& m) {
    const int vc = m.visible_columns, vr = m.visible_rows, vi = m.visible_inputs;
    const int matrix_bottom = kMatrixTop + kCellHeight * vr;
    MoveWindow(m.column_scroll, kMatrixLeft, matrix_bottom, kCellWidth * vc, kBarThickness, FALSE);
    MoveWindow(m.input_scroll, kInputLeft, input_strip_top(vr) + 92, kCellWidth * vi, kBarThickness,
               FALSE);
    MoveWindow(m.row_scroll, kMatrixLeft + kCellWidth * vc, kMatrixTop, kBarThickness,
               kCellHeight * vr, FALSE);
}

void place_key_buttons(MainWindow& m) {
    const int vc = m.visible_columns, vr = m.visible_rows, vi = m.visible_inputs;
    for (int r = 0; r < vr; ++r) {
        for (int c = 0; c < vc; ++c) {
            place_and_show(m.key_buttons[r * vc + c], kMatrixLeft + kCellWidth * c,
                           kMatrixTop + kCellHeight * r);
        }
    }
    const int input_top = input_strip_top(vr) + 44;
    for (int k = 0; k < vi; ++k)
        place_and_show(m.key_buttons[vc * vr + k], kInputLeft + kCellWidth * k, input_top);
    for (int b = vc * vr + vi; b < kKeyButtonCount; ++b)
        ShowWindow(m.key_buttons[b], SW_HIDE);
}

void place_pin_controls(MainWindow& m) {
    const int vc = m.visible_columns, vr = m.visible_rows, vi = m.visible_inputs;
    int p = 0;
    for (int c = 0; c < vc; ++c, ++p) {
        const int x = kMatrixLeft + kPinInset + kCellWidth * c;
        place_and_show(m.pin_labels[p], x, 56);
        place_and_show(m.pin_boxes[p], x, 72);
    }
    for (int r = 0; r < vr; ++r, ++p) {
        const int y = kMatrixTop + kPinInset + kCellHeight * r;
        place_and_show(m.pin_labels[p], 8, y);
        place_and_show(m.pin_boxes[p], 8, y + 16);
    }
    const int input_top = input_strip_top(vr);
    for (int k = 0; k < vi; ++k, ++p) {
        const int x = kInputLeft + kPinInset + kCellWidth * k;
        place_and_show(m.pin_labels[p], x, input_top);
        place_and_show(m.pin_boxes[p], x, input_top + 16);
    }
    for (; p < kPinControlCount; ++p) {
        ShowWindow(m.pin_labels[p], SW_HIDE);
        ShowWindow(m.pin_boxes[p], SW_HIDE);
    }
}

void set_scroll_range(HWND bar, int hidden) {
    SCROLLINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SIF_RANGE | SIF_PAGE;
    info.nMin = 0;
    info.nMax = hidden;
    info.nPage = 1;
    SetScrollInfo(bar, SB_CTL, &info, TRUE);
    // Keep the position, but never beyond what is hidden now.
    if (scroll_position(bar) > hidden) SetScrollPos(bar, SB_CTL, hidden, TRUE);
    ShowWindow(bar, hidden > 0 ? SW_SHOW : SW_HIDE);
}

} // namespace

void layout_grid(MainWindow& m) {
    RECT client;
    GetClientRect(m.window, &client);
    const int width = client.right;
    const int height = client.bottom;
    const Configuration& config = m.session->config;

    int fit_columns = (width - kFixedWidth) / kCellWidth;
    int fit_inputs = fit_columns + 1; // the input strip starts further left
    int fit_rows = (height - kFixedHeight) / kCellHeight;
    fit_columns = std::min(fit_columns, int{config.columns});
    fit_rows = std::min(fit_rows, int{config.rows});
    fit_inputs = std::min(fit_inputs, input_count(config));
    // Without an input strip its height goes to the matrix: two more rows.
    if (fit_inputs == 0) fit_rows = std::min(fit_rows + 2, int{config.rows});
    // A client area lower or narrower than the fixed parts shows nothing there, rather than
    // a negative count that would index outside the controls.
    fit_columns = std::max(fit_columns, 0);
    fit_rows = std::max(fit_rows, 0);
    fit_inputs = std::max(fit_inputs, 0);

    place_headers(m, width);

    if (fit_columns == m.visible_columns && fit_rows == m.visible_rows &&
        fit_inputs == m.visible_inputs)
        return;
    m.visible_columns = fit_columns;
    m.visible_rows = fit_rows;
    m.visible_inputs = fit_inputs;

    place_scroll_bars(m);
    place_key_buttons(m);
    place_pin_controls(m);
    InvalidateRect(m.window, nullptr, TRUE);
}

void update_scroll_ranges(MainWindow& m) {
    const Configuration& config = m.session->config;
    set_scroll_range(m.row_scroll, config.rows - m.visible_rows);
    set_scroll_range(m.column_scroll, config.columns - m.visible_columns);
    set_scroll_range(m.input_scroll, input_count(config) - m.visible_inputs);
}

void show_grid(MainWindow& m) {
    layout_grid(m);
    update_scroll_ranges(m);
    refresh_captions(m);
}

} // namespace zq70
