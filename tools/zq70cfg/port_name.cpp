#include "port_name.h"

#include <cctype>

#ifdef _WIN32
#include "link/serial_port_win32.h"
#else
#include "link/serial_port_posix.h"
#endif

namespace zq70cfg {

namespace {

constexpr int kLastComPort = 256;

bool starts_with_ignoring_case(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (size_t i = 0; i < prefix.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
    }
    return true;
}

} // namespace

std::string windows_device_of(std::string_view name) {
    if (starts_with_ignoring_case(name, "\\\\.\\")) name.remove_prefix(4);
    if (!starts_with_ignoring_case(name, "COM")) return "";
    const std::string_view digits = name.substr(3);
    // No sign, no leading zero, no trailing colon: "COM07" and "COM7:" are not what
    // CreateFileA would open as COM7.
    if (digits.empty() || digits.size() > 3 || digits[0] == '0') return "";
    int number = 0;
    for (char c : digits) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return "";
        number = number * 10 + (c - '0');
    }
    if (number > kLastComPort) return "";
    return "\\\\.\\COM" + std::to_string(number);
}

std::string port_device_of(std::string_view name) {
#ifdef _WIN32
    return windows_device_of(name);
#else
    return std::string(name);
#endif
}

zq70::SerialPort named_serial_port(const std::string& device) {
#ifdef _WIN32
    return zq70::make_win32_serial_port(device);
#else
    return zq70::make_posix_serial_port(device);
#endif
}

} // namespace zq70cfg
