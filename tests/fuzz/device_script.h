// A fuzzing input read as the script of a device: what it holds, and for each command or
// typematic signal whether it answers, with what, how late, and what else it sends. Read
// front to back; once the bytes run out every read gives 0, and 0 always means "as a
// correct device would", so a short input plays a correct device to the end. The seed
// maker writes scripts with the same constants.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "config/image.h"

namespace zq70::fuzz {

class DeviceScript {
  public:
    DeviceScript(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }
    uint32_t word() {
        uint32_t value = 0;
        for (int shift = 0; shift < 32; shift += 8)
            value |= static_cast<uint32_t>(byte()) << shift;
        return value;
    }
    // 0..4095 ms: late enough to pass every time-out of both protocols.
    int delay() { return (byte() | byte() << 8) % 4096; }

  private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

// The start of every script. The port's own settings first, then the clock.
//   serial:   port byte (kPortAbsent, kPortUnconfigurable, else usable), clock start (word),
//             the three read time-outs the port had (three bytes), stale bytes in the
//             input buffer (count mod 4, then the bytes), the moment the user stops the
//             transfer (two bytes: before that read of an answer, 1 the first; 0 never),
//             then for a read the salt of the device memory (byte) and for a write the
//             image written.
//   keyboard: clock start (word), the user's delay and speed (a byte each), then the device
//             memory (read) or the image written (write).
constexpr uint8_t kPortAbsent = 1;
constexpr uint8_t kPortUnconfigurable = 2;

// An image in a script: kRawImage and its 512 bytes; or the number of one of the seed
// configurations' images (mod their count), an edit count and that many edits, each an
// offset (two bytes, mod 512) and the byte put there. So a short input reaches the device's
// actions at once, and any image can still be written out in full.
constexpr uint8_t kRawImage = 0xFF;
DeviceImage read_image(DeviceScript& script);

// One action byte per answered serial command, or per typematic signal: the low three bits
// the kind, the bits above what comes with it. Serial kinds use 0..3, keyboard kinds 0..7.
enum ActionKind : uint8_t {
    kAnswerRight = 0,
    kAnswerNone = 1,
    kAnswerOther = 2,   // then the byte sent or the key typed instead (a byte)
    kAnswerCorrupt = 3, // serial: every bit inverted; keyboard: parity flipped, Ctrl <-> Shift
    kKeyDownOnly = 4,   // keyboard: the key goes down and never comes up
    kKeyRepeated = 5,   // keyboard: down, down (auto-repeat), up
    kKeyUpOnly = 6,     // keyboard: only the key-up
    kRawMessage = 7,    // keyboard: then a message kind (byte) and its wparam (word), before
                        // the right answer
};
constexpr uint8_t kKindMask = 0x07;
constexpr uint8_t kLate = 0x08;        // then the delay (two bytes)
constexpr uint8_t kStrayBefore = 0x10; // then one stray: byte or key, and its delay
constexpr uint8_t kStrayAfter = 0x20;  // the same, after the answer

// Message kinds of kRawMessage, in the order the byte selects them (mod 4).
constexpr int kRawMessageKinds = 4;

// Builds a script for the seeds.
class ScriptWriter {
  public:
    ScriptWriter& byte(uint8_t value) {
        bytes_.push_back(value);
        return *this;
    }
    ScriptWriter& word(uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8)
            byte(static_cast<uint8_t>(value >> shift));
        return *this;
    }
    ScriptWriter& delay(int ms) {
        return byte(static_cast<uint8_t>(ms)).byte(static_cast<uint8_t>(ms >> 8));
    }
    ScriptWriter& bytes(const uint8_t* data, size_t size) {
        bytes_.insert(bytes_.end(), data, data + size);
        return *this;
    }
    // A seed configuration's image with edits (offset, byte).
    ScriptWriter& image(uint8_t base, const std::vector<std::pair<int, uint8_t>>& edits = {}) {
        byte(base).byte(static_cast<uint8_t>(edits.size()));
        for (const auto& [offset, value] : edits)
            byte(static_cast<uint8_t>(offset)).byte(static_cast<uint8_t>(offset >> 8)).byte(value);
        return *this;
    }
    ScriptWriter& raw_image(const DeviceImage& image) {
        return byte(kRawImage).bytes(image.data(), image.size());
    }
    // n actions of a correct device.
    ScriptWriter& right(int n) {
        bytes_.insert(bytes_.end(), static_cast<size_t>(n), kAnswerRight);
        return *this;
    }
    const std::vector<uint8_t>& data() const { return bytes_; }

  private:
    std::vector<uint8_t> bytes_;
};

} // namespace zq70::fuzz
