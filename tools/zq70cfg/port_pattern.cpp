#include "port_pattern.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <system_error>

#ifdef _WIN32
#include <windows.h>
#endif

namespace zq70cfg {

namespace {

constexpr int kLastComPort = 256;

// Matches one [...] set at pattern[0]; advances past it. False with matched unset when the
// set has no closing bracket (then '[' is an ordinary character).
bool match_set(std::string_view& pattern, char c, bool& matched) {
    size_t i = 1;
    const bool negated = i < pattern.size() && (pattern[i] == '!' || pattern[i] == '^');
    if (negated) ++i;
    bool found = false;
    const size_t first = i;
    for (; i < pattern.size() && (pattern[i] != ']' || i == first); ++i) {
        if (i + 2 < pattern.size() && pattern[i + 1] == '-' && pattern[i + 2] != ']') {
            found = found || (pattern[i] <= c && c <= pattern[i + 2]);
            i += 2;
        } else {
            found = found || pattern[i] == c;
        }
    }
    if (i >= pattern.size()) return false;
    pattern.remove_prefix(i + 1);
    matched = found != negated;
    return true;
}

// The number of "COM12" (any case), or 0.
int com_number(std::string_view text) {
    if (text.size() >= 3 && std::toupper(static_cast<unsigned char>(text[0])) == 'C' &&
        std::toupper(static_cast<unsigned char>(text[1])) == 'O' &&
        std::toupper(static_cast<unsigned char>(text[2])) == 'M')
        text.remove_prefix(3);
    if (text.empty() || text.size() > 3 || text[0] == '0') return 0;
    int number = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) return 0;
        number = number * 10 + (c - '0');
    }
    return number <= kLastComPort ? number : 0;
}

void add_once(std::vector<std::string>& names, const std::string& name) {
    if (std::find(names.begin(), names.end(), name) == names.end()) names.push_back(name);
}

// The ports that a wildcard in the last part of a path matches, in name order.
std::vector<std::string> glob(const std::string& pattern, const PortLister& lister,
                              std::string& error) {
    const size_t slash = pattern.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : pattern.substr(0, slash);
    const std::string leaf = slash == std::string::npos ? pattern : pattern.substr(slash + 1);
    if (has_wildcard(folder)) {
        error = "a wildcard may only stand in the last part of a port's path: '" + pattern + "'";
        return {};
    }
    std::vector<std::string> matches;
    for (const std::string& name : lister.folder_entries(slash == 0 ? "/" : folder)) {
        // Hidden names only when asked for, as in the shell.
        if (name[0] == '.' && leaf[0] != '.') continue;
        if (wildcard_matches(leaf, name))
            matches.push_back(slash == std::string::npos ? name : folder + "/" + name);
    }
    std::sort(matches.begin(), matches.end(), natural_less);
    return matches;
}

} // namespace

bool has_wildcard(std::string_view text) {
    return text.find_first_of("*?[") != std::string_view::npos;
}

bool wildcard_matches(std::string_view pattern, std::string_view name) {
    // Backtracking to the last star is enough: a later star makes the earlier one fixed.
    std::string_view star_pattern;
    std::string_view star_name;
    bool starred = false;
    for (;;) {
        if (!pattern.empty() && pattern[0] == '*') {
            pattern.remove_prefix(1);
            star_pattern = pattern;
            star_name = name;
            starred = true;
            continue;
        }
        if (name.empty() && pattern.empty()) return true;
        if (!name.empty() && !pattern.empty()) {
            std::string_view rest = pattern;
            bool matched = false;
            if (pattern[0] == '[' && match_set(rest, name[0], matched)) {
                if (matched) {
                    pattern = rest;
                    name.remove_prefix(1);
                    continue;
                }
            } else if (pattern[0] == '?' || pattern[0] == name[0]) {
                pattern.remove_prefix(1);
                name.remove_prefix(1);
                continue;
            }
        }
        if (!starred || star_name.empty()) return false;
        star_name.remove_prefix(1);
        name = star_name;
        pattern = star_pattern;
    }
}

std::vector<std::string> com_range(std::string_view text) {
    const size_t dash = text.find('-');
    if (dash == std::string_view::npos) return {};
    const std::string_view first_text = text.substr(0, dash);
    const int first = first_text.size() > 3 ? com_number(first_text) : 0;
    const int last = com_number(text.substr(dash + 1));
    if (first == 0 || last < first) return {};
    std::vector<std::string> names;
    for (int n = first; n <= last; ++n)
        names.push_back("COM" + std::to_string(n));
    return names;
}

bool natural_less(const std::string& a, const std::string& b) {
    size_t i = 0;
    size_t j = 0;
    while (i < a.size() && j < b.size()) {
        const bool da = std::isdigit(static_cast<unsigned char>(a[i])) != 0;
        const bool db = std::isdigit(static_cast<unsigned char>(b[j])) != 0;
        if (da && db) {
            size_t ei = i;
            size_t ej = j;
            while (ei < a.size() && std::isdigit(static_cast<unsigned char>(a[ei])))
                ++ei;
            while (ej < b.size() && std::isdigit(static_cast<unsigned char>(b[ej])))
                ++ej;
            // By value: fewer digits without leading zeros is smaller.
            std::string_view na = std::string_view(a).substr(i, ei - i);
            std::string_view nb = std::string_view(b).substr(j, ej - j);
            while (na.size() > 1 && na[0] == '0')
                na.remove_prefix(1);
            while (nb.size() > 1 && nb[0] == '0')
                nb.remove_prefix(1);
            if (na.size() != nb.size()) return na.size() < nb.size();
            if (na != nb) return na < nb;
            i = ei;
            j = ej;
        } else {
            if (a[i] != b[j]) return a[i] < b[j];
            ++i;
            ++j;
        }
    }
    return a.size() - i < b.size() - j || (a.size() - i == b.size() - j && a < b);
}

PortSelection select_ports(const std::vector<std::string>& given, bool windows,
                           const PortLister& lister) {
    PortSelection selection;
    for (const std::string& name : given) {
        std::vector<std::string> matches;
        if (windows) {
            const std::vector<std::string> range = com_range(name);
            if (range.empty()) {
                add_once(selection.names, name);
                continue;
            }
            for (const std::string& com : range)
                if (lister.com_port_exists(com)) matches.push_back(com);
        } else {
            if (!has_wildcard(name)) {
                add_once(selection.names, name);
                continue;
            }
            matches = glob(name, lister, selection.error);
            selection.bad_pattern = !selection.error.empty();
            if (selection.bad_pattern) return selection;
        }
        selection.patterned = true;
        if (matches.empty()) {
            selection.error = "no serial port matches '" + name + "'";
            return selection;
        }
        for (const std::string& match : matches)
            add_once(selection.names, match);
    }
    return selection;
}

PortLister system_port_lister() {
    PortLister lister;
    lister.folder_entries = [](const std::string& folder) {
        std::vector<std::string> names;
        std::error_code error;
        for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
             it.increment(error))
            names.push_back(it->path().filename().string());
        return names;
    };
    lister.com_port_exists = [](const std::string& name) {
#ifdef _WIN32
        // Asked of the port itself: Wine, for one, lists only the COM names it mapped when
        // it started. A port that another program holds is there too.
        const std::string device = "\\\\.\\" + name;
        const HANDLE handle = CreateFileA(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                          OPEN_EXISTING, 0, nullptr);
        if (handle == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_ACCESS_DENIED;
        CloseHandle(handle);
        return true;
#else
        (void)name;
        return false;
#endif
    };
    return lister;
}

} // namespace zq70cfg
