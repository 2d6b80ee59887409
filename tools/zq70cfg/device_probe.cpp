#include "device_probe.h"

#include "interruption.h"
#include "link/serial_transfer.h"

namespace zq70cfg {

bool wait_for_device(const zq70::SerialPort& port, bool present) {
    int misses = 0;
    for (;;) {
        const bool answered = zq70::serial_probe(port);
        if (interrupted()) return false;
        if (present && answered) return true;
        misses = answered ? 0 : misses + 1;
        if (!present && misses >= kMissesForGone) return true;
        if (!pause_unless_interrupted(kProbeIntervalMs)) return false;
    }
}

} // namespace zq70cfg
