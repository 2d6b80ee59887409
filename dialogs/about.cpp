// The About box: any command closes it.
#include "dialogs.h"

#include "res/resource_ids.h"

namespace {

INT_PTR CALLBACK about_procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return TRUE;
    case WM_COMMAND: EndDialog(dialog, LOWORD(wparam)); return TRUE;
    }
    return FALSE;
}

} // namespace

int show_about(HWND owner) {
    return static_cast<int>(DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUT),
                                            owner, about_procedure, 0));
}
