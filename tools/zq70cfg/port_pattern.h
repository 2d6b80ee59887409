// --port patterns that name many ports at once: on Linux a wildcard in the last part of a
// path ('/dev/ttyUSB*', '/dev/serial/by-id/*FTDI*'), on Windows a range of COM ports
// (COM3-COM10). A pattern takes the ports that exist when the series starts.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace zq70cfg {

// Where patterns look for ports; the real one reads the file system and asks Windows.
struct PortLister {
    // The names in a folder (no "." and ".."); empty when it cannot be read.
    std::function<std::vector<std::string>(const std::string& folder)> folder_entries;
    // Whether a COM port of that name ("COM7") exists (it opens, or another program holds
    // it).
    std::function<bool(const std::string& com_name)> com_port_exists;
};
PortLister system_port_lister();

// Shell wildcards: * (any run), ? (any one character), [abc], [a-z] and [!abc].
bool has_wildcard(std::string_view text);
bool wildcard_matches(std::string_view pattern, std::string_view name);

// "COM3-COM10" or "COM3-10" (any case) as {"COM3", ..., "COM10"}; empty when the text is no
// range of COM1 to COM256 going upwards.
std::vector<std::string> com_range(std::string_view text);

// Name order with numbers by value: ttyUSB2 before ttyUSB10.
bool natural_less(const std::string& a, const std::string& b);

struct PortSelection {
    std::vector<std::string> names; // each port once, in the order given
    bool patterned = false;         // a pattern was among them
    std::string error;              // "" unless a pattern is bad or matches nothing
    bool bad_pattern = false;       // the error is the pattern's, not the ports'
};

// The ports that the --port values name. windows: whether COM ranges (true) or wildcards
// (false) are patterns.
PortSelection select_ports(const std::vector<std::string>& given, bool windows,
                           const PortLister& lister);

} // namespace zq70cfg
