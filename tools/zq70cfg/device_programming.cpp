#include "device_programming.h"

#include "exit_codes.h"
#include "interruption.h"
#include "link/serial_transfer.h"
#include "link/transfer_report.h"

#ifdef _WIN32
#include "link/keyboard_platform_win32.h"
#endif

namespace zq70cfg {

namespace {

// On Windows each 2 ms pump would last a whole scheduler tick without 1 ms timer
// resolution; it is asked for during transfers only, not while a series waits. Windows
// counts the requests, so ports programmed at the same time each hold their own.
#ifdef _WIN32
using TransferTimer = zq70::MillisecondTimer;
#else
struct TransferTimer {};
#endif

DeviceOutcome interrupted_outcome(const char* result, const char* verify, const char* message) {
    return {interruption_exit_code(), message, result, verify, true};
}

void call(const std::function<void()>& step) {
    if (step) step();
}

} // namespace

DeviceOutcome program_device(const zq70::SerialPort& port, const std::string& port_name,
                             const zq70::DeviceImage& image, bool verify,
                             const TransferDisplay& display, const Pause& pause) {
    [[maybe_unused]] const TransferTimer timer;
    const zq70::Pump pump = [&pause](int ms) {
        if (pause) {
            pause(ms);
        } else {
            pause_unless_interrupted(ms);
        }
    };
    const zq70::TransferResult written = zq70::serial_write(port, image, display.writing, pump);
    call(display.finished);
    if (interrupted())
        return interrupted_outcome(kInterrupted, kNotReached, zq70::kInterruptedWriting);
    if (written != zq70::Ok)
        return {exit_code_of(written),
                zq70::transfer_failure_text(written, zq70::Transfer::Write, port_name), kFailed,
                kNotReached};
    if (!verify) return {kExitOk, "", kWritten, kSkipped};

    call(display.verify_starts);
    zq70::DeviceImage back{};
    const zq70::TransferResult read = zq70::serial_read(port, back, display.verifying, pump);
    call(display.finished);
    if (interrupted())
        return interrupted_outcome(kWritten, kInterrupted, zq70::kInterruptedVerifying);
    if (read != zq70::Ok)
        return {exit_code_of(read),
                zq70::transfer_failure_text(read, zq70::Transfer::ReadBack, port_name), kWritten,
                kReadBackFailed};
    const std::string mismatch = zq70::verify_failure_text(image, back);
    if (!mismatch.empty()) return {kExitVerifyFailed, mismatch, kWritten, kMismatch};
    return {kExitOk, "", kWritten, kVerified};
}

} // namespace zq70cfg
