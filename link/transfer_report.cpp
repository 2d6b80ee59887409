#include "transfer_report.h"

#include "config/text_format.h"

namespace zq70 {

namespace {

constexpr size_t kAddressesNamed = 8;

std::string hex_byte(int value) {
    return format_text("0x%02X", value & 0xFF);
}

const char* failed_transfer_text(Transfer transfer) {
    switch (transfer) {
    case Transfer::Read: return "error while reading from the ZQ70";
    case Transfer::Write: return "error while writing to the ZQ70";
    case Transfer::ReadBack: return "error while reading back from the ZQ70 to verify";
    }
    return "";
}

} // namespace

std::string transfer_failure_text(TransferResult result, Transfer transfer,
                                  const std::string& port_name) {
    switch (result) {
    case Ok: return "";
    case PortOpenFailed:
        return "cannot open " + port_name +
               " (absent, in use by another program, or not a serial port)";
    case TransferFailed:
        return std::string(failed_transfer_text(transfer)) + " (no answer or a wrong answer)";
    case DeviceNotFound: return "the ZQ70 was not found on " + port_name;
    default:
        return std::string(failed_transfer_text(transfer)) + " (code " +
               std::to_string(static_cast<int>(result)) + ")";
    }
}

std::string port_lost_text(Transfer transfer) {
    return std::string(failed_transfer_text(transfer)) + " (the serial port went away)";
}

std::vector<int> differing_addresses(const DeviceImage& wrote, const DeviceImage& read) {
    std::vector<int> addresses;
    for (int i = 0; i < kImageSize; ++i) {
        if (wrote[i] != read[i]) addresses.push_back(i);
    }
    return addresses;
}

std::string verify_failure_text(const DeviceImage& wrote, const DeviceImage& read) {
    const std::vector<int> addresses = differing_addresses(wrote, read);
    if (addresses.empty()) return "";
    const int first = addresses.front();
    std::string text = "verify failed: ";
    text += addresses.size() == 1 ? "1 byte differs, at "
                                  : std::to_string(addresses.size()) + " bytes differ, first at ";
    text += std::to_string(first) + " (wrote " + hex_byte(wrote[first]) + ", read " +
            hex_byte(read[first]) + ")";
    for (size_t i = 1; i < addresses.size() && i < kAddressesNamed; ++i)
        text += ", " + std::to_string(addresses[i]);
    if (addresses.size() > kAddressesNamed) text += ", ...";
    return text;
}

} // namespace zq70
