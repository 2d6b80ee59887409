#include "device_probe.h"

#include "interruption.h"
#include "link/serial_commands.h"
#include "link/serial_transfer.h"

namespace zq70cfg {

bool device_answers(const zq70::SerialPort& port, int port_number) {
    if (!port.open(port_number)) return false;
    bool answered = false;
    if (port.configure()) {
        port.discard_input();
        port.send_byte(zq70::kSerialOpen);
        answered = port.receive_byte(zq70::kSerialAnswerTimeoutMs) == zq70::kSerialAcknowledge;
    }
    port.close();
    return answered;
}

bool wait_for_device(const zq70::SerialPort& port, int port_number, bool present) {
    int misses = 0;
    for (;;) {
        const bool answered = device_answers(port, port_number);
        if (interrupted()) return false;
        if (present && answered) return true;
        misses = answered ? 0 : misses + 1;
        if (!present && misses >= kMissesForGone) return true;
        if (!pause_unless_interrupted(kProbeIntervalMs)) return false;
    }
}

} // namespace zq70cfg
