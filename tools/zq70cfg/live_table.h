// The table that shows many ports programming at once on a terminal: a line per port,
// redrawn in place with ANSI cursor movement. Only text here; series_board.h says when.
#pragma once

#include <string>
#include <vector>

namespace zq70cfg {

struct TableRow {
    std::string port;
    std::string device; // "#3", or "" before the first
    std::string state;  // "waiting", "writing 43 %", "done", "port gone", ...
    std::string last;   // the last device's result
};

// A header line, a line per row and the footer, each cut to fit width columns (a line that
// reached the last column would wrap on some terminals and throw the redraw off).
std::vector<std::string> table_lines(const std::vector<TableRow>& rows, const std::string& footer,
                                     int width);

// The text that draws lines over the lines_before lines drawn last time (0 the first time;
// a table keeps its number of lines):
// the cursor goes up over them, and each line is erased to its end as it is written. The
// cursor ends below the table.
std::string table_redraw(const std::vector<std::string>& lines, int lines_before);

// The text cut to at most columns characters (UTF-8 sequences are kept whole).
std::string fit(const std::string& text, int columns);

} // namespace zq70cfg
