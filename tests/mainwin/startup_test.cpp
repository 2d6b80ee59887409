// The main window as start-up leaves it.
#include "main_window_fixture.h"
#include "mainwin/grid.h"
#include "mainwin/ui_font.h"
#include "mainwin/volume_check.h"
#include "res/resource_ids.h"

namespace zq70::testing {
namespace {

std::string class_of(HWND control) {
    char name[32] = "";
    GetClassNameA(control, name, sizeof name);
    return name;
}

LONG style_of(HWND control) {
    return GetWindowLongA(control, GWL_STYLE) & ~WS_VISIBLE;
}

// A drop-down list passes WS_VSCROLL on to its list part, which is where it takes effect.
LONG list_box_style(HWND box) {
    COMBOBOXINFO info{};
    info.cbSize = sizeof info;
    GetComboBoxInfo(box, &info);
    return style_of(box) | (GetWindowLongA(info.hwndList, GWL_STYLE) & WS_VSCROLL);
}

using StartupTest = MainWindowTest;

TEST_F(StartupTest, WindowClassTitleAndClientArea) {
    RECT client;
    GetClientRect(main.window, &client);
    EXPECT_EQ(client.right, 469);
    EXPECT_EQ(client.bottom, 429);
    EXPECT_EQ(text_of(main.window), "ZQ70 Configuration Utility");
    EXPECT_EQ(class_of(main.window), "zq70loadClass");
    EXPECT_EQ(GetClassLongPtrA(main.window, GCL_STYLE), CS_OWNDC);
    EXPECT_EQ(GetClassLongPtrA(main.window, GCLP_HBRBACKGROUND), COLOR_BTNFACE + 1);
    EXPECT_NE(GetClassLongPtrA(main.window, GCLP_HICON), 0);
    EXPECT_NE(GetMenu(main.window), nullptr);
    EXPECT_NE(main.accelerators, nullptr);
    EXPECT_TRUE(IsWindowVisible(main.window));
}

TEST_F(StartupTest, HeaderControls) {
    const char* texts[3] = {"Number of Rows", "Number of Columns", "Number of Discretes"};
    const int centres[3] = {469 / 6, 469 / 2, 5 * 469 / 6};
    const HWND boxes[3] = {main.rows_box, main.columns_box, main.discretes_count};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(class_of(main.header_labels[i]), "Static");
        EXPECT_EQ(style_of(main.header_labels[i]), 0x40000001);
        EXPECT_EQ(text_of(main.header_labels[i]), texts[i]);
        EXPECT_TRUE(IsWindowVisible(main.header_labels[i]));
        EXPECT_RECT(main.header_labels[i], centres[i] - 48, 8, 96, 16);
        EXPECT_TRUE(IsWindowVisible(boxes[i]));
        EXPECT_RECT(boxes[i], centres[i] - 32, 24, 64, i == 2 ? 24 : -1);
    }
    EXPECT_EQ(text_of(main.discretes_count), "0");
    for (HWND box : {main.rows_box, main.columns_box}) {
        EXPECT_EQ(class_of(box), "ComboBox");
        EXPECT_EQ(list_box_style(box), 0x40210003);
        ASSERT_EQ(SendMessageA(box, CB_GETCOUNT, 0, 0), 24);
        char entry[8];
        SendMessageA(box, CB_GETLBTEXT, 23, reinterpret_cast<LPARAM>(entry));
        EXPECT_STREQ(entry, "23");
        EXPECT_EQ(selection(box), 12);
    }
}

TEST_F(StartupTest, KeyGridOfTheDefaultMatrix) {
    // 12 x 12 leaves no inputs, so the input strip's height shows two more rows.
    EXPECT_EQ(main.visible_columns, 6);
    EXPECT_EQ(main.visible_rows, 6);
    EXPECT_EQ(main.visible_inputs, 0);
    for (int b = 0; b < kKeyButtonCount; ++b) {
        const HWND button = main.key_buttons[b];
        EXPECT_EQ(class_of(button), "Button");
        EXPECT_EQ(style_of(button), 0x40012000);
        EXPECT_EQ(text_of(button), "Not Used");
        EXPECT_EQ(IsWindowVisible(button) != 0, b < 36) << b;
        if (b < 36) EXPECT_RECT(button, 68 + 64 * (b % 6), 100 + 48 * (b / 6), 64, 48);
    }
    for (int p = 0; p < kPinControlCount; ++p) {
        EXPECT_EQ(style_of(main.pin_labels[p]), 0x40000001);
        EXPECT_EQ(list_box_style(main.pin_boxes[p]), 0x40210003);
        EXPECT_EQ(SendMessageA(main.pin_boxes[p], CB_GETCOUNT, 0, 0), 24);
        EXPECT_EQ(IsWindowVisible(main.pin_boxes[p]) != 0, p < 12) << p;
        EXPECT_EQ(IsWindowVisible(main.pin_labels[p]) != 0, p < 12) << p;
    }
    for (int c = 0; c < 6; ++c) {
        EXPECT_EQ(text_of(main.pin_labels[c]), "Col " + std::to_string(c + 1));
        EXPECT_EQ(selection(main.pin_boxes[c]), c); // A..F
        EXPECT_RECT(main.pin_labels[c], 72 + 64 * c, 56, 56, 16);
        EXPECT_RECT(main.pin_boxes[c], 72 + 64 * c, 72, 56, -1);
    }
    for (int r = 0; r < 6; ++r) {
        EXPECT_EQ(text_of(main.pin_labels[6 + r]), "Row " + std::to_string(r + 1));
        EXPECT_EQ(selection(main.pin_boxes[6 + r]), 12 + r); // M..R
        EXPECT_RECT(main.pin_labels[6 + r], 8, 104 + 48 * r, 56, 16);
        EXPECT_RECT(main.pin_boxes[6 + r], 8, 120 + 48 * r, 56, -1);
    }
    EXPECT_EQ(class_of(main.row_scroll), "ScrollBar");
    EXPECT_EQ(GetWindowLongA(main.row_scroll, GWL_STYLE) & ~WS_VISIBLE, 0x40000001);
    EXPECT_EQ(GetWindowLongA(main.column_scroll, GWL_STYLE) & ~WS_VISIBLE, 0x40000000);
    EXPECT_RECT(main.row_scroll, 68 + 6 * 64, 100, 17, 6 * 48);
    EXPECT_RECT(main.column_scroll, 68, 100 + 6 * 48, 6 * 64, 17);
    EXPECT_TRUE(IsWindowVisible(main.row_scroll));
    EXPECT_TRUE(IsWindowVisible(main.column_scroll));
    EXPECT_FALSE(IsWindowVisible(main.input_scroll));
}

TEST_F(StartupTest, OneInputLeavesFourRows) {
    choose(main.rows_box, 11);
    EXPECT_EQ(main.visible_columns, 6);
    EXPECT_EQ(main.visible_rows, 4);
    EXPECT_EQ(main.visible_inputs, 1);
    EXPECT_EQ(text_of(main.pin_labels[10]), "Input 1");
    EXPECT_EQ(selection(main.pin_boxes[10]), 0); // input 0 sits on pin A
}

TEST_F(StartupTest, MenuMarksAndFlags) {
    EXPECT_EQ(checked_item(IDC_PORT_FIRST, 7), 0);
    EXPECT_EQ(checked_item(1010, 3), 0);
    EXPECT_EQ(checked_item(1013, 2), 0);
    EXPECT_EQ(checked_item(1015, 2), 0);
    EXPECT_EQ(checked_item(1017, 2), 0);
    EXPECT_EQ(checked_item(1019, 3), 0);
    EXPECT_EQ(checked_item(1022, 7), 5); // 9600
    EXPECT_EQ(checked_item(1029, 2), 0);
    EXPECT_EQ(checked_item(1031, 2), 0);
    EXPECT_EQ(checked_item(1033, 4), 1);   // 0.50
    EXPECT_EQ(checked_item(1037, 32), 20); // 10.9
    EXPECT_TRUE(grayed(1014));
    EXPECT_TRUE(grayed(1018));
    EXPECT_FALSE(grayed(1013));
    EXPECT_FALSE(config().modified);
    EXPECT_EQ(session.comm_port, 0);
}

TEST_F(StartupTest, OneFontForEveryControl) {
    LOGFONTA font{};
    ASSERT_TRUE(GetObjectA(main.ui_font, sizeof font, &font));
    const HDC dc = GetDC(main.window);
    const int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(main.window, dc);
    EXPECT_EQ(font.lfHeight, ui_font_height(dpi));
    EXPECT_EQ(font.lfWeight, 400);
    EXPECT_EQ(font.lfCharSet, DEFAULT_CHARSET);
    EXPECT_STREQ(font.lfFaceName, "Microsoft Sans Serif");
    const WPARAM expected = reinterpret_cast<WPARAM>(main.ui_font);
    for (HWND control : {main.rows_box, main.discretes_count, main.pin_boxes[23],
                         main.pin_labels[0], main.key_buttons[143], main.header_labels[2]})
        EXPECT_EQ(static_cast<WPARAM>(SendMessageA(control, WM_GETFONT, 0, 0)), expected);
    EXPECT_EQ(ui_font_height(96), -11);
    EXPECT_EQ(ui_font_height(120), -14);
    EXPECT_EQ(ui_font_height(144), -17);
}

TEST_F(StartupTest, PreferencesChooseThePort) {
    struct Case {
        const char* content;
        int port;
    };
    for (const Case& c :
         {Case{"3", 2}, Case{"7", 6}, Case{"0", 0}, Case{"8", 0}, Case{"x", 0}, Case{"", 0}}) {
        stop();
        write_file(folder.path("zq70load.ini"), c.content);
        start();
        EXPECT_EQ(session.comm_port, c.port) << c.content;
        EXPECT_EQ(checked_item(IDC_PORT_FIRST, 7), c.port) << c.content;
    }
}

TEST(VolumeCheck, WarnsOnlyOnTheDistributionVolume) {
    for (const char* label : {"zq70", "ZQ70 ", "", "DATA"}) {
        ScriptedUser user;
        user.strict = true;
        warn_if_distribution_volume(label, user.seam());
        EXPECT_TRUE(user.messages.empty()) << label;
    }
    ScriptedUser user;
    user.strict = true;
    user.answers = {MessageAnswer::Ok};
    warn_if_distribution_volume("ZQ70", user.seam());
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].caption, "ZQ70 Configuration Utility");
    EXPECT_EQ(
        user.messages[0].text.rfind("Warning: The ZQ70 programs must be copied to and run\n", 0),
        0u);
    EXPECT_EQ(user.messages[0].icon, MessageIcon::None);
    EXPECT_EQ(user.messages[0].buttons, MessageButtons::Ok);
}

} // namespace
} // namespace zq70::testing
