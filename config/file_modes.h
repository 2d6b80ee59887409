// The modes in which the program opens its files: binary, and on Windows with the
// sequential-access hint. The hint is a Windows C runtime extension; other C libraries may
// refuse the unknown letter.
#pragma once

namespace zq70 {

#ifdef _WIN32
inline constexpr const char* kReadMode = "rbS";
inline constexpr const char* kWriteMode = "wbS";
#else
inline constexpr const char* kReadMode = "rb";
inline constexpr const char* kWriteMode = "wb";
#endif

} // namespace zq70
