#include "progress_window.h"

#include "res/resource_ids.h"

namespace zq70 {

namespace {

HWND g_progress = nullptr;

// Default focus handling at initialisation; nothing else is the procedure's business.
INT_PTR CALLBACK progress_procedure(HWND, UINT message, WPARAM, LPARAM) {
    return message == WM_INITDIALOG ? TRUE : FALSE;
}

} // namespace

HWND progress_window() {
    return g_progress;
}

void create_progress_window(HINSTANCE instance, HWND owner) {
    g_progress =
        CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_PROGRESS), owner, progress_procedure, 0);
    if (!g_progress) return;
    ShowWindow(g_progress, SW_SHOWNORMAL);
    UpdateWindow(g_progress);
}

void destroy_progress_window() {
    if (g_progress) DestroyWindow(g_progress);
    g_progress = nullptr;
}

void set_progress_text(const std::string& text) {
    if (!g_progress) return;
    SetWindowTextA(GetDlgItem(g_progress, IDC_PROGRESS_TEXT), text.c_str());
}

} // namespace zq70
