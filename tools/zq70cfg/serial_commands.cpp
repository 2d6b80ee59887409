#include "serial_commands.h"

#include <thread>

#include "config/image.h"
#include "console.h"
#include "device_programming.h"
#include "exit_codes.h"
#include "interruption.h"
#include "link/serial_transfer.h"
#include "link/transfer_report.h"
#include "output_file.h"
#include "port_name.h"
#include "port_pattern.h"
#include "port_series.h"
#include "progress_line.h"
#include "series_board.h"
#include "series_log.h"
#include "words/source.h"
#include "words/text_form.h"

#ifdef _WIN32
#include "link/keyboard_platform_win32.h"
#endif

namespace zq70cfg {

using namespace zq70::words;

namespace {

#ifdef _WIN32
constexpr bool kComPortNames = true;
#else
constexpr bool kComPortNames = false;
#endif

// A port as the user named it, and the device that opens it.
struct NamedPort {
    std::string name;
    std::string device;
};

// The port behind the interruption, as every serial command uses it.
zq70::SerialPort command_port(const NamedPort& port) {
    return interruptible(named_serial_port(port.device));
}

// The device behind a --port name, or "" after a usage message.
std::string device_of_port(const std::string& name) {
    const std::string device = port_device_of(name);
    if (device.empty()) {
#ifdef _WIN32
        fail(kExitUsage, "not a serial port: '" + name + "' (COM1 to COM256)");
#else
        fail(kExitUsage, "no serial port named");
#endif
    }
    return device;
}

// What the --port values name, each with its device; empty after saying why not.
std::vector<NamedPort> ports_of(const std::vector<std::string>& given, int& code) {
    const PortSelection selection = select_ports(given, kComPortNames, system_port_lister());
    if (!selection.error.empty()) {
        code = fail(selection.bad_pattern ? kExitUsage : kExitPortOpenFailed, selection.error);
        return {};
    }
    std::vector<NamedPort> ports;
    for (const std::string& name : selection.names) {
        const std::string device = device_of_port(name);
        if (device.empty()) {
            code = kExitUsage;
            return {};
        }
        ports.push_back({name, device});
    }
    if (ports.empty()) code = fail(kExitUsage, "no serial port named");
    return ports;
}

// The progress line of one port on a terminal, as a single write and a one-port series
// show it.
TransferDisplay line_display(ProgressLine& line) {
    return {line.sink(), line.sink("Verify: "), [&line] { line.clear(); }, {}};
}

int write_once(const NamedPort& port, const zq70::DeviceImage& image, bool verify) {
    ProgressLine line(is_terminal(stderr));
    const DeviceOutcome outcome =
        program_device(command_port(port), port.name, image, verify, line_display(line));
    if (!outcome.message.empty()) return fail(outcome.exit_code, outcome.message);
    say("Written to the ZQ70 on " + port.name + (verify ? " and verified" : " (not verified)"));
    return kExitOk;
}

// A series on one port: the progress line and one line per device, as it has always been.
int write_series(const NamedPort& port, const zq70::DeviceImage& image, bool verify,
                 SeriesLog& log) {
    note("Programming a series on " + port.name + ": plug in a ZQ70 (Ctrl+C ends the series)");
    ProgressLine line(is_terminal(stderr));
    const TransferDisplay display = line_display(line);
    PortState phase = PortState::Waiting;
    SeriesReport report;
    report.state = [&](PortState state, int device) {
        phase = state;
        if (state == PortState::TakeOff)
            note("Take ZQ70 #" + std::to_string(device) +
                 " off the line, then plug in the next one");
    };
    report.progress = [&](const std::string& text) {
        const zq70::ProgressSink& sink =
            phase == PortState::Verifying ? display.verifying : display.writing;
        if (sink) sink(text);
    };
    report.transfer_ended = display.finished;
    report.record = [](const DeviceRecord& record, int code, const std::string& message) {
        if (!message.empty()) fail(code, "#" + std::to_string(record.number) + ": " + message);
        say(record_line(record));
    };
    report.removed = [](int device) {
        note("ZQ70 #" + std::to_string(device) + " removed: waiting for the next one");
    };
    report.trouble = [](const std::string& text) { fail(kExitCannotWrite, text); };
    const SeriesOutcome outcome =
        run_series({command_port(port), port.name, image, verify, &log, {}}, report);
    say(tally_text(outcome.tally));
    return series_exit_code(outcome);
}

// One series per port, each on a thread of its own: the transfers mostly wait on the line,
// so the ports must not wait for each other.
int write_many(const std::vector<NamedPort>& ports, const zq70::DeviceImage& image, bool verify,
               SeriesLog& log) {
    note("Programming a series on " + std::to_string(ports.size()) +
         " ports: plug in a ZQ70 on each (Ctrl+C ends the series)");
    std::vector<std::string> names;
    for (const NamedPort& port : ports)
        names.push_back(port.name);
    SeriesBoard board(names, board_output_here());
    std::vector<SeriesOutcome> outcomes(ports.size());
    std::vector<std::thread> threads;
    for (size_t i = 0; i < ports.size(); ++i) {
        threads.emplace_back([&, i] {
            outcomes[i] =
                run_series({command_port(ports[i]), ports[i].name, image, verify, &log, {}},
                           board.report_for(i));
        });
    }
    for (std::thread& thread : threads)
        thread.join();
    board.finish(outcomes);
    SeriesOutcome all;
    for (const SeriesOutcome& outcome : outcomes) {
        all.tally += outcome.tally;
        all.cut_short = all.cut_short || outcome.cut_short;
        all.log_failed = all.log_failed || outcome.log_failed;
    }
    return series_exit_code(all);
}

} // namespace

int read_command(const ReadRequest& request) {
    const std::string device = device_of_port(request.port);
    if (device.empty()) return kExitUsage;
    catch_interruptions();
    ProgressLine line(is_terminal(stderr));
    zq70::DeviceImage image{};
    zq70::TransferResult result;
    {
#ifdef _WIN32
        const zq70::MillisecondTimer timer;
#endif
        result = zq70::serial_read(command_port({request.port, device}), image, line.sink(),
                                   [](int ms) { pause_unless_interrupted(ms); });
    }
    line.clear();
    if (interrupted())
        return fail(interruption_exit_code(),
                    "interrupted: " + request.output + " was not written");
    if (result != zq70::Ok)
        return fail(exit_code_of(result),
                    zq70::transfer_failure_text(result, zq70::Transfer::Read, request.port));

    zq70::Configuration config;
    zq70::reset_configuration(config);
    const bool valid = zq70::decode_image(image, config);
    if (names_text_file(request.output)) {
        // A text can only say what the decoder understood; the raw bytes need an image file.
        if (!valid)
            return fail(kExitBadInput, "the ZQ70 holds no valid configuration; " + request.output +
                                           " was not written (read into an image file to "
                                           "keep its bytes)");
        if (!write_output(request.output, export_text(config)))
            return fail(kExitCannotWrite, "cannot write " + request.output);
    } else {
        if (!write_output(request.output, std::string(image.begin(), image.end())))
            return fail(kExitCannotWrite, "cannot write " + request.output);
        if (!valid)
            return fail(kExitBadInput, "the ZQ70 holds no valid configuration; its 512 bytes "
                                       "are in " +
                                           request.output + " as read");
    }
    say("Read the ZQ70 on " + request.port + " into " + request.output);
    return kExitOk;
}

int write_command(const WriteRequest& request) {
    int code = kExitOk;
    const std::vector<NamedPort> ports = ports_of(request.ports, code);
    if (ports.empty()) return code;
    if (ports.size() > 1 && !request.repeat)
        return fail(kExitUsage, "several ports are programmed only as series: add --repeat");
    Source source;
    std::string message;
    if (!load_source(request.source, source, message)) return fail(kExitBadInput, message);
    if (!source.encodes())
        return fail(kExitBadInput,
                    request.source + ": " + zq70::kEncoderErrorWord + source.refusal);
    SeriesLog log;
    if (!request.log.empty() && !log.open(request.log, ports.size() > 1))
        return fail(kExitCannotWrite, "cannot write the log " + request.log);
    catch_interruptions();
    if (!request.repeat) return write_once(ports.front(), source.image, request.verify);
    if (ports.size() == 1) return write_series(ports.front(), source.image, request.verify, log);
    return write_many(ports, source.image, request.verify, log);
}

} // namespace zq70cfg
