#include "serial_transfer.h"

#include <initializer_list>

#include "link_texts.h"

namespace zq70 {

namespace {

// Holds the port open for one transfer and closes it on every way out.
class OpenPort {
  public:
    explicit OpenPort(const SerialPort& port) : port_(port) {
        open_ = port_.open();
        if (open_ && !port_.configure()) close();
    }
    ~OpenPort() { close(); }
    OpenPort(const OpenPort&) = delete;
    OpenPort& operator=(const OpenPort&) = delete;

    bool is_open() const { return open_; }

    // Sends a command with its arguments and takes the one byte that answers it. Bytes
    // left over from an earlier exchange are dropped first, so that a late answer is
    // never taken for this command's.
    int command(std::initializer_list<uint8_t> bytes) const {
        port_.discard_input();
        for (uint8_t b : bytes)
            port_.send_byte(b);
        return port_.receive_byte(kSerialAnswerTimeoutMs);
    }

  private:
    void close() {
        if (open_) port_.close();
        open_ = false;
    }

    const SerialPort& port_;
    bool open_ = false;
};

uint8_t high_byte(int address) {
    return static_cast<uint8_t>(address / 256);
}
uint8_t low_byte(int address) {
    return static_cast<uint8_t>(address % 256);
}

void pump_before_command(const Pump& pump) {
    if (pump) pump(kSerialPumpMs);
}

} // namespace

TransferResult serial_read(const SerialPort& port, DeviceImage& image, const ProgressSink& progress,
                           const Pump& pump) {
    OpenPort open(port);
    if (!open.is_open()) return PortOpenFailed;
    // The opening answer is not judged: a silent device fails at the first 'R'.
    open.command({kSerialOpen});
    for (int i = 0; i < kImageSize; ++i) {
        report_percentage(progress, kReadingProgress, i, kImageSize);
        pump_before_command(pump);
        const int answer = open.command({kSerialRead, high_byte(i), low_byte(i)});
        if (answer < 0) return TransferFailed;
        image[i] = static_cast<uint8_t>(answer);
    }
    return open.command({kSerialEnd}) == kSerialAcknowledge ? Ok : TransferFailed;
}

TransferResult serial_write(const SerialPort& port, const DeviceImage& image,
                            const ProgressSink& progress, const Pump& pump) {
    OpenPort open(port);
    if (!open.is_open()) return PortOpenFailed;
    open.command({kSerialOpen});
    if (open.command({kSerialKeyword}) != kSerialKeyword) return TransferFailed;
    for (int i = 0; i < kImageSize; ++i) {
        report_percentage(progress, kWritingProgress, i, kImageSize);
        pump_before_command(pump);
        if (open.command({kSerialWrite, high_byte(i), low_byte(i), image[i]}) != kSerialWrite)
            return TransferFailed;
    }
    if (open.command({kSerialStore}) != kSerialStore) return TransferFailed;
    return open.command({kSerialEnd}) == kSerialAcknowledge ? Ok : TransferFailed;
}

ProbeResult probe_serial_device(const SerialPort& port) {
    OpenPort open(port);
    if (!open.is_open()) return ProbeResult::PortUnavailable;
    return open.command({kSerialOpen}) == kSerialAcknowledge ? ProbeResult::Answered
                                                             : ProbeResult::NoAnswer;
}

bool serial_probe(const SerialPort& port) {
    return probe_serial_device(port) == ProbeResult::Answered;
}

} // namespace zq70
