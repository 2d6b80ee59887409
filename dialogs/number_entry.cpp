// "Delay" and "Key Code": a number field with OK and Cancel, one procedure for both.
#include "dialogs.h"

#include <string>

#include "edit/number_entry.h"
#include "res/resource_ids.h"

namespace {

std::string field_text(HWND dialog) {
    HWND field = GetDlgItem(dialog, IDC_NUMBER_FIELD);
    std::string text(static_cast<size_t>(GetWindowTextLengthA(field)) + 1, '\0');
    text.resize(
        static_cast<size_t>(GetWindowTextA(field, text.data(), static_cast<int>(text.size()))));
    return text;
}

// Esc and everything else are ignored: OK, Enter and Cancel are the only ways out.
void on_command(HWND dialog, int id) {
    switch (id) {
    case IDOK:
    case IDC_NUMBER_OK: EndDialog(dialog, zq70::edit::entry_number(field_text(dialog))); break;
    case IDC_NUMBER_CANCEL: EndDialog(dialog, -1); break;
    }
}

INT_PTR CALLBACK number_entry_procedure(HWND dialog, UINT message, WPARAM wparam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG: return TRUE;
    case WM_COMMAND: on_command(dialog, LOWORD(wparam)); return TRUE;
    }
    return FALSE;
}

int ask_number(HWND owner, int template_id) {
    return static_cast<int>(DialogBoxParamA(GetModuleHandleA(nullptr),
                                            MAKEINTRESOURCEA(template_id), owner,
                                            number_entry_procedure, 0));
}

} // namespace

int ask_delay(HWND owner) {
    return ask_number(owner, IDD_DELAY);
}

int ask_key_code(HWND owner) {
    return ask_number(owner, IDD_KEY_CODE);
}
