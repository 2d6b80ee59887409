#include "device_probe.h"

#include "interruption.h"
#include "link/serial_transfer.h"

namespace zq70cfg {

bool wait_for_device(const zq70::SerialPort& port, bool present,
                     const PortAvailability& availability, const Pause& pause) {
    int misses = 0;
    bool available = true;
    for (;;) {
        const zq70::ProbeResult probe = zq70::probe_serial_device(port);
        if (interrupted()) return false;
        const bool opened = probe != zq70::ProbeResult::PortUnavailable;
        if (opened != available && availability) availability(opened);
        available = opened;
        const bool answered = probe == zq70::ProbeResult::Answered;
        if (present && answered) return true;
        misses = answered ? 0 : misses + 1;
        if (!present && misses >= kMissesForGone) return true;
        const bool slept =
            pause ? pause(kProbeIntervalMs) : pause_unless_interrupted(kProbeIntervalMs);
        if (!slept) return false;
    }
}

} // namespace zq70cfg
