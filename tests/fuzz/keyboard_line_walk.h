// The keyboard-line protocols as the line must show them, for walking a recorded transfer:
// the signals each step sends, the answer each wait took from the queue, the time it may
// take, and the result and detail message that the exchange calls for. Written apart from
// link/, so that the two can disagree.
#pragma once

#include <limits>
#include <string>
#include <vector>

#include "config/image.h"
#include "link/transfer_result.h"
#include "read_outcome.h"
#include "sim/simulated_keyboard.h"

namespace zq70::fuzz {

constexpr int kAnnounceWaitMs = 2000;
constexpr int kSpeedValues = 32;
constexpr int kNibbleValues = 16;

// A message taken from the queue, and how many signals had been sent by then.
struct Taken {
    size_t signals_before;
    uint32_t time;
    ThreadMessage message;
};

// A message the device posted; its serial number travels in the message's time field.
struct Posted {
    uint32_t due;
    size_t signals_before;
};

// What a transfer should have ended with, by the exchanges on the line.
struct Expectation {
    TransferResult result;
    std::string message; // the detail box; empty for none
};

class LineWalk {
  public:
    LineWalk(const std::vector<TypematicSignal>& signals, const std::vector<Taken>& taken,
             const std::vector<Posted>& posted);

    // The next signal must be this one.
    void expect(TypematicSignal::Kind kind, int value, const char* what);
    // The protocol pauses after the current signal: nothing is taken, and the next signal
    // comes exactly one pause later.
    void pause();
    // The answer key of the wait after the current signal, from the messages it took: a
    // key-down and then the key-up of the same key; -1 after a second key-down or when the
    // time-out ran out. The wait must end at once when it has its answer, and only at the
    // time-out without one, leaving nothing in the queue that came in time.
    int answer(int timeout_ms);
    // The wake-up sequence and its answer; true when it was Ctrl.
    bool wake_up();
    // The end signal, then the user's settings, and nothing after them.
    void restore(const TypematicSettings& user, bool write);

  private:
    static constexpr size_t kNone = std::numeric_limits<size_t>::max();

    void require_nothing_taken(const char* when) const;
    void require_queue_emptied(uint32_t start, int timeout_ms) const;

    const std::vector<TypematicSignal>& signals_;
    const std::vector<Taken>& taken_;
    const std::vector<Posted>& posted_;
    std::vector<size_t> taken_in_; // by serial: signals sent when it was taken, or kNone
    size_t current_ = kNone;
    size_t take_ = 0;
};

// The caller's image through a keyboard-line read: each offset as it was, half filled (the
// high nibble of a byte whose second key failed), or filled from the device.
class ReadImage {
  public:
    ReadImage();

    void high_nibble(int offset, int nibble) { bytes_[offset] = static_cast<uint8_t>(nibble << 4); }
    void byte(int offset, int value) {
        bytes_[offset] = static_cast<uint8_t>(value);
        fetched_[offset] = true;
    }
    int operator[](int offset) const { return bytes_[offset]; }
    const DeviceImage& bytes() const { return bytes_; }
    const FetchedOffsets& fetched() const { return fetched_; }

    // Whether the read has all it needs after transfer index i: the header, the key codes
    // and, when they refer to macros, that many pairs of length-prefixed strings from offset
    // 144 and the length byte after them. A walk that reaches the pin list needs everything.
    bool complete(int i) const;

  private:
    DeviceImage bytes_;
    FetchedOffsets fetched_;
};

// The walks of a whole read and a whole write, up to the restore: what they call for.
Expectation walk_read(LineWalk& line, ReadImage& image);
Expectation walk_write(LineWalk& line, const DeviceImage& image);

} // namespace zq70::fuzz
