#include "controls.h"

#include "navigation.h"

namespace zq70 {
namespace {

// Every button shares the class's own procedure, and so does every list: one slot each.
struct ClassProcedures {
    WNDPROC button = nullptr;
    WNDPROC list_box = nullptr;
};
ClassProcedures class_procedures;

HWND create_child(MainWindow& m, const char* window_class, const char* text, DWORD style, int x,
                  int y, int width, int height) {
    const HWND control = CreateWindowExA(0, window_class, text, style, x, y, width, height,
                                         m.window, nullptr, m.instance, nullptr);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(m.ui_font), FALSE);
    return control;
}

WNDPROC subclass(HWND control, WNDPROC procedure) {
    return reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(control, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(procedure)));
}

} // namespace

HWND create_list_box(MainWindow& m, int x, int y, int width, int height) {
    const HWND box =
        create_child(m, "COMBOBOX", "", WS_CHILD | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST, x, y,
                     width, height);
    class_procedures.list_box = subclass(box, list_box_procedure);
    return box;
}

HWND create_key_button(MainWindow& m, int x, int y, int width, int height, const char* text) {
    const HWND button =
        create_child(m, "BUTTON", text, WS_CHILD | WS_TABSTOP | BS_MULTILINE | BS_PUSHBUTTON, x, y,
                     width, height);
    class_procedures.button = subclass(button, key_button_procedure);
    return button;
}

HWND create_label(MainWindow& m, int x, int y, int width, int height, const char* text) {
    return create_child(m, "STATIC", text, WS_CHILD | SS_CENTER, x, y, width, height);
}

WNDPROC button_class_procedure() {
    return class_procedures.button;
}
WNDPROC list_box_class_procedure() {
    return class_procedures.list_box;
}

} // namespace zq70
