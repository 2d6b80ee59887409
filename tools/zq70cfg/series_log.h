// The record of a series of devices programmed with write --repeat: one line per device on
// standard output, the same as CSV in an appended log, and the tally at the end.
#pragma once

#include <ctime>
#include <mutex>
#include <string>

namespace zq70cfg {

// The words of a device's record.
inline constexpr const char* kWritten = "written";
inline constexpr const char* kFailed = "failed";
inline constexpr const char* kInterrupted = "interrupted";
inline constexpr const char* kVerified = "verified";
inline constexpr const char* kMismatch = "mismatch";
inline constexpr const char* kReadBackFailed = "read-back failed";
inline constexpr const char* kSkipped = "skipped";
inline constexpr const char* kNotReached = "-";

struct DeviceRecord {
    std::string time;   // local time, "2026-12-09 10:14:03"
    int number = 0;     // counted from 1 in this series (on its port)
    std::string result; // "written", "failed", "interrupted"
    std::string verify; // "verified", "mismatch", "read-back failed", "skipped", "-"
};

std::string local_time_text(std::time_t when);

// "2026-12-09 10:14:03  #3  written  verified"
std::string record_line(const DeviceRecord& record);
// "2026-12-09 10:14:03,3,written,verified"
std::string record_csv(const DeviceRecord& record);
// The same with the port at the end, quoted when it holds a comma, a quote or a line end:
// "2026-12-09 10:14:03,3,written,verified,/dev/ttyUSB0"
std::string record_csv(const DeviceRecord& record, const std::string& port);
inline constexpr const char* kCsvHeader = "time,device,result,verify";
// The port column came later, at the end, so that readers of the first four keep working.
inline constexpr const char* kCsvHeaderWithPort = "time,device,result,verify,port";

struct Tally {
    int written = 0;
    int verified = 0;
    int failed = 0;
};
// "3 devices written, 3 verified, 0 failed"
std::string tally_text(const Tally& tally);
Tally& operator+=(Tally& sum, const Tally& more);
// Counts one device: failed when anything went wrong with it.
void count_device(Tally& tally, const DeviceRecord& record, bool failed);

// Appends one record to the CSV log at path, with the header line first when the file is
// new or empty. Each record is flushed and the file closed at once, so a log survives
// whatever ends the series. False when the log cannot be written.
bool append_to_log(const std::string& path, const DeviceRecord& record);
// Whether the log can be appended to (asked before the first device is programmed).
bool log_is_writable(const std::string& path);

// The CSV log of a series, shared by every port of it: each line is appended whole, one at
// a time. Its lines always have the columns of the log's header:
// - a new log has the port column when many ports program at once (a single port's log is
//   as it always was);
// - a log whose header has the port column keeps getting it, from a single port too;
// - a log with the old header that many ports now append to gets the port column: its
//   header line is rewritten (safely, through a replace) and its older lines keep their
//   four fields, which CSV readers take as an empty port.
class SeriesLog {
  public:
    // No log: append does nothing.
    SeriesLog() = default;
    // False when the log cannot be written (or its header not brought up to date).
    bool open(const std::string& path, bool many_ports);
    bool append(const DeviceRecord& record, const std::string& port);
    bool has_port_column() const { return with_port_; }
    const std::string& path() const { return path_; }

  private:
    std::mutex mutex_;
    std::string path_;
    bool with_port_ = false;
};

} // namespace zq70cfg
