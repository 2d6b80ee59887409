// zq70start: what the Start-menu shortcut "ZQ70Load" runs. zq70load.exe keeps its one
// setting, zq70load.ini, in its current folder, and one shortcut serves every user of the
// computer; so this starts the program beside it in the user's own
// %LOCALAPPDATA%\ZQ70Load, made at the user's first start. A shortcut alone cannot: its
// working folder is one path, written out when it is made, and a folder that does not
// exist yet stops the program from starting at all.
#include <windows.h>

#include <shlobj.h>
#include <strsafe.h>

#include "start_in_folder.h"

using zq70start::kPathSize;

namespace {

wchar_t program[kPathSize];
wchar_t folder[kPathSize];
wchar_t problem[zq70start::kProblemSize];

// zq70load.exe beside this program.
bool find_program() {
    const DWORD length = GetModuleFileNameW(nullptr, program, kPathSize);
    if (length == 0 || length >= kPathSize) return false;
    wchar_t* name = wcsrchr(program, L'\\');
    if (name == nullptr) return false;
    *name = L'\0';
    return SUCCEEDED(StringCchCatW(program, kPathSize, L"\\zq70load.exe"));
}

// ZQ70Load in the user's local application data folder, which is made if the profile has
// none yet.
bool find_folder() {
    PWSTR own = nullptr;
    const bool found =
        SUCCEEDED(SHGetKnownFolderPath(FOLDERID_LocalAppData, KF_FLAG_CREATE, nullptr, &own)) &&
        SUCCEEDED(StringCchPrintfW(folder, kPathSize, L"%ls\\ZQ70Load", own));
    CoTaskMemFree(own);
    return found;
}

} // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    STARTUPINFOW how{};
    GetStartupInfoW(&how);
    if (!find_program())
        StringCchCopyW(problem, zq70start::kProblemSize, L"ZQ70Load cannot find its own folder.");
    else if (!find_folder())
        StringCchCopyW(problem, zq70start::kProblemSize,
                       L"ZQ70Load cannot find your local application data folder.");
    else if (zq70start::start_in_folder(program, folder, how, problem))
        return 0;
    MessageBoxW(nullptr, problem, L"ZQ70Load", MB_OK | MB_ICONERROR);
    return 1;
}
