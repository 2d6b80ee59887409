#include "simulated_serial_port.h"

namespace zq70 {

SimulatedSerialPort::SimulatedSerialPort(DeviceModel& device, Clock clock)
    : SimulatedSerialPort([&device](uint8_t byte) { return device.serial_byte(byte); },
                          std::move(clock)) {}

SimulatedSerialPort::SimulatedSerialPort(SerialDevice device, Clock clock)
    : device_(std::move(device)), clock_(std::move(clock)) {}

SerialPort SimulatedSerialPort::port() {
    SerialPort port;
    port.open = [this] {
        ++opens;
        if (absent || is_open) return false;
        is_open = true;
        saved_valid_ = false;
        return true;
    };
    port.configure = [this] {
        if (fail_configure) return false;
        saved_ = timeouts;
        saved_valid_ = true;
        return true;
    };
    port.send_byte = [this](uint8_t byte) {
        sent.push_back(byte);
        const DeviceAnswer answer = device_(byte);
        if (answer.value >= 0) inject_input(static_cast<uint8_t>(answer.value), answer.delay_ms);
    };
    port.receive_byte = [this](int timeout_ms) { return receive(timeout_ms); };
    port.discard_input = [this] {
        ++discards;
        while (!input_.empty() && ticks_until(input_.front().due, clock_.ticks()) <= 0)
            input_.pop_front();
    };
    port.close = [this] {
        if (saved_valid_) timeouts = saved_;
        is_open = false;
        ++closes;
    };
    return port;
}

uint32_t SimulatedSerialPort::inject_input(uint8_t byte, int delay_ms) {
    // The device answers one command after the other: a late answer delays the next.
    uint32_t due = clock_.ticks() + static_cast<uint32_t>(delay_ms);
    if (!input_.empty() && ticks_until(last_due_, due) > 0) due = last_due_;
    last_due_ = due;
    input_.push_back({due, byte});
    return due;
}

int SimulatedSerialPort::receive(int timeout_ms) {
    timeouts = {timeout_ms, timeout_ms, timeout_ms};
    // A one-byte read gives up after multiplier x 1 + constant.
    const int limit = timeouts.multiplier + timeouts.constant;
    if (!input_.empty()) {
        const int32_t wait = ticks_until(input_.front().due, clock_.ticks());
        if (wait <= limit) {
            if (wait > 0) clock_.sleep(wait);
            const uint8_t byte = input_.front().byte;
            input_.pop_front();
            return byte;
        }
    }
    clock_.sleep(limit);
    return -1;
}

} // namespace zq70
