#include "transfer_progress.h"

namespace zq70 {

void report_percentage(const ProgressSink& progress, const char* format, int done, int total) {
    const int now = done * 100 / total;
    const int before = (done - 1) * 100 / total;
    if (now != before && progress) progress(format_text(format, now));
}

} // namespace zq70
