#include "transfer_report.h"

#include "config/text_format.h"
#include "exit_codes.h"

namespace zq70cfg {

namespace {

constexpr size_t kAddressesNamed = 8;

std::string hex_byte(int value) {
    return zq70::format_text("0x%02X", value & 0xFF);
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

std::string transfer_failure_text(zq70::TransferResult result, Transfer transfer,
                                  const std::string& port_name) {
    switch (result) {
    case zq70::Ok: return "";
    case zq70::PortOpenFailed:
        return "cannot open " + port_name +
               " (absent, in use by another program, or not a serial port)";
    case zq70::TransferFailed:
        return std::string(failed_transfer_text(transfer)) + " (no answer or a wrong answer)";
    case zq70::DeviceNotFound: return "the ZQ70 was not found on " + port_name;
    default:
        return std::string(failed_transfer_text(transfer)) + " (code " +
               std::to_string(static_cast<int>(result)) + ")";
    }
}

int exit_code_of(zq70::TransferResult result) {
    switch (result) {
    case zq70::Ok: return kExitOk;
    case zq70::PortOpenFailed: return kExitPortOpenFailed;
    default: return kExitTransferFailed;
    }
}

std::vector<int> differing_addresses(const zq70::DeviceImage& wrote,
                                     const zq70::DeviceImage& read) {
    std::vector<int> addresses;
    for (int i = 0; i < zq70::kImageSize; ++i) {
        if (wrote[i] != read[i]) addresses.push_back(i);
    }
    return addresses;
}

std::string verify_failure_text(const zq70::DeviceImage& wrote, const zq70::DeviceImage& read) {
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

} // namespace zq70cfg
