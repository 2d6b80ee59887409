#include "grid.h"

namespace zq70 {
namespace {

constexpr int kLargestCount = 1023;

// Outer size of a main window around a client area of the given size.
SIZE outer_size(int client_width, int client_height) {
    RECT r{0, 0, client_width, client_height};
    AdjustWindowRect(&r, WS_OVERLAPPEDWINDOW, TRUE);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

// The candidate outer extent nearest to `proposed` among frame + cell * n + fixed, n from
// `first` upwards; a tie goes to the larger candidate when tie_to_larger.
int snap_extent(int proposed, int frame, int cell, int fixed, int first, bool tie_to_larger) {
    bool have_lower = false;
    int lower = 0;
    int upper = 0;
    for (int n = first; n <= kLargestCount; ++n) {
        if (n > first) {
            lower = upper;
            have_lower = true;
        }
        upper = frame + cell * n + fixed;
        if (upper > proposed) break;
    }
    if (!have_lower) return upper;
    const int to_upper = upper - proposed;
    const int to_lower = proposed - lower;
    return (tie_to_larger ? to_upper <= to_lower : to_upper < to_lower) ? upper : lower;
}

} // namespace

void snap_window_size(int edge, RECT& outer) {
    const SIZE frame = outer_size(0, 0);
    const int width = snap_extent(outer.right - outer.left, frame.cx, kCellWidth, kFixedWidth,
                                  kSmallestColumns, true);
    const int height = snap_extent(outer.bottom - outer.top, frame.cy, kCellHeight, kFixedHeight,
                                   kSmallestRows, false);
    if (edge == WMSZ_LEFT || edge == WMSZ_TOPLEFT || edge == WMSZ_BOTTOMLEFT)
        outer.left = outer.right - width;
    else
        outer.right = outer.left + width;
    if (edge == WMSZ_TOP || edge == WMSZ_TOPLEFT || edge == WMSZ_TOPRIGHT)
        outer.top = outer.bottom - height;
    else
        outer.bottom = outer.top + height;
}

} // namespace zq70
