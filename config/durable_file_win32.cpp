#include <cstdio>
#include <io.h>
#include <string>
#include <windows.h>

#include "durable_file.h"

namespace zq70::platform {

bool may_replace(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = GetLastError();
        return error == ERROR_FILE_NOT_FOUND;
    }
    if (attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) return false;
    // Opening for writing without truncating tells whether the user may write it at all
    // (permissions, another program holding it without write sharing).
    const HANDLE handle = CreateFileA(path.c_str(), GENERIC_WRITE,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    CloseHandle(handle);
    return true;
}

bool sync_to_disk(std::FILE* file) {
    return _commit(_fileno(file)) == 0;
}

bool move_over(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(),
                       MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
}

void sync_folder_of(const std::string&) {
    // MOVEFILE_WRITE_THROUGH has already made the rename durable.
}

} // namespace zq70::platform
