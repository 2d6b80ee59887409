// Rigs that put the protocols in front of the simulated device on a virtual clock, and
// builders for device images.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <random>
#include <string>
#include <vector>

#include "link/keyboard_transfer.h"
#include "sim/simulated_keyboard.h"
#include "sim/simulated_serial_port.h"

namespace zq70::test {

struct RigMessage {
    std::string caption;
    std::string text;
    MessageIcon icon;
    size_t signals_before; // typematic signals sent before the box appeared
};

// The user settings found before every exchange: different from every protocol signal's
// last value, so that a missing restore shows.
constexpr TypematicSettings kUserSettings{2, 27};

struct KeyboardRig {
    explicit KeyboardRig(uint32_t start_ticks = 1000)
        : clock(start_ticks), keyboard(device, clock.clock(), kUserSettings),
          channel(keyboard.platform()) {
        ui.message = [this](const std::string& caption, const std::string& text, MessageIcon icon,
                            MessageButtons) {
            messages.push_back({caption, text, icon, keyboard.signals().size()});
            return MessageAnswer::Ok;
        };
    }

    TransferResult read(DeviceImage& image) {
        return keyboard_read({channel, ui}, image,
                             [this](const std::string& text) { progress.push_back(text); });
    }
    TransferResult write(const DeviceImage& image) {
        return keyboard_write({channel, ui}, image,
                              [this](const std::string& text) { progress.push_back(text); });
    }

    // Values of the delay (or speed) signals, in order.
    std::vector<int> values(TypematicSignal::Kind kind) const {
        std::vector<int> result;
        for (const TypematicSignal& s : keyboard.signals())
            if (s.kind == kind) result.push_back(s.value);
        return result;
    }
    // Bytes a read asked for: one delay-2 signal each, between the wake-up (six signals)
    // and the restore (whose last signal is the user's delay).
    int bytes_requested() const {
        const auto& signals = keyboard.signals();
        int count = 0;
        for (size_t i = 6; i + 1 < signals.size(); ++i)
            count += signals[i].kind == TypematicSignal::Delay && signals[i].value == 2;
        return count;
    }

    VirtualClock clock;
    DeviceModel device;
    SimulatedKeyboard keyboard;
    KeyboardChannel channel;
    UserInterface ui;
    std::vector<RigMessage> messages;
    std::vector<std::string> progress;
};

// Expects the last typematic signals to be the restore of a read or of a write, and the
// user's settings to be back.
void expect_restored_after_read(const KeyboardRig& rig);
void expect_restored_after_write(const KeyboardRig& rig);

// An image with the given counts, every key code byte set to key_code and a plausible pin
// list; nothing in the macro area.
DeviceImage image_with_geometry(int columns, int rows, uint8_t key_code = 0);
// Writes macro records (each as make length, bytes, break length, bytes) from offset 144.
void put_records(DeviceImage& image, std::initializer_list<std::vector<uint8_t>> strings);
// A random image as the encoder could make it: valid counts and pins, key codes and
// macro records that fit the macro area.
DeviceImage random_image(std::mt19937& random);

} // namespace zq70::test
