#include "main_window_fixture.h"

#include <filesystem>

namespace zq70::testing {

void flush_events(int milliseconds) {
    const DWORD start = GetTickCount();
    MSG message;
    while (GetTickCount() - start < static_cast<DWORD>(milliseconds)) {
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) continue;
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        Sleep(1);
    }
}

void MainWindowTest::SetUp() {
    start();
}

void MainWindowTest::TearDown() {
    stop();
    EXPECT_TRUE(user.answers.empty()) << "answers left over";
    EXPECT_TRUE(user.file_names.empty()) << "file names left over";
}

void MainWindowTest::start() {
    session.config = Configuration{}; // a fresh program has nothing unsaved
    session.preferences_path = folder.path("zq70load.ini");
    user.strict = true;
    session.ui = user.seam();
    main = MainWindow{};
    ASSERT_TRUE(create_main_window(main, session, GetModuleHandleA(nullptr), SW_SHOWNORMAL));
    flush_events();
}

void MainWindowTest::stop() {
    if (IsWindow(main.window)) DestroyWindow(main.window);
    release_main_window(main);
    flush_events(10); // takes the quit message of the destroyed window too
}

void MainWindowTest::command(int id) {
    SendMessageA(main.window, WM_COMMAND, MAKEWPARAM(id, 0), 0);
}

void MainWindowTest::choose(HWND box, int index) {
    SendMessageA(box, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    SendMessageA(main.window, WM_COMMAND, MAKEWPARAM(0, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(box));
}

void MainWindowTest::choose_matrix(int rows, int columns) {
    choose(main.rows_box, rows);
    choose(main.columns_box, columns);
    choose(main.rows_box, rows);
    ASSERT_EQ(config().rows, rows);
    ASSERT_EQ(config().columns, columns);
}

void MainWindowTest::set_client_size(int width, int height) {
    RECT outer{0, 0, width, height};
    AdjustWindowRect(&outer, WS_OVERLAPPEDWINDOW, TRUE);
    SetWindowPos(main.window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER);
    RECT client;
    GetClientRect(main.window, &client);
    ASSERT_EQ(client.right, width);
    ASSERT_EQ(client.bottom, height);
}

void MainWindowTest::hold_key(int vk, bool down) {
    BYTE keys[256];
    GetKeyboardState(keys);
    keys[vk] = down ? 0x80 : 0;
    SetKeyboardState(keys);
}

RECT MainWindowTest::rect_of(HWND control) const {
    RECT r;
    GetWindowRect(control, &r);
    MapWindowPoints(nullptr, main.window, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

void MainWindowTest::expect_rect(HWND control, int x, int y, int width, int height) const {
    const RECT r = rect_of(control);
    EXPECT_EQ(r.left, x);
    EXPECT_EQ(r.top, y);
    EXPECT_EQ(r.right - r.left, width);
    if (height >= 0) {
        EXPECT_EQ(r.bottom - r.top, height);
    }
}

std::string MainWindowTest::text_of(HWND control) const {
    char text[64] = "";
    GetWindowTextA(control, text, sizeof text);
    return text;
}

bool MainWindowTest::checked(int id) const {
    return GetMenuState(GetMenu(main.window), id, MF_BYCOMMAND) & MF_CHECKED;
}

bool MainWindowTest::grayed(int id) const {
    return GetMenuState(GetMenu(main.window), id, MF_BYCOMMAND) & MF_GRAYED;
}

int MainWindowTest::checked_item(int first, int count) const {
    int found = -1;
    for (int item = 0; item < count; ++item) {
        if (!checked(first + item)) continue;
        if (found >= 0) return -1;
        found = item;
    }
    return found;
}

int MainWindowTest::selection(HWND box) const {
    return static_cast<int>(SendMessageA(box, CB_GETCURSEL, 0, 0));
}

} // namespace zq70::testing
