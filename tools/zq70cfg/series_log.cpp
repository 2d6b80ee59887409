#include "series_log.h"

#include <cstdio>

namespace zq70cfg {

std::string local_time_text(std::time_t when) {
    char text[32] = "";
    if (const std::tm* local = std::localtime(&when))
        std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", local);
    return text;
}

std::string record_line(const DeviceRecord& record) {
    return record.time + "  #" + std::to_string(record.number) + "  " + record.result + "  " +
           record.verify;
}

std::string record_csv(const DeviceRecord& record) {
    return record.time + "," + std::to_string(record.number) + "," + record.result + "," +
           record.verify;
}

std::string tally_text(const Tally& tally) {
    return std::to_string(tally.written) + (tally.written == 1 ? " device" : " devices") +
           " written, " + std::to_string(tally.verified) + " verified, " +
           std::to_string(tally.failed) + " failed";
}

bool append_to_log(const std::string& path, const DeviceRecord& record) {
    std::FILE* file = std::fopen(path.c_str(), "ab");
    if (file == nullptr) return false;
    // In append mode the position is only known at the end of the file.
    bool ok = std::fseek(file, 0, SEEK_END) == 0;
    const long size = ok ? std::ftell(file) : -1;
    std::string text = size == 0 ? std::string(kCsvHeader) + "\n" : std::string();
    text += record_csv(record) + "\n";
    ok = ok && size >= 0 && std::fwrite(text.data(), 1, text.size(), file) == text.size();
    ok = std::fflush(file) == 0 && ok;
    return std::fclose(file) == 0 && ok;
}

bool log_is_writable(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "ab");
    if (file == nullptr) return false;
    return std::fclose(file) == 0;
}

} // namespace zq70cfg
