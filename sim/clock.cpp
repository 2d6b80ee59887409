#include "clock.h"

#include <chrono>
#include <thread>

namespace zq70 {

Clock VirtualClock::clock() {
    return {[this] { return now_; }, [this](int ms) { advance(ms); }};
}

Clock steady_clock_ms() {
    return {[] {
                using namespace std::chrono;
                const auto now = steady_clock::now().time_since_epoch();
                return static_cast<uint32_t>(duration_cast<milliseconds>(now).count());
            },
            [](int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }};
}

} // namespace zq70
