#include "simulated_keyboard.h"

namespace zq70 {

SimulatedKeyboard::SimulatedKeyboard(DeviceModel& device, Clock clock, TypematicSettings user)
    : SimulatedKeyboard(
          KeyboardDevice{[&device](int value) { return device.keyboard_delay(value); },
                         [&device](int value) { return device.keyboard_speed(value); }},
          std::move(clock), user) {}

SimulatedKeyboard::SimulatedKeyboard(KeyboardDevice device, Clock clock, TypematicSettings user)
    : device_(std::move(device)), clock_(std::move(clock)), settings_(user) {}

KeyboardPlatform SimulatedKeyboard::platform() {
    KeyboardPlatform platform;
    platform.get_delay = [this] { return settings_.delay; };
    platform.get_speed = [this] { return settings_.speed; };
    platform.set_delay = [this](int value) {
        settings_.delay = value;
        signal(TypematicSignal::Delay, value, device_.delay(value));
    };
    platform.set_speed = [this](int value) {
        settings_.speed = value;
        signal(TypematicSignal::Speed, value, device_.speed(value));
    };
    platform.sleep = clock_.sleep;
    platform.ticks = clock_.ticks;
    platform.take_message = [this](ThreadMessage& message) { return take(message); };
    platform.dispatch_other = [this](const ThreadMessage& message) {
        dispatched_.push_back(message);
    };
    return platform;
}

void SimulatedKeyboard::signal(TypematicSignal::Kind kind, int value, const DeviceAnswer& answer) {
    signals_.push_back({kind, value, clock_.ticks()});
    if (answer.value >= 0) type_key(answer.value, answer.delay_ms);
}

void SimulatedKeyboard::post(const ThreadMessage& message, int delay_ms) {
    const uint32_t due = clock_.ticks() + static_cast<uint32_t>(delay_ms);
    // Kept in order of arrival; equal times keep the order of posting.
    auto it = queue_.end();
    while (it != queue_.begin() && ticks_until(std::prev(it)->due, due) > 0)
        --it;
    queue_.insert(it, {due, message});
}

void SimulatedKeyboard::type_key(int vk, int delay_ms) {
    ThreadMessage down;
    down.id = kMsgKeyDown;
    down.wparam = static_cast<uintptr_t>(vk);
    ThreadMessage up = down;
    up.id = kMsgKeyUp;
    post(down, delay_ms);
    post(up, delay_ms);
}

bool SimulatedKeyboard::take(ThreadMessage& message) {
    if (queue_.empty() || ticks_until(queue_.front().due, clock_.ticks()) > 0) return false;
    message = queue_.front().message;
    queue_.pop_front();
    return true;
}

} // namespace zq70
