// zq70start: what the Start-menu shortcut "ZQ70Load" runs. zq70load.exe keeps its one
// setting, zq70load.ini, in its current folder, and one shortcut serves every user of the
// computer; so this starts the program beside it in the user's own
// %LOCALAPPDATA%\ZQ70Load, made at the user's first start. A shortcut alone cannot: its
// working folder is one path, written out when it is made, and a folder that does not
// exist yet stops the program from starting at all.
#include <windows.h>

#include <shlobj.h>

#include <string>

#include "start_in_folder.h"

namespace {

std::wstring folder_of_this_program() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length == 0) return L"";
        if (length < path.size()) {
            path.resize(length);
            return path.substr(0, path.find_last_of(L'\\'));
        }
        path.resize(path.size() * 2);
    }
}

// The user's local application data folder, made if the profile has none yet.
std::wstring local_app_data() {
    PWSTR path = nullptr;
    std::wstring result;
    if (SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_CREATE, nullptr, &path)))
        result = path;
    CoTaskMemFree(path);
    return result;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    STARTUPINFOW how{};
    GetStartupInfoW(&how);
    const std::wstring own = local_app_data();
    const std::wstring problem =
        own.empty() ? L"ZQ70Load cannot find your local application data folder."
                    : zq70start::start_in_folder(folder_of_this_program() + L"\\zq70load.exe",
                                                 own + L"\\ZQ70Load", how);
    if (problem.empty()) return 0;
    MessageBoxW(nullptr, problem.c_str(), L"ZQ70Load", MB_OK | MB_ICONERROR);
    return 1;
}
