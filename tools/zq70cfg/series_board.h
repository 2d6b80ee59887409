// What many ports programming at once show. On a terminal: one live table (live_table.h),
// redrawn a few times a second by a thread of its own, so that a slow terminal never holds
// up a port. Otherwise: one plain line per event, the port in front. Every port's thread
// reports here, and each line is written whole.
#pragma once

#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "live_table.h"
#include "port_series.h"

namespace zq70cfg {

struct BoardOutput {
    std::FILE* out = stdout;       // a line per device, the tallies
    std::FILE* err = stderr;       // what happens meanwhile, or the table
    bool table = false;            // draw the live table on err
    bool lines_with_table = false; // a line per device on out beside the table
    int width = 80;                // of the table's terminal
    int redraw_ms = 100;
};

// The table on a terminal that can take it (standard error), with the device lines on
// standard output too when that goes somewhere else; plain lines otherwise.
BoardOutput board_output_here();

class SeriesBoard {
  public:
    SeriesBoard(const std::vector<std::string>& ports, const BoardOutput& output);
    ~SeriesBoard();
    SeriesBoard(const SeriesBoard&) = delete;
    SeriesBoard& operator=(const SeriesBoard&) = delete;

    // The report of the port at index, for its thread.
    SeriesReport report_for(size_t index);
    // Draws the table one last time, then prints the tally of each port and in all.
    void finish(const std::vector<SeriesOutcome>& outcomes);

  private:
    struct Row {
        std::string port;
        int device = 0;
        PortState state = PortState::Waiting;
        bool available = true;
        int percent = -1;
        bool last_failed = false;
        std::string last;
        Tally tally;
    };

    // Takes the lock, changes the row, and marks the table for redrawing.
    template <typename Change> void update(size_t index, Change change);
    void say(std::FILE* stream, const std::string& text);
    std::string state_text(const Row& row) const;
    std::string redraw_text();
    void redraw_loop();
    void stop_redrawing();

    BoardOutput output_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::vector<Row> rows_;
    bool dirty_ = true;
    bool stopping_ = false;
    int lines_drawn_ = 0;
    std::thread redrawer_;
};

} // namespace zq70cfg
