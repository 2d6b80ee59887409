#include "start_in_folder.h"

#include <strsafe.h>

namespace zq70start {

namespace {

// The system's own words for an error code, without the line end they come with.
void system_text(DWORD error, wchar_t* text, std::size_t size) {
    DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                  nullptr, error, 0, text, static_cast<DWORD>(size), nullptr);
    while (length > 0 && (text[length - 1] == L'\n' || text[length - 1] == L'\r'))
        text[--length] = L'\0';
    if (length == 0) StringCchPrintfW(text, size, L"Error %lu.", error);
}

bool folder_ready(const wchar_t* folder, wchar_t* problem) {
    if (CreateDirectoryW(folder, nullptr)) return true;
    const DWORD error = GetLastError();
    const DWORD attributes = GetFileAttributesW(folder);
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return true;
    wchar_t why[512];
    if (error == ERROR_ALREADY_EXISTS || error == ERROR_FILE_EXISTS)
        StringCchCopyW(why, 512, L"A file of that name is in the way.");
    else
        system_text(error, why, 512);
    StringCchPrintfW(problem, kProblemSize,
                     L"ZQ70Load cannot make the folder it keeps its setting in:\n%ls\n\n%ls",
                     folder, why);
    return false;
}

} // namespace

bool start_in_folder(const wchar_t* program, const wchar_t* folder, STARTUPINFOW how,
                     wchar_t* problem) {
    if (!folder_ready(folder, problem)) return false;

    // What the launcher's own start brought that is not the window's to have: standard
    // handles (none are inherited) and the C runtime's private data.
    how.cb = sizeof how;
    how.lpReserved = nullptr;
    how.cbReserved2 = 0;
    how.lpReserved2 = nullptr;
    how.dwFlags &= ~STARTF_USESTDHANDLES;
    static wchar_t command_line[kPathSize + 2];
    StringCchPrintfW(command_line, kPathSize + 2, L"\"%ls\"", program);
    PROCESS_INFORMATION started{};
    if (!CreateProcessW(program, command_line, nullptr, nullptr, FALSE, 0, nullptr, folder, &how,
                        &started)) {
        wchar_t why[512];
        system_text(GetLastError(), why, 512);
        StringCchPrintfW(problem, kProblemSize, L"ZQ70Load cannot start:\n%ls\n\n%ls", program,
                         why);
        return false;
    }
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return true;
}

} // namespace zq70start
