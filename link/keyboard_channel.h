// The keyboard-line signalling channel: the program signals the device by changing the
// keyboard typematic delay and speed, and the device answers by typing keys that arrive in
// the program's own message queue.
#pragma once

#include "keyboard_platform.h"

namespace zq70 {

struct TypematicSettings {
    int delay = 0;
    int speed = 0;
};

constexpr int kSignalPauseMs = 150;
constexpr int kAnswerTimeoutMs = 500;

class KeyboardChannel {
  public:
    explicit KeyboardChannel(KeyboardPlatform platform) : platform_(std::move(platform)) {}

    TypematicSettings save_typematic() const;
    void set_delay(int value) const { platform_.set_delay(value); }
    void set_speed(int value) const { platform_.set_speed(value); }
    // No messages are handled while it lasts.
    void pause(int ms) const { platform_.sleep(ms); }
    // The virtual-key code of a key pressed and released, or kNoKey after the time-out or
    // when a second key-down comes before the release.
    int wait_key(int timeout_ms) const;
    // The opening sequence of every exchange; true when the device answered with Ctrl.
    bool wake_up() const;
    // The end signal of an exchange, then the user's own settings back.
    void restore_after_read(const TypematicSettings& saved) const;
    void restore_after_write(const TypematicSettings& saved) const;

  private:
    KeyboardPlatform platform_;
};

} // namespace zq70
