// Keyboard work in the grid: one Tab cycle both ways, Enter as a click, arrows that move the
// focus and arrows that scroll.
#include "main_window_fixture.h"
#include "mainwin/grid.h"

namespace zq70::testing {
namespace {

class NavigationTest : public MainWindowTest {
  protected:
    void press(WPARAM key, bool shift = false) {
        hold_key(VK_SHIFT, shift);
        SendMessageA(GetFocus(), WM_KEYDOWN, key, 1);
        hold_key(VK_SHIFT, false);
    }

    // rows_box, columns_box, column pin boxes, each row's pin box and cells, input pin
    // boxes, input cells.
    std::vector<HWND> tab_order() const {
        const int vc = main.visible_columns, vr = main.visible_rows, vi = main.visible_inputs;
        std::vector<HWND> order{main.rows_box, main.columns_box};
        for (int c = 0; c < vc; ++c)
            order.push_back(main.pin_boxes[c]);
        for (int r = 0; r < vr; ++r) {
            order.push_back(main.pin_boxes[vc + r]);
            for (int c = 0; c < vc; ++c)
                order.push_back(main.key_buttons[r * vc + c]);
        }
        for (int k = 0; k < vi; ++k)
            order.push_back(main.pin_boxes[vc + vr + k]);
        for (int k = 0; k < vi; ++k)
            order.push_back(main.key_buttons[vc * vr + k]);
        return order;
    }

    void expect_tab_cycle() {
        const std::vector<HWND> order = tab_order();
        SetFocus(main.window);
        press(VK_TAB);
        for (size_t i = 0; i < order.size(); ++i) {
            ASSERT_EQ(GetFocus(), order[i]) << "forwards, step " << i;
            press(VK_TAB);
        }
        ASSERT_EQ(GetFocus(), order[0]) << "round the cycle";
        for (size_t i = order.size(); i-- > 0;) {
            press(VK_TAB, true);
            ASSERT_EQ(GetFocus(), order[i]) << "backwards, step " << i;
        }
    }
};

TEST_F(NavigationTest, TabCyclesOverTheWholeGrid) {
    {
        SCOPED_TRACE("12 x 12, no inputs");
        expect_tab_cycle();
    }
    {
        SCOPED_TRACE("11 x 12, one input");
        choose_matrix(11, 12);
        expect_tab_cycle();
    }
    {
        SCOPED_TRACE("0 x 0, inputs only");
        choose_matrix(0, 0);
        expect_tab_cycle();
    }
}

LRESULT CALLBACK record_clicks(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
WNDPROC main_procedure;
std::vector<HWND> clicked;

LRESULT CALLBACK record_clicks(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    // Taken here, so that no editing dialog opens.
    if (message == WM_COMMAND && HIWORD(wparam) == BN_CLICKED && lparam) {
        clicked.push_back(reinterpret_cast<HWND>(lparam));
        return 0;
    }
    return CallWindowProcA(main_procedure, window, message, wparam, lparam);
}

TEST_F(NavigationTest, EnterClicksTheFocusedButton) {
    main_procedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(main.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(record_clicks)));
    clicked.clear();
    SetFocus(main.key_buttons[8]);
    press(VK_RETURN);
    SetWindowLongPtrA(main.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(main_procedure));
    ASSERT_EQ(clicked.size(), 1u);
    EXPECT_EQ(clicked[0], main.key_buttons[8]);
}

TEST_F(NavigationTest, ArrowsMoveInsideAndScrollAtTheEdges) {
    choose_matrix(11, 12); // 6 x 4 visible of 12 x 11, one input
    const int vc = main.visible_columns;
    config().key_codes[cell_index(0, 6)] = 30;
    SetFocus(main.key_buttons[4]);
    press(VK_RIGHT);
    EXPECT_EQ(GetFocus(), main.key_buttons[5]);
    press(VK_RIGHT); // past the last visible column: the content moves, the focus stays
    EXPECT_EQ(GetFocus(), main.key_buttons[5]);
    EXPECT_EQ(scroll_position(main.column_scroll), 1);
    EXPECT_NE(text_of(main.key_buttons[5]), "Not Used");
    for (int i = 0; i < 10; ++i)
        press(VK_RIGHT);
    EXPECT_EQ(scroll_position(main.column_scroll), 6); // column 12 is the last
    press(VK_LEFT);
    EXPECT_EQ(GetFocus(), main.key_buttons[4]);

    SetFocus(main.key_buttons[0]);
    press(VK_LEFT);
    EXPECT_EQ(scroll_position(main.column_scroll), 5);
    EXPECT_EQ(GetFocus(), main.key_buttons[0]);
    press(VK_UP); // top row at position 0: nothing
    EXPECT_EQ(GetFocus(), main.key_buttons[0]);
    EXPECT_EQ(scroll_position(main.row_scroll), 0);
    press(VK_DOWN);
    EXPECT_EQ(GetFocus(), main.key_buttons[vc]);
    SetFocus(main.key_buttons[3 * vc]);
    for (int i = 0; i < 10; ++i)
        press(VK_DOWN);
    EXPECT_EQ(scroll_position(main.row_scroll), 7); // row 11 is the last
    EXPECT_EQ(text_of(main.pin_labels[vc + 3]), "Row 11");
    press(VK_UP);
    EXPECT_EQ(GetFocus(), main.key_buttons[2 * vc]);
}

TEST_F(NavigationTest, ArrowsOnInputs) {
    choose_matrix(0, 0); // 7 of 24 inputs visible
    SetFocus(main.key_buttons[6]);
    press(VK_RIGHT);
    EXPECT_EQ(scroll_position(main.input_scroll), 1);
    EXPECT_EQ(text_of(main.pin_labels[6]), "Input 8");
    for (int i = 0; i < 30; ++i)
        press(VK_RIGHT);
    EXPECT_EQ(scroll_position(main.input_scroll), 17);
    EXPECT_EQ(GetFocus(), main.key_buttons[6]);
    press(VK_UP);
    press(VK_DOWN);
    EXPECT_EQ(GetFocus(), main.key_buttons[6]);
    SetFocus(main.key_buttons[0]);
    press(VK_LEFT);
    EXPECT_EQ(scroll_position(main.input_scroll), 16);
}

} // namespace
} // namespace zq70::testing
