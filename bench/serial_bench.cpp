// Serial read and write of all 512 bytes through the POSIX back-end against zq70sim on a
// pseudo-terminal, with a real 2 ms pump before each byte command. The floor is what the
// pumps alone cost: 512 x 2 ms. The counter "ratio" is the time taken over that floor.
#include <benchmark/benchmark.h>

#include <chrono>
#include <sys/prctl.h>
#include <thread>

#include "link/serial_port_posix.h"
#include "link/serial_transfer.h"
#include "tests/support/sim_process.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr double kFloorSeconds = zq70::kImageSize * zq70::kSerialPumpMs / 1000.0;

// Like the program's pump with an empty queue: sleep 1 ms at a time until the time is up.
void pump(int ms) {
    const auto end = Clock::now() + std::chrono::milliseconds(ms);
    while (Clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

template <typename Transfer> void run(benchmark::State& state, Transfer transfer) {
    // Sleeps end when asked, not up to 50 us later: the floor is the pumps' own 2 ms. What
    // is left over the floor is the kernel's wake-up latency and the transfer's own cost.
    prctl(PR_SET_TIMERSLACK, 1UL);
    zq70::test::SimProcess sim({});
    const zq70::SerialPort port = zq70::make_posix_serial_port(sim.path());
    zq70::DeviceImage image;
    for (int i = 0; i < zq70::kImageSize; ++i)
        image[i] = static_cast<uint8_t>(i * 13);
    double seconds = 0;
    for (auto _ : state) {
        const auto start = Clock::now();
        if (transfer(port, image) != zq70::Ok) state.SkipWithError("transfer failed");
        seconds += std::chrono::duration<double>(Clock::now() - start).count();
    }
    state.counters["ratio"] = seconds / state.iterations() / kFloorSeconds;
}

void serial_write_512(benchmark::State& state) {
    run(state, [](const zq70::SerialPort& port, zq70::DeviceImage& image) {
        return zq70::serial_write(port, image, {}, pump);
    });
}

void serial_read_512(benchmark::State& state) {
    run(state, [](const zq70::SerialPort& port, zq70::DeviceImage& image) {
        return zq70::serial_read(port, image, {}, pump);
    });
}

BENCHMARK(serial_write_512)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3)
    ->Repetitions(5);
BENCHMARK(serial_read_512)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3)
    ->Repetitions(5);

} // namespace
