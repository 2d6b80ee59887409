// A keyboard-line read and write of a fully used image, on real time, against a device
// model that answers at once. The floor is what the protocol itself requires when every
// answer is immediate: the pauses of the wake-up (5 x 150 ms), of a write's opening
// (150 ms) and of the restore (150 ms). The counter "ratio" is the time taken over that.
#include <benchmark/benchmark.h>

#include <chrono>

#include "link/keyboard_transfer.h"
#include "sim/simulated_keyboard.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kWakeUpSeconds = 5 * zq70::kSignalPauseMs / 1000.0;
constexpr double kPauseSeconds = zq70::kSignalPauseMs / 1000.0;

// Key codes that call for one macro whose records fill the macro area: all 512 bytes travel.
zq70::DeviceImage full_image() {
    zq70::DeviceImage image{};
    image[zq70::kColumnsOffset] = 12;
    image[zq70::kRowsOffset] = 12;
    for (int i = 0; i < zq70::kKeyCodeAreaSize; ++i)
        image[i] = static_cast<uint8_t>(i % 100);
    image[7] = 0x81;
    image[zq70::kMacroAreaStart] = 200;
    image[zq70::kMacroAreaStart + 201] = 134;
    for (int i = 0; i < zq70::kPinCount; ++i)
        image[zq70::kPinListOffset + i] = zq70::pin_to_code(i);
    return image;
}

template <typename Transfer>
void run(benchmark::State& state, double floor_seconds, Transfer transfer) {
    const zq70::DeviceImage image = full_image();
    zq70::UserInterface ui;
    double seconds = 0;
    for (auto _ : state) {
        zq70::DeviceModel device;
        device.memory = image;
        zq70::SimulatedKeyboard keyboard(device, zq70::steady_clock_ms());
        const zq70::KeyboardChannel channel(keyboard.platform());
        const auto start = Clock::now();
        if (transfer(zq70::KeyboardLink{channel, ui}, image) != zq70::Ok)
            state.SkipWithError("transfer failed");
        seconds += std::chrono::duration<double>(Clock::now() - start).count();
    }
    state.counters["ratio"] = seconds / state.iterations() / floor_seconds;
}

void keyboard_read_512(benchmark::State& state) {
    run(state, kWakeUpSeconds + kPauseSeconds,
        [](const zq70::KeyboardLink& link, const zq70::DeviceImage&) {
            zq70::DeviceImage image{};
            return zq70::keyboard_read(link, image, {});
        });
}

void keyboard_write_512(benchmark::State& state) {
    run(state, kWakeUpSeconds + 2 * kPauseSeconds,
        [](const zq70::KeyboardLink& link, const zq70::DeviceImage& image) {
            return zq70::keyboard_write(link, image, {});
        });
}

BENCHMARK(keyboard_read_512)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3)
    ->Repetitions(5);
BENCHMARK(keyboard_write_512)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3)
    ->Repetitions(5);

} // namespace
