// Wall time of File > Write to ZQ70 and File > Read from ZQ70 as the program runs them
// (progress window, the two 100 ms pumps, the real message pumps and 1 ms timer
// resolution), under Wine or on Windows:
//   - over COM1 against zq70sim (run it with tests/support/run_with_sims.sh), against the floor
//     of 512 x 2 ms of pumping plus the two 100 ms pumps;
//   - over the keyboard line against a device model that answers at once, on real time,
//     against the protocol's own pauses plus the two 100 ms pumps.
//   transfer_bench [RUNS]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "link/keyboard_platform_win32.h"
#include "link/keyboard_transfer.h"
#include "mainwin/transfer_commands.h"
#include "sim/clock.h"
#include "sim/simulated_keyboard.h"

namespace {

using namespace zq70;

constexpr double kPumpsMs = 2 * 100;
constexpr double kSerialFloorMs = 512 * 2 + kPumpsMs;
constexpr double kKeyboardReadFloorMs = 5 * kSignalPauseMs + kSignalPauseMs + kPumpsMs;
constexpr double kKeyboardWriteFloorMs = 5 * kSignalPauseMs + 2 * kSignalPauseMs + kPumpsMs;

// A default configuration with a key in every cell of the 12 x 12 matrix.
Session bench_session(int comm_port) {
    Session session;
    reset_configuration(session.config);
    for (int r = 0; r < 12; ++r)
        for (int c = 0; c < 12; ++c)
            session.config.key_codes[cell_index(r, c)] = 1 + (r * 12 + c) % 100;
    session.comm_port = comm_port;
    session.ui.message = [](const std::string&, const std::string& text, MessageIcon icon,
                            MessageButtons) {
        if (icon != MessageIcon::None) std::fprintf(stderr, "transfer failed: %s\n", text.c_str());
        return MessageAnswer::Ok;
    };
    return session;
}

template <typename Command>
double time_ms(Session& session, const Transports& transports, Command command) {
    const TransferCommand transfer{session, GetModuleHandleA(nullptr), nullptr, transports};
    MillisecondTimer resolution; // so that the clock below reads whole milliseconds
    const uint32_t start = millisecond_ticks();
    command(transfer);
    return millisecond_ticks() - start;
}

void report(const char* name, std::vector<double> times, double floor_ms) {
    std::sort(times.begin(), times.end());
    const double median = times[times.size() / 2];
    std::printf("%-16s median %7.1f ms (min %7.1f, max %7.1f) floor %6.0f ms ratio %.3f\n", name,
                median, times.front(), times.back(), floor_ms, median / floor_ms);
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    std::vector<double> serial_write_ms, serial_read_ms, keyboard_write_ms, keyboard_read_ms;

    const Transports serial = device_transports();
    for (int i = 0; i < runs; ++i) {
        Session session = bench_session(0);
        serial_write_ms.push_back(time_ms(session, serial, [](auto& c) { write_to_device(c); }));
        serial_read_ms.push_back(time_ms(session, serial, [](auto& c) { read_from_device(c); }));
    }

    for (int i = 0; i < runs; ++i) {
        DeviceModel device;
        SimulatedKeyboard keyboard(device, steady_clock_ms());
        Transports line;
        line.keyboard_write = [&](const UserInterface& ui, const DeviceImage& image,
                                  const ProgressSink& progress) {
            const KeyboardChannel channel(keyboard.platform());
            return keyboard_write(KeyboardLink{channel, ui}, image, progress);
        };
        line.keyboard_read = [&](const UserInterface& ui, DeviceImage& image,
                                 const ProgressSink& progress) {
            const KeyboardChannel channel(keyboard.platform());
            return keyboard_read(KeyboardLink{channel, ui}, image, progress);
        };
        Session session = bench_session(kKeyboardPort);
        keyboard_write_ms.push_back(time_ms(session, line, [](auto& c) { write_to_device(c); }));
        keyboard_read_ms.push_back(time_ms(session, line, [](auto& c) { read_from_device(c); }));
    }

    report("serial write", serial_write_ms, kSerialFloorMs);
    report("serial read", serial_read_ms, kSerialFloorMs);
    report("keyboard write", keyboard_write_ms, kKeyboardWriteFloorMs);
    report("keyboard read", keyboard_read_ms, kKeyboardReadFloorMs);
    return 0;
}
