// The record of a series of devices programmed with write --repeat: one line per device on
// standard output, the same as CSV in an appended log, and the tally at the end.
#pragma once

#include <ctime>
#include <string>

namespace zq70cfg {

struct DeviceRecord {
    std::string time;   // local time, "2026-12-09 10:14:03"
    int number = 0;     // counted from 1 in this series
    std::string result; // "written", "failed", "interrupted"
    std::string verify; // "verified", "mismatch", "read-back failed", "skipped", "-"
};

std::string local_time_text(std::time_t when);

// "2026-12-09 10:14:03  #3  written  verified"
std::string record_line(const DeviceRecord& record);
// "2026-12-09 10:14:03,3,written,verified"
std::string record_csv(const DeviceRecord& record);
inline constexpr const char* kCsvHeader = "time,device,result,verify";

struct Tally {
    int written = 0;
    int verified = 0;
    int failed = 0;
};
// "3 devices written, 3 verified, 0 failed"
std::string tally_text(const Tally& tally);

// Appends one record to the CSV log at path, with the header line first when the file is
// new or empty. Each record is flushed and the file closed at once, so a log survives
// whatever ends the series. False when the log cannot be written.
bool append_to_log(const std::string& path, const DeviceRecord& record);
// Whether the log can be appended to (asked before the first device is programmed).
bool log_is_writable(const std::string& path);

} // namespace zq70cfg
