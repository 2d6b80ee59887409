#include "port_list.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <system_error>

#include "console.h"
#include "exit_codes.h"
#include "link/serial_transfer.h"
#include "port_name.h"
#include "port_pattern.h"

namespace zq70cfg {

namespace fs = std::filesystem;

namespace {

constexpr const char* kGap = "  ";

const char* check_word(PortCheck check) {
    switch (check) {
    case PortCheck::NotProbed: return "";
    case PortCheck::Answers: return "ZQ70";
    case PortCheck::NoAnswer: return "no answer";
    case PortCheck::Busy: return "busy";
    case PortCheck::NoAccess: return "no access";
    case PortCheck::CannotOpen: return "cannot open";
    }
    return "";
}

// The first line of a sysfs attribute, without surrounding blanks; "" when absent.
std::string attribute(const fs::path& path) {
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    const size_t first = line.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return line.substr(first, line.find_last_not_of(" \t\r") - first + 1);
}

bool path_exists(const fs::path& path) {
    std::error_code error;
    return fs::exists(path, error);
}

// The USB device above a tty's device: the first folder upwards with idVendor in it (the
// interface of an ACM port, the interface above the port of a USB serial adapter).
void read_usb_details(const fs::path& device, const fs::path& sys_root, PortInfo& port) {
    std::error_code error;
    fs::path folder = fs::canonical(device, error);
    const fs::path root = fs::canonical(sys_root, error);
    for (int up = 0; !error && up < 4 && folder != root && folder.has_relative_path(); ++up) {
        if (path_exists(folder / "idVendor")) {
            port.vendor_id = attribute(folder / "idVendor");
            port.product_id = attribute(folder / "idProduct");
            port.manufacturer = attribute(folder / "manufacturer");
            port.product = attribute(folder / "product");
            port.serial = attribute(folder / "serial");
            return;
        }
        folder = folder.parent_path();
    }
}

// tty name -> its names in dev_root/serial/by-id.
std::map<std::string, std::vector<std::string>> by_id_names(const fs::path& dev_root) {
    std::map<std::string, std::vector<std::string>> names;
    const fs::path folder = dev_root / "serial" / "by-id";
    std::error_code error;
    for (fs::directory_iterator it(folder, error), end; !error && it != end; it.increment(error)) {
        std::error_code link_error;
        const fs::path target = fs::read_symlink(it->path(), link_error);
        if (link_error) continue;
        names[target.filename().string()].push_back(it->path().string());
    }
    for (auto& entry : names)
        std::sort(entry.second.begin(), entry.second.end());
    return names;
}

PortCheck probe(const std::string& device) {
    const PortCheck use = port_in_use(device);
    if (use != PortCheck::NotProbed) return use;
    return zq70::serial_probe(named_serial_port(device)) ? PortCheck::Answers : PortCheck::NoAnswer;
}

} // namespace

std::string port_line(const PortInfo& port, PortCheck check) {
    std::string line = port.name;
    const auto add = [&line](const std::string& field) {
        if (!field.empty()) line += kGap + field;
    };
    add(check_word(check));
    if (!port.vendor_id.empty()) add(port.vendor_id + ":" + port.product_id);
    add(port.manufacturer);
    add(port.product);
    if (!port.serial.empty()) add("serial " + port.serial);
    for (const std::string& alias : port.aliases)
        add(alias);
    return line;
}

std::vector<PortInfo> sysfs_ports(const std::string& sys_root, const std::string& dev_root) {
    const fs::path ttys = fs::path(sys_root) / "class" / "tty";
    std::vector<std::string> names;
    std::error_code error;
    for (fs::directory_iterator it(ttys, error), end; !error && it != end; it.increment(error))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end(), natural_less);

    const std::map<std::string, std::vector<std::string>> aliases = by_id_names(dev_root);
    std::vector<PortInfo> ports;
    for (const std::string& tty : names) {
        const fs::path entry = ttys / tty;
        // Consoles and virtual terminals have no device; a serial-core port of type 0 has no
        // UART behind it.
        if (!path_exists(entry / "device")) continue;
        if (path_exists(entry / "type") && attribute(entry / "type") == "0") continue;
        PortInfo port;
        port.name = (fs::path(dev_root) / tty).string();
        if (!path_exists(port.name)) continue;
        read_usb_details(entry / "device", sys_root, port);
        if (const auto found = aliases.find(tty); found != aliases.end())
            port.aliases = found->second;
        ports.push_back(port);
    }
    return ports;
}

bool usb_ids_of(const std::string& hardware_id, std::string& vendor, std::string& product) {
    std::string upper = hardware_id;
    for (char& c : upper)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    const auto hex_after = [&upper](const char* key, std::string& value) {
        const size_t at = upper.find(key);
        if (at == std::string::npos || at + 8 > upper.size()) return false;
        const std::string digits = upper.substr(at + 4, 4);
        if (!std::all_of(digits.begin(), digits.end(),
                         [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); }))
            return false;
        value = digits;
        for (char& c : value)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return true;
    };
    return hex_after("VID_", vendor) && hex_after("PID_", product);
}

std::string serial_of_instance(const std::string& instance_id) {
    const size_t first = instance_id.find('\\');
    if (first == std::string::npos) return "";
    const std::string bus = instance_id.substr(0, first);
    const size_t second = instance_id.find('\\', first + 1);
    if (bus == "USB") {
        if (second == std::string::npos) return "";
        const std::string serial = instance_id.substr(second + 1);
        return serial.find('&') == std::string::npos ? serial : "";
    }
    if (bus == "FTDIBUS") {
        // VID_0403+PID_6001+<serial><port letter>
        const std::string ids = instance_id.substr(first + 1, second - first - 1);
        const size_t plus = ids.rfind('+');
        if (plus == std::string::npos || ids.size() - plus < 3) return "";
        return ids.substr(plus + 1, ids.size() - plus - 2);
    }
    return "";
}

#ifndef _WIN32
static std::string environment_or(const char* name, const char* otherwise) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? value : otherwise;
}

std::vector<PortInfo> system_ports() {
    return sysfs_ports(environment_or("ZQ70CFG_SYSFS", "/sys"),
                       environment_or("ZQ70CFG_DEV", "/dev"));
}
#endif

int ports_command(bool probe_ports) {
    const std::vector<PortInfo> ports = system_ports();
    if (ports.empty()) note("no serial port found");
    for (const PortInfo& port : ports) {
        const PortCheck check =
            probe_ports ? probe(port_device_of(port.name)) : PortCheck::NotProbed;
        say(port_line(port, check));
    }
    return kExitOk;
}

} // namespace zq70cfg
