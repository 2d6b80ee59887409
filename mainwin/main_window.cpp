#include "main_window.h"

#include <commctrl.h>

#include <string>

#include "captions.h"
#include "config/files.h"
#include "config/text_format.h"
#include "controls.h"
#include "grid.h"
#include "main_window_texts.h"
#include "menu_marks.h"
#include "res/resource_ids.h"
#include "ui_font.h"
#include "window_procedure.h"

namespace zq70 {
namespace {

void register_window_class(HINSTANCE instance) {
    WNDCLASSEXA window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.style = CS_OWNDC;
    window_class.lpfnWndProc = main_window_procedure;
    window_class.hInstance = instance;
    window_class.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_MAIN));
    window_class.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // IDC_ARROW
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window_class.lpszMenuName = MAKEINTRESOURCEA(IDM_MAIN);
    window_class.lpszClassName = kMainWindowClass;
    // A second main window in the same process (tests) finds the class registered.
    RegisterClassExA(&window_class);
}

HWND create_window(MainWindow& m) {
    RECT outer{0, 0, kClientWidth, kClientHeight};
    AdjustWindowRect(&outer, WS_OVERLAPPEDWINDOW, TRUE);
    return CreateWindowExA(0, kMainWindowClass, kProgramCaption, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                           CW_USEDEFAULT, outer.right - outer.left, outer.bottom - outer.top,
                           nullptr, nullptr, m.instance, &m);
}

// Redrawing is left on while filling: on Windows WM_SETREDRAW goes through the default
// procedure, which would make the hidden lists visible.
template <typename EntryText> void fill_list(HWND box, EntryText entry_text) {
    for (int n = 0; n < kPinCount; ++n) {
        const std::string entry = entry_text(n);
        SendMessageA(box, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    }
}

// Entries 0 to 23 of the row and column lists.
void add_numbers(HWND box) {
    fill_list(box, [](int n) { return format_text(kCountFormat, n); });
}

// Entries A to X of a pin list: entry index = pin index.
void add_pin_letters(HWND box) {
    fill_list(box, [](int pin) { return std::string(1, pin_letter(pin)); });
}

HWND create_scroll_bar(MainWindow& m, DWORD direction, int x, int y, int width, int height) {
    return CreateWindowExA(0, "SCROLLBAR", "", WS_CHILD | WS_VISIBLE | direction, x, y, width,
                           height, m.window, nullptr, m.instance, nullptr);
}

void create_controls(MainWindow& m) {
    const char* headers[3] = {kRowsLabelText, kColumnsLabelText, kDiscretesLabelText};
    const int header_x[3] = {8, 164, 320};
    for (int i = 0; i < 3; ++i) {
        m.header_labels[i] = create_label(m, header_x[i], 8, 96, 16, headers[i]);
        ShowWindow(m.header_labels[i], SW_SHOW);
    }
    for (HWND& label : m.pin_labels)
        label = create_label(m, 0, 0, kPinBoxWidth, 16, "");

    m.rows_box = create_list_box(m, 48, 24, 64, 24);
    m.columns_box = create_list_box(m, 206, 24, 64, 24);
    m.discretes_count = create_label(m, 346, 24, 64, 24, "0");
    add_numbers(m.rows_box);
    add_numbers(m.columns_box);
    for (HWND control : {m.rows_box, m.columns_box, m.discretes_count})
        ShowWindow(control, SW_SHOW);

    for (HWND& box : m.pin_boxes) {
        box = create_list_box(m, 0, 0, kPinBoxWidth, 24);
        add_pin_letters(box);
    }
    for (HWND& button : m.key_buttons)
        button = create_key_button(m, 0, 0, kCellWidth, kCellHeight, edit::kNotUsedCaption);

    // Placed for real by the first layout_grid.
    m.row_scroll = create_scroll_bar(m, SBS_VERT, 452, 56, kBarThickness, 332);
    m.column_scroll = create_scroll_bar(m, SBS_HORZ, 0, 388, 452, kBarThickness);
    m.input_scroll = create_scroll_bar(m, SBS_HORZ, 0, 388, 452, kBarThickness);
}

void connect_view(MainWindow& m, Session& session) {
    session.view.show_options = [&m] { show_option_marks(m); };
    session.view.show_counts = [&m] { show_counts(m); };
    session.view.show_grid = [&m] { show_grid(m); };
    session.view.show_port = [&m] { show_port_mark(m); };
}

} // namespace

bool create_main_window(MainWindow& m, Session& session, HINSTANCE instance, int show_command) {
    m.session = &session;
    m.instance = instance;

    INITCOMMONCONTROLSEX common_controls{sizeof common_controls, ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&common_controls);
    register_window_class(instance);
    for (HWND& button : m.key_buttons)
        button = nullptr;
    m.window = create_window(m);
    if (!m.window) return false;

    m.ui_font = create_ui_font(m.window);
    create_controls(m);

    session.comm_port = 0;
    connect_view(m, session);
    m.controls_ready = true;
    show_port_mark(m);
    new_configuration(session);

    ShowWindow(m.window, show_command);
    UpdateWindow(m.window);
    m.accelerators = LoadAcceleratorsA(instance, MAKEINTRESOURCEA(IDA_MAIN));
    load_preferences(session);
    return true;
}

void process_message(const MainWindow& m, MSG& message) {
    if (m.accelerators && TranslateAcceleratorA(m.window, m.accelerators, &message)) return;
    TranslateMessage(&message);
    DispatchMessageA(&message);
}

int run_message_loop(const MainWindow& m) {
    MSG message{};
    while (GetMessageA(&message, nullptr, 0, 0) > 0)
        process_message(m, message);
    return static_cast<int>(message.wParam);
}

void release_main_window(MainWindow& m) {
    if (m.session) m.session->view = ConfigurationView{};
    m.controls_ready = false;
    if (m.ui_font) DeleteObject(m.ui_font);
    m.ui_font = nullptr;
}

void end_transfer(MainWindow& m) {
    m.transfer_running = false;
    if (m.close_pending) {
        m.close_pending = false;
        PostMessageA(m.window, WM_CLOSE, 0, 0);
    }
}

} // namespace zq70
