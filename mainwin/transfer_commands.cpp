#include "transfer_commands.h"

#include "config/files.h"
#include "link/keyboard_platform_win32.h"
#include "link/keyboard_transfer.h"
#include "link/serial_port_win32.h"
#include "link/serial_transfer.h"
#include "message_pump.h"
#include "progress_window.h"

namespace zq70 {

namespace {

constexpr int kSettleMs = 100; // lets the progress window appear, and the main window repaint

constexpr const char* kWriteOk = "The configuration was successfully saved to the ZQ70";
constexpr const char* kReadOk = "The configuration was successfully read from the ZQ70";
constexpr const char* kNotFound = "The ZQ70 was not found";
constexpr const char* kWriteFailed = "Error while writing to the ZQ70";
constexpr const char* kReadFailed = "Error while reading from the ZQ70";
constexpr const char* kInvalidConfiguration = "Invalid configuration";
constexpr const char* kPortOpenFailed = "Error opening Com %d";
constexpr const char* kTooFewCombos = "Error while writing to the ZQ70 (N < 16)";
constexpr const char* kUnknownError = "Unknown error (%d)";

bool uses_keyboard(int comm_port) {
    return comm_port >= kKeyboardPort;
}

void keyboard_dispatch(const ThreadMessage& message) {
    dispatch_other(to_native(message));
}

const ProgressSink& progress_sink() {
    static const ProgressSink sink = set_progress_text;
    return sink;
}

const Pump& pump() {
    static const Pump pump = pump_messages;
    return pump;
}

// Progress window up and a millisecond timer resolution for the transfer itself; both
// are given back before the caller shows its result message.
template <typename Transfer>
TransferResult run_with_progress(const TransferCommand& command, Transfer transfer) {
    TransferResult result;
    {
        MillisecondTimer timer;
        create_progress_window(command.instance, command.owner);
        pump_messages(kSettleMs);
        result = transfer();
        destroy_progress_window();
        pump_messages(kSettleMs);
    }
    return result;
}

void show_result(const TransferCommand& command, const ResultMessage& message) {
    show_message(command.session.ui, message.text, message.icon);
}

} // namespace

Transports device_transports() {
    Transports t;
    t.keyboard_read = [](const UserInterface& ui, DeviceImage& image,
                         const ProgressSink& progress) {
        const KeyboardChannel channel(win32_keyboard_platform(keyboard_dispatch));
        return keyboard_read(KeyboardLink{channel, ui}, image, progress);
    };
    t.keyboard_write = [](const UserInterface& ui, const DeviceImage& image,
                          const ProgressSink& progress) {
        const KeyboardChannel channel(win32_keyboard_platform(keyboard_dispatch));
        return keyboard_write(KeyboardLink{channel, ui}, image, progress);
    };
    t.serial_read = [](int port_number, DeviceImage& image, const ProgressSink& progress,
                       const Pump& pump) {
        const std::string device = com_port_device(port_number);
        if (device.empty()) return PortOpenFailed;
        return serial_read(make_win32_serial_port(device), image, progress, pump);
    };
    t.serial_write = [](int port_number, const DeviceImage& image, const ProgressSink& progress,
                        const Pump& pump) {
        const std::string device = com_port_device(port_number);
        if (device.empty()) return PortOpenFailed;
        return serial_write(make_win32_serial_port(device), image, progress, pump);
    };
    return t;
}

std::string com_port_device(int port_number) {
    if (port_number < kFirstPortNumber || port_number > kLastPortNumber) return "";
    return "\\\\.\\COM" + std::to_string(port_number);
}

ResultMessage write_result_message(int code, int comm_port) {
    switch (code) {
    case Ok: return {kWriteOk, MessageIcon::None};
    case DeviceNotFound: return {kNotFound, MessageIcon::Error};
    case TransferFailed: return {kWriteFailed, MessageIcon::Error};
    case PortOpenFailed: return {format_text(kPortOpenFailed, comm_port + 1), MessageIcon::Error};
    case NoGoodCombos: return {kTooFewCombos, MessageIcon::Error};
    default: return {format_text(kUnknownError, code), MessageIcon::Error};
    }
}

ResultMessage read_result_message(int code, int comm_port) {
    switch (code) {
    case Ok: return {kReadOk, MessageIcon::None};
    case DeviceNotFound: return {kNotFound, MessageIcon::Error};
    case TransferFailed: return {kReadFailed, MessageIcon::Error};
    case InvalidHeader: return {kInvalidConfiguration, MessageIcon::Error};
    case PortOpenFailed: return {format_text(kPortOpenFailed, comm_port + 1), MessageIcon::Error};
    default: return {format_text(kUnknownError, code), MessageIcon::Error};
    }
}

void write_to_device(const TransferCommand& command) {
    Session& session = command.session;
    DeviceImage image{};
    // A doubled pin has been reported by the encoder; nothing else happens.
    if (!encode_image(session.config, image, session.ui)) return;

    const int port = session.comm_port;
    const Transports& t = command.transports;
    const TransferResult result = run_with_progress(command, [&] {
        return uses_keyboard(port) ? t.keyboard_write(session.ui, image, progress_sink())
                                   : t.serial_write(port + 1, image, progress_sink(), pump());
    });
    show_result(command, write_result_message(result, port));
}

void read_from_device(const TransferCommand& command) {
    Session& session = command.session;
    if (!query_save_changes(session)) return;

    DeviceImage image{};
    const int port = session.comm_port;
    const Transports& t = command.transports;
    const TransferResult result = run_with_progress(command, [&] {
        return uses_keyboard(port) ? t.keyboard_read(session.ui, image, progress_sink())
                                   : t.serial_read(port + 1, image, progress_sink(), pump());
    });

    if (result != Ok) {
        // Nothing was read, so unsaved changes are still unsaved: modified stays as it was.
        show_result(command, read_result_message(result, port));
        return;
    }
    if (!decode_image(image, session.config)) {
        show_error(session.ui, kInvalidConfiguration);
        return;
    }
    show_configuration(session);
    show_result(command, read_result_message(Ok, port));
    session.config.modified = false;
}

} // namespace zq70
