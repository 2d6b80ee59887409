// The program's texts with numbers in them ("Error opening Com %d", "Row %d",
// "Reading configuration - %d%%"): printf formats, filled in one place.
#pragma once

#include <cstdio>
#include <string>
#include <type_traits>

namespace zq70 {

template <typename... Numbers> std::string format_text(const char* format, Numbers... numbers) {
    static_assert((std::is_integral_v<Numbers> && ...), "the program's formats take integers");
    char text[256];
    std::snprintf(text, sizeof text, format, static_cast<int>(numbers)...);
    return text;
}

} // namespace zq70
