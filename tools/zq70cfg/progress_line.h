// The transfer's progress on standard error: one line rewritten in place, and only on a
// terminal (a log or a pipe gets no carriage-return litter).
#pragma once

#include <cstdio>
#include <string>

#include "link/transfer_progress.h"
#include "terminal.h"

namespace zq70cfg {

class ProgressLine {
  public:
    // Shows nothing when shown is false.
    explicit ProgressLine(bool shown, std::FILE* out = stderr);
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    // A sink that writes "\r" + prefix + text; the sink lives no longer than this line.
    zq70::ProgressSink sink(std::string prefix = {});
    // Blanks the line, so that whatever is printed next starts on a clean line.
    void clear();

  private:
    void show(const std::string& text);

    bool shown_;
    std::FILE* out_;
    size_t width_ = 0; // of the text on the line now; 0 when the line is clean
};

} // namespace zq70cfg
