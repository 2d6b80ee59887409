#include "series_log.h"

#include <cstdio>
#include <fstream>

#include "output_file.h"

namespace zq70cfg {

namespace {

std::string csv_field(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) {
        if (c == '"') quoted += '"';
        quoted += c;
    }
    return quoted + "\"";
}

// Appends the line, with the header before it when the file is new or empty.
bool append_line(const std::string& path, const char* header, const std::string& line) {
    std::FILE* file = std::fopen(path.c_str(), "ab");
    if (file == nullptr) return false;
    // In append mode the position is only known at the end of the file.
    bool ok = std::fseek(file, 0, SEEK_END) == 0;
    const long size = ok ? std::ftell(file) : -1;
    std::string text = size == 0 ? std::string(header) + "\n" : std::string();
    text += line + "\n";
    ok = ok && size >= 0 && std::fwrite(text.data(), 1, text.size(), file) == text.size();
    ok = std::fflush(file) == 0 && ok;
    return std::fclose(file) == 0 && ok;
}

std::string contents_of(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

// The header line of the text, without its line end.
std::string first_line(const std::string& text) {
    std::string line = text.substr(0, text.find('\n'));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    return line;
}

} // namespace

// Each port's thread stamps its own records: std::localtime's shared result would race.
std::string local_time_text(std::time_t when) {
    char text[32] = "";
    std::tm local{};
#ifdef _WIN32
    const bool known = localtime_s(&local, &when) == 0;
#else
    const bool known = localtime_r(&when, &local) != nullptr;
#endif
    if (known) std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
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

std::string record_csv(const DeviceRecord& record, const std::string& port) {
    return record_csv(record) + "," + csv_field(port);
}

std::string tally_text(const Tally& tally) {
    return std::to_string(tally.written) + (tally.written == 1 ? " device" : " devices") +
           " written, " + std::to_string(tally.verified) + " verified, " +
           std::to_string(tally.failed) + " failed";
}

Tally& operator+=(Tally& sum, const Tally& more) {
    sum.written += more.written;
    sum.verified += more.verified;
    sum.failed += more.failed;
    return sum;
}

void count_device(Tally& tally, const DeviceRecord& record, bool failed) {
    tally.written += record.result == kWritten;
    tally.verified += record.verify == kVerified;
    tally.failed += failed;
}

bool append_to_log(const std::string& path, const DeviceRecord& record) {
    return append_line(path, kCsvHeader, record_csv(record));
}

bool log_is_writable(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "ab");
    if (file == nullptr) return false;
    return std::fclose(file) == 0;
}

bool SeriesLog::open(const std::string& path, bool many_ports) {
    const std::lock_guard<std::mutex> lock(mutex_);
    path_ = path;
    if (!log_is_writable(path)) return false;
    const std::string text = contents_of(path);
    const std::string header = first_line(text);
    with_port_ = many_ports || header == kCsvHeaderWithPort;
    if (header == kCsvHeader && with_port_)
        return write_output(path, kCsvHeaderWithPort + text.substr(header.size()));
    return true;
}

bool SeriesLog::append(const DeviceRecord& record, const std::string& port) {
    const std::lock_guard<std::mutex> lock(mutex_);
    if (path_.empty()) return true;
    return with_port_ ? append_line(path_, kCsvHeaderWithPort, record_csv(record, port))
                      : append_line(path_, kCsvHeader, record_csv(record));
}

} // namespace zq70cfg
