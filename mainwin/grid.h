// The key grid: which configuration entry each visible control stands for, the layout of
// the fixed controls for the window and matrix size, scrolling and size snapping.
#pragma once

#include "edit/layout_edit.h"
#include "main_window.h"

namespace zq70 {

// Cell geometry of the key grid, in client pixels: the layout, the size snapping and the
// controls' creation all go by it.
constexpr int kCellWidth = 64;
constexpr int kCellHeight = 48;
constexpr int kBarThickness = 17;
constexpr int kPinBoxWidth = 56;    // pin lists and their labels, 4 px inside their column
constexpr int kFixedWidth = 85;     // client width beside the columns: row pins, row bar
constexpr int kFixedHeight = 237;   // client height beside the rows: header, pins, inputs
constexpr int kSmallestColumns = 4; // the window never gets narrower than this many cells
constexpr int kSmallestRows = 2;

enum class GridAxis { Columns, Rows, Inputs };

// Counts of visible controls: VC x VR + VI buttons, VC + VR + VI pin controls.
int visible_button_count(const MainWindow& main);
int visible_pin_count(const MainWindow& main);

// Index of `control` among the visible key buttons / pin boxes, or -1.
int visible_button_index(const MainWindow& main, HWND control);
int visible_pin_box_index(const MainWindow& main, HWND control);

// The key_codes index that visible button `button` shows, from the scroll positions.
int key_code_index(const MainWindow& main, int button);

// The pin table entry that visible pin box `box` stands for.
struct PinLine {
    edit::PinTable table;
    int index;
};
PinLine pin_line_of_box(const MainWindow& main, int box);

int scroll_position(HWND bar);

// Recomputes the visible counts and places, shows and hides the grid controls.
void layout_grid(MainWindow& main);
// Ranges 0..hidden count with page 1; a bar shows only when something is hidden.
void update_scroll_ranges(MainWindow& main);
// layout_grid, update_scroll_ranges and refresh_captions: after any change of the window
// size, of the matrix size or of the whole configuration.
void show_grid(MainWindow& main);

// Move the visible part by delta columns, rows or inputs (clamped to the range); the focus
// follows the content it was on. No refresh when nothing moves.
void scroll_grid(MainWindow& main, GridAxis axis, int delta, bool redraw);
inline void scroll_columns(MainWindow& m, int delta, bool redraw) {
    scroll_grid(m, GridAxis::Columns, delta, redraw);
}
inline void scroll_rows(MainWindow& m, int delta, bool redraw) {
    scroll_grid(m, GridAxis::Rows, delta, redraw);
}
inline void scroll_inputs(MainWindow& m, int delta, bool redraw) {
    scroll_grid(m, GridAxis::Inputs, delta, redraw);
}

// WM_HSCROLL / WM_VSCROLL.
void handle_scroll_message(MainWindow& main, UINT message, WPARAM wparam, LPARAM lparam);

// WM_SIZING: holds the proposed outer rectangle to whole cells (at least 4 columns and
// 2 rows), keeping the edge that is not dragged.
void snap_window_size(int edge, RECT& outer);

} // namespace zq70
