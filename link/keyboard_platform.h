// The seam under KeyboardChannel: everything the keyboard line needs from the system. The
// Win32 shell fills it with SystemParametersInfoA, Sleep, a millisecond clock and
// PeekMessageA; tests fill it with a simulated device on a virtual clock.
#pragma once

#include <cstdint>
#include <functional>

namespace zq70 {

// Message numbers and virtual-key codes, equal to their Win32 values so the Win32
// back-end passes them through unchanged.
constexpr uint32_t kMsgKeyDown = 0x100;
constexpr uint32_t kMsgKeyUp = 0x101;
constexpr uint32_t kMsgSysKeyDown = 0x104;
constexpr uint32_t kMsgSysKeyUp = 0x105;
constexpr uint32_t kMsgPaint = 0x00F;
constexpr uint32_t kMsgMouseMove = 0x200;

constexpr int kVkShift = 16;
constexpr int kVkControl = 17;
constexpr int kNoKey = -1;

// One message taken from the thread's queue. The fields are those of a Win32 MSG, so the
// Win32 back-end can rebuild the native message for dispatching.
struct ThreadMessage {
    void* window = nullptr;
    uint32_t id = 0;
    uintptr_t wparam = 0;
    intptr_t lparam = 0;
    uint32_t time = 0;
    int32_t x = 0;
    int32_t y = 0;
};

struct KeyboardPlatform {
    std::function<int()> get_delay; // keyboard delay 0..3
    std::function<int()> get_speed; // keyboard speed 0..31
    std::function<void(int)> set_delay;
    std::function<void(int)> set_speed;
    std::function<void(int ms)> sleep;
    // Millisecond counter; callers take differences with 32-bit wrap-around.
    std::function<uint32_t()> ticks;
    // Removes the next message of the thread's queue (any window); false when it is empty.
    std::function<bool(ThreadMessage&)> take_message;
    // Receives every message that wait_key does not consume; may do nothing.
    std::function<void(const ThreadMessage&)> dispatch_other;
};

} // namespace zq70
