// Millisecond time as the simulated device and the benchmarks see it: a virtual clock that
// moves only when someone sleeps (tests of a 500 ms time-out take microseconds), or the
// real steady clock.
#pragma once

#include <cstdint>
#include <functional>

namespace zq70 {

struct Clock {
    std::function<uint32_t()> ticks; // wraps around at 2^32 ms
    std::function<void(int ms)> sleep;
};

class VirtualClock {
  public:
    explicit VirtualClock(uint32_t start = 0) : now_(start) {}
    uint32_t now() const { return now_; }
    void advance(int ms) { now_ += static_cast<uint32_t>(ms); }
    // Functions bound to this clock, which must outlive them.
    Clock clock();

  private:
    uint32_t now_;
};

Clock steady_clock_ms();

// Signed distance from now to a due tick count, right across a wrap-around.
inline int32_t ticks_until(uint32_t due, uint32_t now) {
    return static_cast<int32_t>(due - now);
}

} // namespace zq70
