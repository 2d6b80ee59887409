// Key grid: the count lists, pin boxes, layout for window and matrix sizes, scrolling with
// the focus following the content, and size snapping.
#include "main_window_fixture.h"
#include "mainwin/grid.h"

namespace zq70::testing {
namespace {

using ListsTest = MainWindowTest;

TEST_F(ListsTest, TheChangedListKeepsTheChoiceAndTheOtherAdjusts) {
    choose(main.columns_box, 5);
    choose(main.rows_box, 0);
    EXPECT_EQ(selection(main.columns_box), 0);
    EXPECT_EQ(config().columns, 0);
    EXPECT_EQ(text_of(main.discretes_count), "24");

    choose(main.rows_box, 3);
    EXPECT_EQ(selection(main.columns_box), 1);
    EXPECT_EQ(text_of(main.discretes_count), "20");

    choose(main.rows_box, 20);
    choose(main.columns_box, 10);
    EXPECT_EQ(selection(main.rows_box), 14);
    EXPECT_EQ(config().rows, 14);
    EXPECT_EQ(text_of(main.discretes_count), "0");
    EXPECT_TRUE(config().modified);
}

TEST_F(ListsTest, PinBoxesWriteTheEntryTheyShowWhileScrolled) {
    choose_matrix(11, 12);
    SendMessageA(main.window, WM_HSCROLL, SB_LINERIGHT,
                 reinterpret_cast<LPARAM>(main.column_scroll));
    SendMessageA(main.window, WM_HSCROLL, SB_LINERIGHT,
                 reinterpret_cast<LPARAM>(main.column_scroll));
    SendMessageA(main.window, WM_VSCROLL, SB_LINEDOWN, reinterpret_cast<LPARAM>(main.row_scroll));
    config().modified = false;
    choose(main.pin_boxes[1], 22);
    EXPECT_EQ(config().column_pins[3], 22);
    choose(main.pin_boxes[main.visible_columns + 2], 1);
    EXPECT_EQ(config().row_pins[3], 1);
    EXPECT_TRUE(config().modified);

    choose_matrix(0, 0);
    SendMessageA(main.window, WM_HSCROLL, SB_PAGERIGHT,
                 reinterpret_cast<LPARAM>(main.input_scroll));
    ASSERT_EQ(scroll_position(main.input_scroll), 6);
    choose(main.pin_boxes[1], 0);
    EXPECT_EQ(config().input_pins[7], 0);
    EXPECT_EQ(text_of(main.pin_labels[1]), "Input 8");
}

TEST_F(ListsTest, AnOpenListHasRoom) {
    // The dropped rectangle leaves out the box's frame, so compare open with closed.
    auto list_height = [&] {
        RECT box, dropped;
        GetWindowRect(main.pin_boxes[0], &box);
        SendMessageA(main.pin_boxes[0], CB_GETDROPPEDCONTROLRECT, 0,
                     reinterpret_cast<LPARAM>(&dropped));
        return dropped.bottom - box.top;
    };
    SendMessageA(main.window, WM_COMMAND, MAKEWPARAM(0, CBN_DROPDOWN),
                 reinterpret_cast<LPARAM>(main.pin_boxes[0]));
    const int open = list_height();
    SendMessageA(main.window, WM_COMMAND, MAKEWPARAM(0, CBN_CLOSEUP),
                 reinterpret_cast<LPARAM>(main.pin_boxes[0]));
    EXPECT_EQ(open - list_height(), 256 - 24);
    EXPECT_FALSE(config().modified);
}

using LayoutTest = MainWindowTest;

void expect_range(HWND bar, int maximum) {
    int low = -1, high = -1;
    GetScrollRange(bar, SB_CTL, &low, &high);
    EXPECT_EQ(low, 0);
    EXPECT_EQ(high, maximum);
    EXPECT_EQ(IsWindowVisible(bar) != 0, maximum > 0);
}

TEST_F(LayoutTest, NoMatrixPutsTheInputsInItsPlace) {
    choose_matrix(0, 0);
    EXPECT_EQ(main.visible_columns, 0);
    EXPECT_EQ(main.visible_rows, 0);
    EXPECT_EQ(main.visible_inputs, 7);
    for (int k = 0; k < 7; ++k) {
        EXPECT_RECT(main.pin_labels[k], 25 + 64 * k, 56, 56, 16);
        EXPECT_RECT(main.pin_boxes[k], 25 + 64 * k, 72, 56, -1);
        EXPECT_RECT(main.key_buttons[k], 21 + 64 * k, 100, 64, 48);
        EXPECT_EQ(text_of(main.pin_labels[k]), "Input " + std::to_string(k + 1));
    }
    EXPECT_FALSE(IsWindowVisible(main.key_buttons[7]));
    EXPECT_FALSE(IsWindowVisible(main.pin_boxes[7]));
    EXPECT_RECT(main.input_scroll, 21, 148, 7 * 64, 17);
    expect_range(main.input_scroll, 17);
    expect_range(main.row_scroll, 0);
    expect_range(main.column_scroll, 0);
}

TEST_F(LayoutTest, OneColumnOfTwentyThreeRows) {
    choose_matrix(23, 1);
    EXPECT_EQ(main.visible_columns, 1);
    EXPECT_EQ(main.visible_rows, 6);
    EXPECT_EQ(main.visible_inputs, 0);
    expect_range(main.row_scroll, 17);
    expect_range(main.column_scroll, 0);
    expect_range(main.input_scroll, 0);
    EXPECT_RECT(main.row_scroll, 68 + 64, 100, 17, 6 * 48);
    EXPECT_EQ(text_of(main.pin_labels[6]), "Row 6");
}

TEST_F(LayoutTest, InputStripUnderTheMatrix) {
    choose_matrix(11, 12);
    const int y = 128 + 48 * 4;
    EXPECT_RECT(main.pin_labels[10], 25, y, 56, 16);
    EXPECT_RECT(main.pin_boxes[10], 25, y + 16, 56, -1);
    EXPECT_RECT(main.key_buttons[24], 21, y + 44, 64, 48);
    EXPECT_RECT(main.column_scroll, 68, 100 + 4 * 48, 6 * 64, 17);
    expect_range(main.input_scroll, 0);
}

TEST_F(LayoutTest, WindowSizesDecideWhatFits) {
    set_client_size(341, 333); // the smallest snapped size
    EXPECT_EQ(main.visible_columns, 4);
    EXPECT_EQ(main.visible_rows, 4); // no inputs: two more rows
    choose(main.rows_box, 11);
    EXPECT_EQ(main.visible_rows, 2);
    EXPECT_EQ(main.visible_inputs, 1);

    set_client_size(64 * 12 + 85, 48 * 12 + 237);
    choose(main.rows_box, 12);
    EXPECT_EQ(main.visible_columns, 12);
    EXPECT_EQ(main.visible_rows, 12);
    expect_range(main.column_scroll, 0);
    expect_range(main.row_scroll, 0);
    EXPECT_TRUE(IsWindowVisible(main.key_buttons[143]));
    const int w = 64 * 12 + 85;
    EXPECT_RECT(main.rows_box, w / 6 - 32, 24, 64, -1);
    EXPECT_RECT(main.columns_box, w / 2 - 32, 24, 64, -1);
    EXPECT_RECT(main.header_labels[2], 5 * w / 6 - 48, 8, 96, 16);

    // Lower than the fixed parts: no rows rather than a negative count.
    choose(main.rows_box, 11);
    SetWindowPos(main.window, nullptr, 0, 0, 100, 150, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(main.visible_columns, 0);
    EXPECT_EQ(main.visible_rows, 0);
    EXPECT_EQ(main.visible_inputs, 1);
    EXPECT_FALSE(IsWindowVisible(main.key_buttons[1]));
    EXPECT_FALSE(IsWindowVisible(main.pin_boxes[1]));
    EXPECT_EQ(text_of(main.pin_labels[0]), "Input 1");
}

using ScrollTest = MainWindowTest;

TEST_F(ScrollTest, EveryRequestOfAHorizontalBar) {
    auto request = [&](int code, int thumb = 0) {
        SendMessageA(main.window, WM_HSCROLL, MAKEWPARAM(code, thumb),
                     reinterpret_cast<LPARAM>(main.column_scroll));
        return scroll_position(main.column_scroll);
    };
    EXPECT_EQ(request(SB_LINERIGHT), 1);
    EXPECT_EQ(text_of(main.pin_labels[0]), "Col 2");
    EXPECT_EQ(request(SB_PAGERIGHT), 6); // by 5, held at the end
    EXPECT_EQ(request(SB_LINERIGHT), 6);
    EXPECT_EQ(request(SB_LINELEFT), 5);
    EXPECT_EQ(request(SB_PAGELEFT), 0);
    EXPECT_EQ(request(SB_RIGHT), 6);
    EXPECT_EQ(request(SB_LEFT), 0);
    EXPECT_EQ(request(SB_THUMBTRACK, 3), 3);
    EXPECT_EQ(text_of(main.pin_labels[0]), "Col 4");
    EXPECT_EQ(selection(main.pin_boxes[0]), config().column_pins[3]);
    EXPECT_EQ(request(SB_THUMBPOSITION, 2), 2);
    EXPECT_EQ(request(SB_ENDSCROLL), 2);
    SendMessageA(main.window, WM_HSCROLL, SB_LINERIGHT, 0); // from no grid bar: ignored
    EXPECT_EQ(scroll_position(main.column_scroll), 2);
    SendMessageA(main.window, WM_VSCROLL, SB_PAGEDOWN, 0); // any vertical request: rows
    EXPECT_EQ(scroll_position(main.row_scroll), 5);
    EXPECT_EQ(text_of(main.pin_labels[6]), "Row 6");
}

TEST_F(ScrollTest, ABlockedRequestRefreshesNothing) {
    config().key_codes[cell_index(0, 0)] = 30;
    SendMessageA(main.window, WM_HSCROLL, SB_LINELEFT,
                 reinterpret_cast<LPARAM>(main.column_scroll));
    EXPECT_EQ(text_of(main.key_buttons[0]), "Not Used");
    SendMessageA(main.window, WM_HSCROLL, SB_LINERIGHT,
                 reinterpret_cast<LPARAM>(main.column_scroll));
    SendMessageA(main.window, WM_HSCROLL, SB_LINELEFT,
                 reinterpret_cast<LPARAM>(main.column_scroll));
    EXPECT_NE(text_of(main.key_buttons[0]), "Not Used");
}

TEST_F(ScrollTest, TheFocusFollowsTheContent) {
    const int vc = main.visible_columns;
    SetFocus(main.key_buttons[vc + 2]);
    scroll_columns(main, 1, true);
    EXPECT_EQ(GetFocus(), main.key_buttons[vc + 1]);
    SetFocus(main.key_buttons[vc]);
    scroll_columns(main, 1, true);
    EXPECT_EQ(GetFocus(), main.key_buttons[vc]);
    scroll_columns(main, -2, true);
    EXPECT_EQ(GetFocus(), main.key_buttons[vc + 2]);
    SetFocus(main.pin_boxes[vc - 1]);
    scroll_columns(main, -1, true); // already at 0: no move
    EXPECT_EQ(GetFocus(), main.pin_boxes[vc - 1]);
    scroll_columns(main, 3, true);
    EXPECT_EQ(GetFocus(), main.pin_boxes[vc - 4]);

    SetFocus(main.key_buttons[3 * vc + 4]);
    scroll_rows(main, 2, true);
    EXPECT_EQ(GetFocus(), main.key_buttons[vc + 4]);
    scroll_rows(main, -4, true); // only two to go back
    EXPECT_EQ(GetFocus(), main.key_buttons[3 * vc + 4]);
    SetFocus(main.pin_boxes[vc]);
    scroll_rows(main, 1, true);
    EXPECT_EQ(GetFocus(), main.pin_boxes[vc]);

    choose_matrix(0, 0);
    SetFocus(main.key_buttons[3]);
    scroll_inputs(main, 2, true);
    EXPECT_EQ(GetFocus(), main.key_buttons[1]);
    scroll_inputs(main, -1024, true);
    EXPECT_EQ(GetFocus(), main.key_buttons[3]);
    SetFocus(main.pin_boxes[6]);
    scroll_inputs(main, 1024, true);
    EXPECT_EQ(GetFocus(), main.pin_boxes[0]);
}

TEST_F(ScrollTest, AGrowingWindowBringsThePositionBack) {
    SendMessageA(main.window, WM_HSCROLL, SB_RIGHT, reinterpret_cast<LPARAM>(main.column_scroll));
    set_client_size(64 * 10 + 85, 429);
    EXPECT_EQ(scroll_position(main.column_scroll), 2);
    EXPECT_EQ(text_of(main.pin_labels[0]), "Col 3");
}

TEST(SizeSnapping, WholeCellsWithBothTieRules) {
    RECT frame{0, 0, 0, 0};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, TRUE);
    const int fw = frame.right - frame.left, fh = frame.bottom - frame.top;
    auto snapped = [](int edge, RECT r) {
        snap_window_size(edge, r);
        return r;
    };
    // Halfway between 4 and 5 columns goes to 5; halfway between 2 and 3 rows to 2.
    RECT r = snapped(WMSZ_BOTTOMRIGHT, {100, 50, 100 + fw + 341 + 32, 50 + fh + 333 + 24});
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.top, 50);
    EXPECT_EQ(r.right - r.left, fw + 405);
    EXPECT_EQ(r.bottom - r.top, fh + 333);
    r = snapped(WMSZ_BOTTOMRIGHT, {0, 0, fw + 341 + 31, fh + 333 + 25});
    EXPECT_EQ(r.right, fw + 341);
    EXPECT_EQ(r.bottom, fh + 381);
    // Left and top edges move; right and bottom stay.
    r = snapped(WMSZ_TOPLEFT, {0, 0, 1000, 800});
    EXPECT_EQ(r.right, 1000);
    EXPECT_EQ(r.bottom, 800);
    EXPECT_EQ((r.right - r.left - fw - 85) % 64, 0);
    EXPECT_EQ((r.bottom - r.top - fh - 237) % 48, 0);
    r = snapped(WMSZ_LEFT, {500, 500, 510, 510}); // the smallest: 341 x 333
    EXPECT_EQ(r.left, 510 - fw - 341);
    EXPECT_EQ(r.bottom, 500 + fh + 333);
}

TEST_F(LayoutTest, SizingMessagesAreSnapped) {
    RECT r{0, 0, 200, 200};
    EXPECT_EQ(SendMessageA(main.window, WM_SIZING, WMSZ_RIGHT, reinterpret_cast<LPARAM>(&r)), TRUE);
    RECT frame{0, 0, 341, 333};
    AdjustWindowRect(&frame, WS_OVERLAPPEDWINDOW, TRUE);
    EXPECT_EQ(r.right, frame.right - frame.left);
    EXPECT_EQ(r.bottom, frame.bottom - frame.top);
}

} // namespace
} // namespace zq70::testing
