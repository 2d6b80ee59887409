// The outcome of a serial transfer in words, as zq70cfg prints it and the web page shows
// it: one line for each failure, and the verify comparison of what was written with what
// was read back.
#pragma once

#include <string>
#include <vector>

#include "config/image.h"
#include "transfer_result.h"

namespace zq70 {

enum class Transfer { Read, Write, ReadBack };

// The message of a result other than Ok: "cannot open /dev/ttyUSB9 (...)", "error while
// writing to the ZQ70 (no answer or a wrong answer)".
std::string transfer_failure_text(TransferResult result, Transfer transfer,
                                  const std::string& port_name);

// The message of a transfer that ended because the port went away (a USB adapter pulled
// out): "error while writing to the ZQ70 (the serial port went away)".
std::string port_lost_text(Transfer transfer);

// Addresses where the two images differ, in address order.
std::vector<int> differing_addresses(const DeviceImage& wrote, const DeviceImage& read);
// "" when the images are equal; otherwise "verify failed: 3 bytes differ, first at 144
// (wrote 0x04, read 0xFB), 145, 300", naming at most the first eight addresses.
std::string verify_failure_text(const DeviceImage& wrote, const DeviceImage& read);

// A write or its read-back stopped by the user, between two commands.
inline constexpr const char* kInterruptedWriting =
    "interrupted while writing: the ZQ70 may hold a partly written configuration; write it "
    "again";
inline constexpr const char* kInterruptedVerifying =
    "interrupted while verifying: the configuration was written but not verified";

} // namespace zq70
