#include "progress_line.h"

namespace zq70cfg {

ProgressLine::ProgressLine(bool shown, std::FILE* out) : shown_(shown), out_(out) {}

ProgressLine::~ProgressLine() {
    clear();
}

zq70::ProgressSink ProgressLine::sink(std::string prefix) {
    if (!shown_) return {};
    return [this, prefix](const std::string& text) { show(prefix + text); };
}

void ProgressLine::show(const std::string& text) {
    // Spaces cover what a longer earlier text left; the Windows console knows no
    // erase-line sequence.
    const size_t padding = width_ > text.size() ? width_ - text.size() : 0;
    std::fprintf(out_, "\r%s%s", text.c_str(), std::string(padding, ' ').c_str());
    std::fflush(out_);
    width_ = text.size();
}

void ProgressLine::clear() {
    if (width_ == 0) return;
    std::fprintf(out_, "\r%s\r", std::string(width_, ' ').c_str());
    std::fflush(out_);
    width_ = 0;
}

} // namespace zq70cfg
