// A keyboard platform played by the simulated device: the typematic settings it is given
// reach the device model, and the keys the device types arrive in a message queue on the
// given clock. Records every signal, so tests can compare the exact sequences.
#pragma once

#include <deque>
#include <functional>
#include <vector>

#include "clock.h"
#include "device_model.h"
#include "link/keyboard_channel.h"

namespace zq70 {

struct TypematicSignal {
    enum Kind { Delay, Speed } kind;
    int value;
    uint32_t time;

    bool operator==(const TypematicSignal& other) const {
        return kind == other.kind && value == other.value;
    }
};

// The device at the end of the keyboard line: what it types when it sees a typematic delay
// or speed command. A device that types more than one key at a time posts the others.
struct KeyboardDevice {
    std::function<DeviceAnswer(int)> delay;
    std::function<DeviceAnswer(int)> speed;
};

class SimulatedKeyboard {
  public:
    SimulatedKeyboard(DeviceModel& device, Clock clock, TypematicSettings user = {1, 31});
    SimulatedKeyboard(KeyboardDevice device, Clock clock, TypematicSettings user = {1, 31});

    // Functions bound to this keyboard, which must outlive them.
    KeyboardPlatform platform();

    // Puts a message in the queue, due after delay_ms.
    void post(const ThreadMessage& message, int delay_ms = 0);
    // A key pressed and released, as the device or the user types it.
    void type_key(int vk, int delay_ms = 0);

    TypematicSettings settings() const { return settings_; }
    const std::vector<TypematicSignal>& signals() const { return signals_; }
    const std::vector<ThreadMessage>& dispatched() const { return dispatched_; }
    size_t queued() const { return queue_.size(); }

  private:
    struct Queued {
        uint32_t due;
        ThreadMessage message;
    };

    void signal(TypematicSignal::Kind kind, int value, const DeviceAnswer& answer);
    bool take(ThreadMessage& message);

    KeyboardDevice device_;
    Clock clock_;
    TypematicSettings settings_;
    std::deque<Queued> queue_;
    std::vector<TypematicSignal> signals_;
    std::vector<ThreadMessage> dispatched_;
};

} // namespace zq70
