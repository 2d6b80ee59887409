// How zq70cfg reports the outcome of a serial transfer: one line and one exit code for each
// failure, and the verify comparison of what was written with what was read back.
#pragma once

#include <string>
#include <vector>

#include "config/image.h"
#include "link/transfer_result.h"

namespace zq70cfg {

enum class Transfer { Read, Write, ReadBack };

// The message of a result other than Ok, without the "zq70cfg: " in front: "cannot open
// /dev/ttyUSB9 (...)", "error while writing to the ZQ70 (no answer or a wrong answer)".
std::string transfer_failure_text(zq70::TransferResult result, Transfer transfer,
                                  const std::string& port_name);
int exit_code_of(zq70::TransferResult result);

// Addresses where the two images differ, in address order.
std::vector<int> differing_addresses(const zq70::DeviceImage& wrote, const zq70::DeviceImage& read);
// "" when the images are equal; otherwise "verify failed: 3 bytes differ, first at 144
// (wrote 0x04, read 0xFB), 145, 300", naming at most the first eight addresses.
std::string verify_failure_text(const zq70::DeviceImage& wrote, const zq70::DeviceImage& read);

} // namespace zq70cfg
