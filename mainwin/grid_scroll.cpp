#include <algorithm>

#include "captions.h"
#include "grid.h"

namespace zq70 {
namespace {

HWND bar_of(const MainWindow& m, GridAxis axis) {
    switch (axis) {
    case GridAxis::Columns: return m.column_scroll;
    case GridAxis::Rows: return m.row_scroll;
    case GridAxis::Inputs: return m.input_scroll;
    }
    return nullptr;
}

int visible_count(const MainWindow& m, GridAxis axis) {
    switch (axis) {
    case GridAxis::Columns: return m.visible_columns;
    case GridAxis::Rows: return m.visible_rows;
    case GridAxis::Inputs: return m.visible_inputs;
    }
    return 0;
}

int clamp_to_line(int index, int count) {
    return std::clamp(index, 0, std::max(count - 1, 0));
}

// After the content moved by delta, the focus goes to the control that now shows what the
// focused one showed, or to the nearest visible one on the same line.
void follow_focus(MainWindow& m, GridAxis axis, int delta) {
    const HWND focus = GetFocus();
    const int vc = m.visible_columns, vr = m.visible_rows, vi = m.visible_inputs;
    const int matrix = vc * vr;
    const int b = visible_button_index(m, focus);
    const int p = visible_pin_box_index(m, focus);
    switch (axis) {
    case GridAxis::Columns:
        if (b >= 0 && b < matrix) {
            const int c = b % vc;
            SetFocus(m.key_buttons[b - c + clamp_to_line(c - delta, vc)]);
        } else if (p >= 0 && p < vc) {
            SetFocus(m.pin_boxes[clamp_to_line(p - delta, vc)]);
        }
        break;
    case GridAxis::Rows:
        if (b >= 0 && b < matrix) {
            SetFocus(m.key_buttons[clamp_to_line(b / vc - delta, vr) * vc + b % vc]);
        } else if (p >= vc && p < vc + vr) {
            SetFocus(m.pin_boxes[vc + clamp_to_line(p - vc - delta, vr)]);
        }
        break;
    case GridAxis::Inputs:
        if (b >= matrix) {
            SetFocus(m.key_buttons[matrix + clamp_to_line(b - matrix - delta, vi)]);
        } else if (p >= vc + vr) {
            SetFocus(m.pin_boxes[vc + vr + clamp_to_line(p - vc - vr - delta, vi)]);
        }
        break;
    }
}

} // namespace

void scroll_grid(MainWindow& m, GridAxis axis, int delta, bool redraw) {
    const HWND bar = bar_of(m, axis);
    const int position = scroll_position(bar);
    int low = 0, high = 0;
    GetScrollRange(bar, SB_CTL, &low, &high);
    delta = std::clamp(position + delta, low, high) - position;
    if (delta == 0) return;
    SetScrollPos(bar, SB_CTL, position + delta, redraw);
    follow_focus(m, axis, delta);
    refresh_captions(m);
}

void handle_scroll_message(MainWindow& m, UINT message, WPARAM wparam, LPARAM lparam) {
    GridAxis axis;
    const HWND source = reinterpret_cast<HWND>(lparam);
    if (message == WM_VSCROLL)
        axis = GridAxis::Rows;
    else if (source == m.column_scroll)
        axis = GridAxis::Columns;
    else if (source == m.input_scroll)
        axis = GridAxis::Inputs;
    else
        return;

    const int page = visible_count(m, axis) - 1; // a page keeps one line in view
    constexpr int kToEnd = 1024;
    switch (LOWORD(wparam)) {
    case SB_LINEUP: scroll_grid(m, axis, -1, true); break;
    case SB_LINEDOWN: scroll_grid(m, axis, 1, true); break;
    case SB_PAGEUP: scroll_grid(m, axis, -page, true); break;
    case SB_PAGEDOWN: scroll_grid(m, axis, page, true); break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        // Live while dragging; the bar moves its thumb itself.
        scroll_grid(m, axis, HIWORD(wparam) - scroll_position(bar_of(m, axis)), false);
        break;
    case SB_TOP: scroll_grid(m, axis, -kToEnd, true); break;
    case SB_BOTTOM: scroll_grid(m, axis, kToEnd, true); break;
    default: break;
    }
}

} // namespace zq70
