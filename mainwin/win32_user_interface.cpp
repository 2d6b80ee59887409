#include "win32_user_interface.h"

#include <commdlg.h>

namespace zq70 {
namespace {

constexpr int kFileNameCapacity = 512;

UINT icon_style(MessageIcon icon) {
    switch (icon) {
    case MessageIcon::None: return 0;
    case MessageIcon::Error: return MB_ICONERROR;
    case MessageIcon::Question: return MB_ICONQUESTION;
    case MessageIcon::Warning: return MB_ICONEXCLAMATION;
    case MessageIcon::Information: return MB_ICONINFORMATION;
    }
    return 0;
}

UINT button_style(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::Ok: return MB_OK;
    case MessageButtons::YesNo: return MB_YESNO;
    case MessageButtons::YesNoCancel: return MB_YESNOCANCEL;
    }
    return MB_OK;
}

MessageAnswer answer_of(int result) {
    switch (result) {
    case IDYES: return MessageAnswer::Yes;
    case IDNO: return MessageAnswer::No;
    case IDOK: return MessageAnswer::Ok;
    default: return MessageAnswer::Cancel;
    }
}

MessageAnswer show_box(HWND owner, const std::string& caption, const std::string& text,
                       MessageIcon icon, MessageButtons buttons) {
    return answer_of(MessageBoxA(owner, text.c_str(), caption.c_str(),
                                 icon_style(icon) | button_style(buttons)));
}

using FileDialog = BOOL(WINAPI*)(OPENFILENAMEA*);

// The common dialogs bring the shell and COM libraries with them: they are loaded at the
// first file question instead of at every start-up.
FileDialog file_dialog(FileQuestion question) {
    static const HMODULE library = LoadLibraryA("comdlg32.dll");
    if (!library) return nullptr;
    return reinterpret_cast<FileDialog>(reinterpret_cast<void*>(GetProcAddress(
        library, question == FileQuestion::Open ? "GetOpenFileNameA" : "GetSaveFileNameA")));
}

bool ask_file_name(HWND owner, FileQuestion question, std::string& path) {
    const FileDialog run_dialog = file_dialog(question);
    if (!run_dialog) return false;
    char file_name[kFileNameCapacity] = "";
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = "All files\0*.*\0";
    dialog.lpstrFile = file_name;
    dialog.nMaxFile = kFileNameCapacity;
    dialog.Flags = file_dialog_flags(question);
    dialog.lpstrTitle = question == FileQuestion::Open ? "Open File" : "Save File";
    const bool chosen = run_dialog(&dialog);
    if (chosen) path = file_name;
    return chosen;
}

} // namespace

DWORD file_dialog_flags(FileQuestion question) {
    const DWORD common = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST;
    return question == FileQuestion::Open ? common | OFN_FILEMUSTEXIST
                                          : common | OFN_OVERWRITEPROMPT;
}

UserInterface make_win32_user_interface(const HWND* owner) {
    UserInterface ui;
    ui.message = [owner](const std::string& caption, const std::string& text, MessageIcon icon,
                         MessageButtons buttons) {
        return show_box(*owner, caption, text, icon, buttons);
    };
    ui.ask_file_name = [owner](FileQuestion question, std::string& path) {
        return ask_file_name(*owner, question, path);
    };
    return ui;
}

} // namespace zq70
