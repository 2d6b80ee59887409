#include "device_commands.h"

#include "mainwin/message_pump.h"

namespace zq70 {

namespace {

Transports& transports() {
    static Transports current = device_transports();
    return current;
}

// While the transfer pumps messages the window procedure ignores commands, clicks and
// list changes and holds back a close; afterwards a close or quit asked for meanwhile
// goes through.
template <typename Command> void run_transfer(MainWindow& m, Command command) {
    if (m.transfer_running) return;
    m.transfer_running = true;
    command(TransferCommand{*m.session, m.instance, m.window, transports()});
    end_transfer(m);
    repost_quit_request();
}

} // namespace

void write_to_device(MainWindow& m) {
    run_transfer(m, [](const TransferCommand& c) { write_to_device(c); });
}

void read_from_device(MainWindow& m) {
    run_transfer(m, [](const TransferCommand& c) { read_from_device(c); });
}

void use_transports(Transports replacement) {
    transports() = std::move(replacement);
}

} // namespace zq70
