// One port's series of devices, as write --repeat programs them: wait for a device, write
// and verify it, wait for it to be taken off, then for the next one, until Ctrl+C. It runs
// alone on its port (a thread of its own when many ports program at once) and tells what
// happens through a SeriesReport, from that thread.
#pragma once

#include <functional>
#include <string>

#include "config/image.h"
#include "device_probe.h"
#include "link/serial_port.h"
#include "series_log.h"

namespace zq70cfg {

enum class PortState {
    Waiting,   // for a device to answer
    Writing,   // device n
    Verifying, // device n
    TakeOff,   // device n is done: waiting for it to be taken off
    Stopped,   // the series has ended
};

struct SeriesReport {
    // The port's state, with the number of the device it concerns (0 before the first).
    std::function<void(PortState state, int device)> state;
    // A line of transfer progress ("Writing configuration - 43%") while writing or verifying.
    std::function<void(const std::string& text)> progress;
    // Called after each transfer (the progress is over).
    std::function<void()> transfer_ended;
    // A device has been programmed or has failed; message is "" when all went well,
    // otherwise what went wrong, and exit_code its code.
    std::function<void(const DeviceRecord& record, int exit_code, const std::string& message)>
        record;
    // The port stopped opening (false: adapter unplugged, or another program holds it) or
    // opens again (true), while waiting for a device to come or to go.
    std::function<void(bool available)> port_available;
    // Device n has been taken off the line.
    std::function<void(int device)> removed;
    // The record could not be added to the log: "cannot write the log series.csv".
    std::function<void(const std::string& text)> trouble;
};

struct SeriesSetup {
    zq70::SerialPort port;
    std::string port_name; // as the user gave it, in messages and the log
    zq70::DeviceImage image{};
    bool verify = true;
    SeriesLog* log = nullptr;
    Pause pause; // between probes and before each command; pause_unless_interrupted if unset
};

struct SeriesOutcome {
    Tally tally;
    bool cut_short = false;  // Ctrl+C cut a transfer short
    bool log_failed = false; // a record could not be logged
};

SeriesOutcome run_series(const SeriesSetup& setup, const SeriesReport& report);

// The exit code of a series: 128 + the signal when cut short, else 4 when the log failed,
// else 9 when a device failed, else 0.
int series_exit_code(const SeriesOutcome& outcome);

// The percentage at the end of a progress text ("Writing configuration - 43%" gives 43), or
// -1.
int percentage_in(const std::string& progress);

} // namespace zq70cfg
