#include "port_series.h"

#include <cctype>

#include "device_programming.h"
#include "exit_codes.h"
#include "interruption.h"

namespace zq70cfg {

namespace {

template <typename Event, typename... Args> void tell(const Event& event, Args&&... args) {
    if (event) event(std::forward<Args>(args)...);
}

} // namespace

SeriesOutcome run_series(const SeriesSetup& setup, const SeriesReport& report) {
    SeriesOutcome outcome;
    int number = 0;
    // Told once per change, also across the waits for a device to come and to go.
    bool available = true;
    const PortAvailability availability = [&](bool now) {
        if (now != available) tell(report.port_available, now);
        available = now;
    };
    TransferDisplay display;
    display.writing = report.progress;
    display.verifying = report.progress;
    display.finished = report.transfer_ended;
    display.verify_starts = [&] { tell(report.state, PortState::Verifying, number); };

    tell(report.state, PortState::Waiting, number);
    while (wait_for_device(setup.port, true, availability, setup.pause)) {
        ++number;
        tell(report.state, PortState::Writing, number);
        const DeviceOutcome device = program_device(setup.port, setup.port_name, setup.image,
                                                    setup.verify, display, setup.pause);
        const DeviceRecord record{local_time_text(std::time(nullptr)), number, device.result,
                                  device.verify};
        tell(report.record, record, device.exit_code, device.message);
        if (setup.log != nullptr && !setup.log->append(record, setup.port_name)) {
            outcome.log_failed = true;
            tell(report.trouble, "cannot write the log " + setup.log->path());
        }
        count_device(outcome.tally, record, device.exit_code != kExitOk);
        if (device.cut_short) {
            outcome.cut_short = true;
            break;
        }
        tell(report.state, PortState::TakeOff, number);
        if (!wait_for_device(setup.port, false, availability, setup.pause)) break;
        tell(report.removed, number);
        tell(report.state, PortState::Waiting, number);
    }
    tell(report.state, PortState::Stopped, number);
    return outcome;
}

int series_exit_code(const SeriesOutcome& outcome) {
    if (outcome.cut_short) return interruption_exit_code();
    if (outcome.log_failed) return kExitCannotWrite;
    return outcome.tally.failed > 0 ? kExitSeriesFailed : kExitOk;
}

int percentage_in(const std::string& progress) {
    size_t end = progress.find_last_of("0123456789");
    if (end == std::string::npos) return -1;
    size_t start = end;
    while (start > 0 && std::isdigit(static_cast<unsigned char>(progress[start - 1])))
        --start;
    return std::stoi(progress.substr(start, end - start + 1));
}

} // namespace zq70cfg
