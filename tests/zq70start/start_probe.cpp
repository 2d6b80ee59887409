// Stand-in for zq70load.exe in the launcher's tests: writes its current folder and the
// window state it was asked for (-1: none) into started.txt in its current folder, all at
// once, so that a test never reads half of it.
#include <windows.h>

#include <cstdio>
#include <string>

int main() {
    wchar_t folder[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, folder);
    STARTUPINFOW how{};
    GetStartupInfoW(&how);
    const int show = (how.dwFlags & STARTF_USESHOWWINDOW) ? how.wShowWindow : -1;
    char narrow[MAX_PATH * 4] = {};
    WideCharToMultiByte(CP_UTF8, 0, folder, -1, narrow, sizeof narrow, nullptr, nullptr);
    const std::string text = std::string(narrow) + "\n" + std::to_string(show) + "\n";
    FILE* file = std::fopen("started.part", "wb");
    if (file == nullptr) return 1;
    const bool written = std::fwrite(text.data(), 1, text.size(), file) == text.size();
    if (std::fclose(file) != 0 || !written) return 1;
    return MoveFileW(L"started.part", L"started.txt") ? 0 : 1;
}
