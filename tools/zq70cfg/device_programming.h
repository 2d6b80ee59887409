// Writing one ZQ70 and reading it back to verify: the outcome of one device, as a single
// write and every device of a series report it.
#pragma once

#include <functional>
#include <string>

#include "config/image.h"
#include "device_probe.h"
#include "link/serial_port.h"
#include "link/transfer_progress.h"
#include "series_log.h"

namespace zq70cfg {

struct DeviceOutcome {
    int exit_code = 0;
    std::string message; // "" when all went well
    std::string result;
    std::string verify;
    bool cut_short = false; // by Ctrl+C
};

// Where the two transfers show their progress.
struct TransferDisplay {
    zq70::ProgressSink writing;
    zq70::ProgressSink verifying;
    std::function<void()> finished;      // called after each of the two transfers
    std::function<void()> verify_starts; // called before the read-back
};

// Writes image into the ZQ70 on the port (named port_name in messages) and, with verify,
// reads it back and compares. Without a pause the 2 ms before each command are slept with
// pause_unless_interrupted.
DeviceOutcome program_device(const zq70::SerialPort& port, const std::string& port_name,
                             const zq70::DeviceImage& image, bool verify,
                             const TransferDisplay& display, const Pause& pause = {});

} // namespace zq70cfg
