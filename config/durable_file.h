// The one way the project writes a file: the new content goes into a temporary file beside
// the target, is flushed to the disk, and only then takes the target's name in one step. A
// failure at any step leaves the old file as it was and removes the temporary one, and a
// file that the user may not write is never replaced.
#pragma once

#include <cstddef>
#include <cstdio>
#include <functional>
#include <string>

namespace zq70 {

// The steps of a replace, in order, for tests that make one of them fail.
enum class ReplaceStep { CheckTarget, Open, Write, Flush, Sync, Close, Rename };

// Returns true when the step should be taken as failed (after the real call, which runs
// anyway unless it would change the target).
using ReplaceFault = std::function<bool(ReplaceStep)>;

bool replace_file(const std::string& path, const void* data, std::size_t size,
                  const ReplaceFault& fault = {});

// Suffix of the temporary file beside the target.
inline constexpr const char* kReplaceSuffix = ".zq70-saving";

// The platform half (durable_file_posix.cpp, durable_file_win32.cpp).
namespace platform {
// True when path does not exist, or exists, is not read-only and opens for writing. Some
// platforms let a rename replace a read-only file, so this is asked first.
bool may_replace(const std::string& path);
// Pushes what the C library has flushed on to the disk.
bool sync_to_disk(std::FILE* file);
// Puts from in place of to in one step, replacing it.
bool move_over(const std::string& from, const std::string& to);
// Makes the rename itself durable where the platform needs it (the folder's entry).
void sync_folder_of(const std::string& path);
} // namespace platform

} // namespace zq70
