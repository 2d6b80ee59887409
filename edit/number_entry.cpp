#include "number_entry.h"

#include <climits>

namespace zq70::edit {

int entry_number(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    const auto last = text.find_last_not_of(' ');
    if (first == std::string::npos) return 0;
    int value = 0;
    for (auto i = first; i <= last; ++i) {
        const char c = text[i];
        if (c < '0' || c > '9') return 0;
        const int digit = c - '0';
        value = value > (INT_MAX - digit) / 10 ? INT_MAX : value * 10 + digit;
    }
    return value;
}

} // namespace zq70::edit
