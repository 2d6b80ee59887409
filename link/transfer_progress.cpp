#include "transfer_progress.h"

#include <cstdio>

namespace zq70 {

std::string format_text(const char* format, int a) {
    char text[128];
    std::snprintf(text, sizeof text, format, a);
    return text;
}

std::string format_text(const char* format, int a, int b) {
    char text[128];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

std::string format_text(const char* format, int a, int b, int c) {
    char text[128];
    std::snprintf(text, sizeof text, format, a, b, c);
    return text;
}

void report_percentage(const ProgressSink& progress, const char* format, int done, int total) {
    const int now = done * 100 / total;
    const int before = (done - 1) * 100 / total;
    if (now != before && progress) progress(format_text(format, now));
}

} // namespace zq70
