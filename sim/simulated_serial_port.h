// A serial port whose other end is the simulated device, on the given clock. It behaves
// like the Win32 port: exclusive open, time-outs that receive_byte changes and close puts
// back, answers that arrive late stay in the input buffer until discarded. Records what
// was sent and how the port was used.
#pragma once

#include <deque>
#include <functional>
#include <vector>

#include "clock.h"
#include "device_model.h"
#include "link/serial_port.h"

namespace zq70 {

struct PortTimeouts {
    int interval = 0;
    int multiplier = 0;
    int constant = 0;

    bool operator==(const PortTimeouts& other) const {
        return interval == other.interval && multiplier == other.multiplier &&
               constant == other.constant;
    }
};

// The other end of the line: takes each byte sent and gives the answer it sends back, if
// any. A device that sends more than one byte at a time hands the others to inject_input.
using SerialDevice = std::function<DeviceAnswer(uint8_t)>;

class SimulatedSerialPort {
  public:
    SimulatedSerialPort(DeviceModel& device, Clock clock);
    SimulatedSerialPort(SerialDevice device, Clock clock);

    // Functions bound to this port, which must outlive them.
    SerialPort port();

    // What the port's owner set up before the transfer, and failures to inject.
    PortTimeouts timeouts{11, 22, 33};
    bool absent = false;
    bool fail_configure = false;

    // A byte that reaches the input buffer after delay_ms: one left there by an exchange
    // that was given up, or one the device sends unasked. Bytes keep their order on the
    // line, so it arrives no earlier than the bytes before it. Returns the tick it arrives.
    uint32_t inject_input(uint8_t byte, int delay_ms = 0);

    // What the transfer did.
    bool is_open = false;
    int opens = 0;
    std::vector<uint8_t> sent;
    int discards = 0;
    int closes = 0;

  private:
    struct Arrival {
        uint32_t due;
        uint8_t byte;
    };

    int receive(int timeout_ms);

    SerialDevice device_;
    Clock clock_;
    PortTimeouts saved_;
    bool saved_valid_ = false;
    std::deque<Arrival> input_;
    uint32_t last_due_ = 0;
};

} // namespace zq70
