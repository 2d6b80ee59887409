#include "serial_commands.h"

#include <cstdio>
#include <ctime>

#include "config/image.h"
#include "console.h"
#include "device_probe.h"
#include "exit_codes.h"
#include "interruption.h"
#include "link/serial_transfer.h"
#include "output_file.h"
#include "port_name.h"
#include "progress_line.h"
#include "series_log.h"
#include "transfer_report.h"
#include "words/source.h"
#include "words/text_form.h"

#ifdef _WIN32
#include "link/keyboard_platform_win32.h"
#endif

namespace zq70cfg {

using namespace zq70::words;

namespace {

constexpr const char* kWritten = "written";
constexpr const char* kFailed = "failed";
constexpr const char* kInterrupted = "interrupted";
constexpr const char* kVerified = "verified";
constexpr const char* kMismatch = "mismatch";
constexpr const char* kReadBackFailed = "read-back failed";
constexpr const char* kSkipped = "skipped";
constexpr const char* kNotReached = "-";

// On Windows each 2 ms pump would last a whole scheduler tick without 1 ms timer
// resolution; it is asked for during transfers only, not while a series waits.
#ifdef _WIN32
using TransferTimer = zq70::MillisecondTimer;
#else
struct TransferTimer {};
#endif

// What one serial command holds for its length: the named port behind the interruption
// and the progress line.
class SerialSession {
  public:
    SerialSession(const std::string& name, const std::string& device)
        : name_(name), port_(interruptible(named_serial_port(device))),
          progress_(is_terminal(stderr)) {}

    const std::string& name() const { return name_; }
    const zq70::SerialPort& port() const { return port_; }
    ProgressLine& progress() { return progress_; }
    static zq70::Pump pump() {
        return [](int ms) { pause_unless_interrupted(ms); };
    }

  private:
    std::string name_;
    zq70::SerialPort port_;
    ProgressLine progress_;
};

struct DeviceOutcome {
    int exit_code = kExitOk;
    std::string message; // "" when all went well
    std::string result;
    std::string verify;
    bool cut_short = false; // by Ctrl+C
};

DeviceOutcome interrupted_outcome(const char* result, const char* verify, const char* what) {
    return {interruption_exit_code(), std::string("interrupted ") + what, result, verify, true};
}

// Writes image into the ZQ70 and, with verify, reads it back and compares.
DeviceOutcome program_device(SerialSession& session, const zq70::DeviceImage& image, bool verify) {
    [[maybe_unused]] const TransferTimer timer;
    const zq70::TransferResult written =
        zq70::serial_write(session.port(), image, session.progress().sink(), SerialSession::pump());
    session.progress().clear();
    if (interrupted())
        return interrupted_outcome(kInterrupted, kNotReached,
                                   "while writing: the ZQ70 may hold a partly written "
                                   "configuration; write it again");
    if (written != zq70::Ok)
        return {exit_code_of(written),
                transfer_failure_text(written, Transfer::Write, session.name()), kFailed,
                kNotReached};
    if (!verify) return {kExitOk, "", kWritten, kSkipped};

    zq70::DeviceImage back{};
    const zq70::TransferResult read = zq70::serial_read(
        session.port(), back, session.progress().sink("Verify: "), SerialSession::pump());
    session.progress().clear();
    if (interrupted())
        return interrupted_outcome(kWritten, kInterrupted,
                                   "while verifying: the configuration was written but "
                                   "not verified");
    if (read != zq70::Ok)
        return {exit_code_of(read), transfer_failure_text(read, Transfer::ReadBack, session.name()),
                kWritten, kReadBackFailed};
    const std::string mismatch = verify_failure_text(image, back);
    if (!mismatch.empty()) return {kExitVerifyFailed, mismatch, kWritten, kMismatch};
    return {kExitOk, "", kWritten, kVerified};
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

int write_once(SerialSession& session, const zq70::DeviceImage& image, bool verify) {
    const DeviceOutcome outcome = program_device(session, image, verify);
    if (!outcome.message.empty()) return fail(outcome.exit_code, outcome.message);
    say("Written to the ZQ70 on " + session.name() +
        (verify ? " and verified" : " (not verified)"));
    return kExitOk;
}

int write_series(SerialSession& session, const zq70::DeviceImage& image, bool verify,
                 const std::string& log) {
    note("Programming a series on " + session.name() + ": plug in a ZQ70 (Ctrl+C ends the series)");
    Tally tally;
    int number = 0;
    bool cut_short = false;
    bool log_failed = false;
    while (wait_for_device(session.port(), true)) {
        const DeviceOutcome outcome = program_device(session, image, verify);
        const DeviceRecord record{local_time_text(std::time(nullptr)), ++number, outcome.result,
                                  outcome.verify};
        if (!outcome.message.empty())
            fail(outcome.exit_code, "#" + std::to_string(number) + ": " + outcome.message);
        say(record_line(record));
        if (!log.empty() && !append_to_log(log, record)) {
            fail(kExitCannotWrite, "cannot write the log " + log);
            log_failed = true;
        }
        tally.written += outcome.result == kWritten;
        tally.verified += outcome.verify == kVerified;
        tally.failed += outcome.exit_code != kExitOk;
        if (outcome.cut_short) {
            cut_short = true;
            break;
        }
        note("Take ZQ70 #" + std::to_string(number) + " off the line, then plug in the next one");
        if (!wait_for_device(session.port(), false)) break;
        note("ZQ70 #" + std::to_string(number) + " removed: waiting for the next one");
    }
    say(tally_text(tally));
    if (cut_short) return interruption_exit_code();
    if (log_failed) return kExitCannotWrite;
    return tally.failed > 0 ? kExitSeriesFailed : kExitOk;
}

} // namespace

int read_command(const ReadRequest& request) {
    const std::string device = device_of_port(request.port);
    if (device.empty()) return kExitUsage;
    catch_interruptions();
    SerialSession session(request.port, device);
    zq70::DeviceImage image{};
    [[maybe_unused]] const TransferTimer timer;
    const zq70::TransferResult result =
        zq70::serial_read(session.port(), image, session.progress().sink(), SerialSession::pump());
    session.progress().clear();
    if (interrupted())
        return fail(interruption_exit_code(),
                    "interrupted: " + request.output + " was not written");
    if (result != zq70::Ok)
        return fail(exit_code_of(result),
                    transfer_failure_text(result, Transfer::Read, request.port));

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
    const std::string device = device_of_port(request.port);
    if (device.empty()) return kExitUsage;
    Source source;
    std::string message;
    if (!load_source(request.source, source, message)) return fail(kExitBadInput, message);
    if (!source.encodes())
        return fail(kExitBadInput,
                    request.source + ": " + zq70::kEncoderErrorWord + source.refusal);
    if (!request.log.empty() && !log_is_writable(request.log))
        return fail(kExitCannotWrite, "cannot write the log " + request.log);
    catch_interruptions();
    SerialSession session(request.port, device);
    return request.repeat ? write_series(session, source.image, request.verify, request.log)
                          : write_once(session, source.image, request.verify);
}

} // namespace zq70cfg
