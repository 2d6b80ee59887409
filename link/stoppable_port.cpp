#include "stoppable_port.h"

#include <memory>

namespace zq70 {

namespace {

struct StoppablePort {
    SerialPort inner;
    std::function<bool()> stop_requested;
    bool stopped = false;

    bool open() {
        stopped = false;
        return inner.open();
    }
    bool configure() { return inner.configure(); }
    void send_byte(uint8_t byte) {
        if (!stopped) inner.send_byte(byte);
    }
    int receive_byte(int timeout_ms) {
        stopped = stopped || stop_requested();
        return stopped ? -1 : inner.receive_byte(timeout_ms);
    }
    void discard_input() { inner.discard_input(); }
    void close() { inner.close(); }
};

} // namespace

SerialPort stoppable(SerialPort port, std::function<bool()> stop_requested) {
    auto state = std::make_shared<StoppablePort>();
    state->inner = std::move(port);
    state->stop_requested = std::move(stop_requested);
    return bind_serial_port(state);
}

} // namespace zq70
