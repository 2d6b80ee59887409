// What a transfer hands its progress to, and how it keeps the user interface alive.
#pragma once

#include <functional>
#include <string>

#include "config/text_format.h"

namespace zq70 {

// Takes one line of progress text (the progress window's line in the program).
using ProgressSink = std::function<void(const std::string&)>;

// Handles window messages for the given number of milliseconds.
using Pump = std::function<void(int ms)>;

// Sets "format" with the percentage of done out of total when it differs from the one of
// done - 1 (a percentage is shown once, when it is first reached).
void report_percentage(const ProgressSink& progress, const char* format, int done, int total);

} // namespace zq70
