#include "start_in_folder.h"

namespace zq70start {

namespace {

// The system's own words for an error code, without the line end they come with.
std::wstring system_text(DWORD error) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring result = length > 0 ? std::wstring(text, length) : L"";
    LocalFree(text);
    while (!result.empty() && (result.back() == L'\n' || result.back() == L'\r'))
        result.pop_back();
    return result.empty() ? L"error " + std::to_wstring(error) : result;
}

std::wstring make_folder(const std::wstring& folder) {
    if (CreateDirectoryW(folder.c_str(), nullptr)) return L"";
    const DWORD error = GetLastError();
    const DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return L"";
    const std::wstring why = error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS
                                 ? L"A file of that name is in the way."
                                 : system_text(error);
    return L"ZQ70Load cannot make the folder it keeps its setting in:\n" + folder + L"\n\n" + why;
}

} // namespace

std::wstring start_in_folder(const std::wstring& program, const std::wstring& folder,
                             STARTUPINFOW how) {
    const std::wstring problem = make_folder(folder);
    if (!problem.empty()) return problem;

    // What the launcher's own start brought that is not the window's to have: standard
    // handles (none are inherited) and the C runtime's private data.
    how.cb = sizeof how;
    how.lpReserved = nullptr;
    how.cbReserved2 = 0;
    how.lpReserved2 = nullptr;
    how.dwFlags &= ~STARTF_USESTDHANDLES;
    std::wstring command_line = L"\"" + program + L"\"";
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.c_str(), &how, &started))
        return L"ZQ70Load cannot start:\n" + program + L"\n\n" + system_text(GetLastError());
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return L"";
}

} // namespace zq70start
