// The serial protocol of link/ for the page, over the Web Serial port that the page had the
// user pick (Module.serialLink): Read, and Write with its read-back, in zq70cfg's words.
// Each call suspends the module while it waits, so it returns a promise, and the page
// makes no other call into the module until it has settled.
#include <emscripten/bind.h>

#include "js_values.h"
#include "link/serial_port_web.h"
#include "link/serial_transfer.h"
#include "link/stoppable_port.h"
#include "link/transfer_report.h"

namespace zq70::web {

namespace {

// A Web Serial port has no name the user would know.
constexpr const char* kPortName = "the serial port";

SerialPort page_port() {
    return stoppable(make_web_serial_port(), web_stop_requested);
}

// The page's progress callback, given the text ("Writing configuration - 42%") and the
// pass it belongs to (0 the transfer, 1 the read-back).
ProgressSink progress_sink(const val& progress, int pass) {
    if (progress.isUndefined() || progress.isNull()) return {};
    return [progress, pass](const std::string& text) { progress(text, pass); };
}

// { outcome, message, ... }: outcome is "ok", "stopped", "lost", "openFailed", "failed" or
// "mismatch"; message is "" for "ok", otherwise zq70cfg's words.
val outcome(const char* kind, const std::string& message) {
    val result = val::object();
    result.set("outcome", kind);
    result.set("message", message);
    return result;
}

val failure(TransferResult result, Transfer transfer, const char* stopped_text) {
    if (web_stop_requested()) return outcome("stopped", stopped_text);
    if (web_port_lost()) return outcome("lost", port_lost_text(transfer));
    return outcome(result == PortOpenFailed ? "openFailed" : "failed",
                   transfer_failure_text(result, transfer, kPortName));
}

constexpr const char* kReadStopped = "interrupted: nothing was read";

// { outcome: "ok", bytes } or a failure; a failed read gives no bytes at all.
val read(const val& progress) {
    DeviceImage image{};
    const TransferResult result =
        serial_read(page_port(), image, progress_sink(progress, 0), web_pump());
    if (result != Ok || web_stop_requested()) return failure(result, Transfer::Read, kReadStopped);
    val done = outcome("ok", "");
    done.set("bytes", image_value(image));
    return done;
}

// Writes the 512 bytes and, with verify, reads them back and compares: "mismatch" names
// the differing addresses in zq70cfg's words and gives them as numbers too.
val write(const val& bytes, bool verify, const val& progress) {
    DeviceImage image{};
    if (!image_of(bytes, image)) return outcome("failed", "not a 512-byte configuration");
    const SerialPort port = page_port();
    const TransferResult written =
        serial_write(port, image, progress_sink(progress, 0), web_pump());
    if (written != Ok || web_stop_requested())
        return failure(written, Transfer::Write, kInterruptedWriting);
    if (!verify) return outcome("ok", "");

    DeviceImage back{};
    const TransferResult read = serial_read(port, back, progress_sink(progress, 1), web_pump());
    if (read != Ok || web_stop_requested())
        return failure(read, Transfer::ReadBack, kInterruptedVerifying);
    const std::string mismatch = verify_failure_text(image, back);
    if (mismatch.empty()) return outcome("ok", "");
    val result = outcome("mismatch", mismatch);
    result.set("bytes", image_value(back));
    result.set("addresses", array_value(differing_addresses(image, back)));
    return result;
}

} // namespace

} // namespace zq70::web

EMSCRIPTEN_BINDINGS(zq70_serial) {
    using namespace emscripten;
    function("serialRead", &zq70::web::read);
    function("serialWrite", &zq70::web::write);
}
