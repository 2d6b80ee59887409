#include "keyboard_channel.h"

namespace zq70 {

namespace {
constexpr int kEndSignalDelay = 3;
}

TypematicSettings KeyboardChannel::save_typematic() const {
    TypematicSettings saved;
    saved.delay = platform_.get_delay();
    saved.speed = platform_.get_speed();
    return saved;
}

int KeyboardChannel::wait_key(int timeout_ms) const {
    // Whether a key is down is kept apart from its code: a posted key message may carry any
    // code, also the one that reads as kNoKey.
    bool key_down = false;
    int pending = kNoKey;
    const uint32_t start = platform_.ticks();
    for (;;) {
        // Tested before every take, so a message arriving after the time-out stays queued
        // for the next wait.
        if (platform_.ticks() - start >= static_cast<uint32_t>(timeout_ms)) return kNoKey;
        ThreadMessage message;
        if (!platform_.take_message(message)) {
            platform_.sleep(1);
            continue;
        }
        const int key = static_cast<int>(message.wparam);
        if (message.id == kMsgKeyDown) {
            // A second key, or the auto-repeat of the same one, spoils the answer.
            if (key_down) return kNoKey;
            key_down = true;
            pending = key;
        } else if (message.id == kMsgKeyUp) {
            if (key_down && key == pending) return key;
        } else if (platform_.dispatch_other) {
            platform_.dispatch_other(message);
        }
    }
}

bool KeyboardChannel::wake_up() const {
    // The fifth signal repeats the fourth on purpose: the device looks for all six.
    static constexpr int kPattern[] = {1, 0, 2, 0, 0};
    for (int delay : kPattern) {
        set_delay(delay);
        pause(kSignalPauseMs);
    }
    set_delay(1);
    return wait_key(kAnswerTimeoutMs) == kVkControl;
}

void KeyboardChannel::restore_after_read(const TypematicSettings& saved) const {
    set_delay(kEndSignalDelay);
    pause(kSignalPauseMs);
    set_delay(saved.delay);
}

void KeyboardChannel::restore_after_write(const TypematicSettings& saved) const {
    set_delay(kEndSignalDelay);
    pause(kSignalPauseMs);
    set_speed(saved.speed);
    set_delay(saved.delay);
}

} // namespace zq70
