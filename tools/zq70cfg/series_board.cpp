#include "series_board.h"

#include <chrono>

#include "terminal.h"

namespace zq70cfg {

namespace {

constexpr const char* kInAll = "In all: ";

std::string device_name(int number) {
    return "ZQ70 #" + std::to_string(number);
}

} // namespace

BoardOutput board_output_here() {
    BoardOutput output;
    output.table = is_terminal(stderr) && enable_terminal_sequences(stderr);
    output.lines_with_table = !is_terminal(stdout);
    output.width = terminal_width(stderr);
    return output;
}

SeriesBoard::SeriesBoard(const std::vector<std::string>& ports, const BoardOutput& output)
    : output_(output) {
    for (const std::string& port : ports) {
        rows_.emplace_back();
        rows_.back().port = port;
    }
    if (output_.table) redrawer_ = std::thread([this] { redraw_loop(); });
}

SeriesBoard::~SeriesBoard() {
    stop_redrawing();
}

template <typename Change> void SeriesBoard::update(size_t index, Change change) {
    const std::lock_guard<std::mutex> lock(mutex_);
    change(rows_[index]);
    dirty_ = true;
}

void SeriesBoard::say(std::FILE* stream, const std::string& text) {
    std::fprintf(stream, "%s\n", text.c_str());
    std::fflush(stream);
}

SeriesReport SeriesBoard::report_for(size_t index) {
    const std::string& port = rows_[index].port;
    const bool plain = !output_.table;
    SeriesReport report;
    report.state = [this, index, port, plain](PortState state, int device) {
        update(index, [&](Row& row) {
            row.state = state;
            row.device = device;
            row.percent = -1;
            if (plain && state == PortState::TakeOff)
                say(output_.err, port + ": take " + device_name(device) +
                                     " off the line, then plug in the next one");
        });
    };
    report.progress = [this, index](const std::string& text) {
        update(index, [&](Row& row) { row.percent = percentage_in(text); });
    };
    report.port_available = [this, index, port, plain](bool available) {
        update(index, [&](Row& row) {
            row.available = available;
            if (plain)
                say(output_.err, available ? port + ": the port is back"
                                           : port + ": the port is gone (it does not open): "
                                                    "watching for it to come back");
        });
    };
    report.record = [this, index, port, plain](const DeviceRecord& record, int exit_code,
                                               const std::string& message) {
        update(index, [&](Row& row) {
            const bool failed = exit_code != 0;
            count_device(row.tally, record, failed);
            row.last_failed = failed;
            row.last = "#" + std::to_string(record.number) + " " +
                       (failed ? message : record.result + ", " + record.verify) + " (" +
                       record.time.substr(record.time.find(' ') + 1) + ")";
            if (plain && failed)
                say(output_.err,
                    "zq70cfg: " + port + ": #" + std::to_string(record.number) + ": " + message);
            if (plain || output_.lines_with_table)
                say(output_.out, port + ": " + record_line(record));
        });
    };
    report.removed = [this, index, port, plain](int device) {
        update(index, [&](Row&) {
            if (plain)
                say(output_.err,
                    port + ": " + device_name(device) + " removed: waiting for the next one");
        });
    };
    report.trouble = [this, index, port, plain](const std::string& text) {
        update(index, [&](Row& row) {
            row.last = text;
            if (plain) say(output_.err, "zq70cfg: " + port + ": " + text);
        });
    };
    return report;
}

std::string SeriesBoard::state_text(const Row& row) const {
    if (!row.available) return "port gone";
    const std::string percent = row.percent >= 0 ? " " + std::to_string(row.percent) + " %" : "";
    switch (row.state) {
    case PortState::Waiting: return "waiting";
    case PortState::Writing: return "writing" + percent;
    case PortState::Verifying: return "verifying" + percent;
    case PortState::TakeOff: return row.last_failed ? "failed" : "done";
    case PortState::Stopped: return "stopped";
    }
    return "";
}

// Called with the lock held.
std::string SeriesBoard::redraw_text() {
    std::vector<TableRow> table;
    Tally all;
    for (const Row& row : rows_) {
        table.push_back({row.port, row.device > 0 ? "#" + std::to_string(row.device) : "",
                         state_text(row), row.last});
        all += row.tally;
    }
    const std::string footer =
        kInAll + tally_text(all) + (stopping_ ? "" : "  (Ctrl+C ends the series)");
    const std::vector<std::string> lines = table_lines(table, footer, output_.width);
    const std::string text = table_redraw(lines, lines_drawn_);
    lines_drawn_ = static_cast<int>(lines.size());
    dirty_ = false;
    return text;
}

void SeriesBoard::redraw_loop() {
    std::unique_lock<std::mutex> lock(mutex_);
    for (;;) {
        if (dirty_) {
            const std::string text = redraw_text();
            // Written without the lock: the ports go on meanwhile.
            lock.unlock();
            std::fwrite(text.data(), 1, text.size(), output_.err);
            std::fflush(output_.err);
            lock.lock();
        }
        if (stopping_ && !dirty_) return;
        if (!stopping_) wake_.wait_for(lock, std::chrono::milliseconds(output_.redraw_ms));
    }
}

void SeriesBoard::stop_redrawing() {
    if (!redrawer_.joinable()) return;
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
        dirty_ = true;
    }
    wake_.notify_all();
    redrawer_.join();
}

void SeriesBoard::finish(const std::vector<SeriesOutcome>& outcomes) {
    stop_redrawing();
    Tally all;
    for (size_t i = 0; i < rows_.size() && i < outcomes.size(); ++i) {
        say(output_.out, rows_[i].port + ": " + tally_text(outcomes[i].tally));
        all += outcomes[i].tally;
    }
    say(output_.out, kInAll + tally_text(all));
}

} // namespace zq70cfg
