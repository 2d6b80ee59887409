#include "durable_file.h"

#include <cstdio>

#include "file_modes.h"

namespace zq70 {

namespace {

bool failed(const ReplaceFault& fault, ReplaceStep step, bool ok) {
    return !ok || (fault && fault(step));
}

// Writes, flushes and syncs the temporary file; closes it on every path.
bool write_temporary(const std::string& temporary, const void* data, std::size_t size,
                     const ReplaceFault& fault) {
    std::FILE* file = std::fopen(temporary.c_str(), kWriteMode);
    if (failed(fault, ReplaceStep::Open, file != nullptr)) {
        if (file != nullptr) std::fclose(file);
        return false;
    }
    bool ok = !failed(fault, ReplaceStep::Write, std::fwrite(data, 1, size, file) == size);
    ok = ok && !failed(fault, ReplaceStep::Flush, std::fflush(file) == 0);
    ok = ok && !failed(fault, ReplaceStep::Sync, platform::sync_to_disk(file));
    // The close is checked even after a failure: it must happen either way.
    const bool closed = !failed(fault, ReplaceStep::Close, std::fclose(file) == 0);
    return ok && closed;
}

} // namespace

bool replace_file(const std::string& path, const void* data, std::size_t size,
                  const ReplaceFault& fault) {
    if (failed(fault, ReplaceStep::CheckTarget, platform::may_replace(path))) return false;
    const std::string temporary = path + kReplaceSuffix;
    if (write_temporary(temporary, data, size, fault)) {
        // A faked rename failure must not touch the target, so the real call is skipped.
        const bool faked = fault && fault(ReplaceStep::Rename);
        if (!faked && platform::move_over(temporary, path)) {
            // The new content is in place whatever the folder sync says; some file systems
            // do not sync folders at all.
            platform::sync_folder_of(path);
            return true;
        }
    }
    std::remove(temporary.c_str());
    return false;
}

} // namespace zq70
