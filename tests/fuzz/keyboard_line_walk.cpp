#include "keyboard_line_walk.h"

#include <algorithm>
#include <optional>

#include "config/text_format.h"
#include "invariant.h"
#include "link/keyboard_channel.h"
#include "link/link_texts.h"

namespace zq70::fuzz {

namespace {

using Kind = TypematicSignal::Kind;

constexpr int kEndDelay = 3;
constexpr int kWriteOpeningDelay = 1;
constexpr int kWakeUpDelays[] = {1, 0, 2, 0, 0, 1};

// The key value 0..31 that a key carries ('0'..'9', 'A'..'V'), or -1.
int value_of_key(int vk) {
    if (vk >= '0' && vk <= '9') return vk - '0';
    if (vk >= 'A' && vk <= 'V') return vk - 'A' + 10;
    return -1;
}

int ones(int bits) {
    return __builtin_popcount(static_cast<unsigned>(bits));
}

// A nibble and the parity bit sent with it have an odd number of 1-bits together.
bool odd_parity(int nibble, int bit) {
    return (ones(nibble & 0x0F) + (bit & 1)) % 2 == 1;
}

// The device's acknowledgement of a written nibble.
int acknowledgement_of(int nibble) {
    return ones(nibble) % 2 == 0 ? kVkControl : kVkShift;
}

// The number of key code bytes for the counts in the image, as far as an image can hold them.
int key_bytes(const DeviceImage& image) {
    const int columns = image[kColumnsOffset];
    const int rows = image[kRowsOffset];
    return std::clamp(rows * columns + kPinCount - rows - columns, 0, kKeyCodeAreaSize);
}

// Macros referred to by the key codes: the highest code above 128, minus 128.
int macros_referred(const DeviceImage& image) {
    const int keys = key_bytes(image);
    const int highest = keys == 0 ? 0 : *std::max_element(image.begin(), image.begin() + keys);
    return std::max(highest - 128, 0);
}

// Bytes a keyboard-line write sends: the header, then the key codes alone, or everything up
// to the end of the last macro referred to (never past the macro area).
int bytes_to_send(const DeviceImage& image) {
    const int macros = macros_referred(image);
    if (macros == 0) return kHeaderSize + key_bytes(image);
    int end = kMacroAreaStart;
    for (int string = 0; string < 2 * macros && end < kMacroAreaEnd; ++string)
        end = std::min(end + image[end] + 1, kMacroAreaEnd);
    return kHeaderSize + end;
}

const char* name(Kind kind) {
    return kind == Kind::Delay ? "delay" : "speed";
}

} // namespace

LineWalk::LineWalk(const std::vector<TypematicSignal>& signals, const std::vector<Taken>& taken,
                   const std::vector<Posted>& posted)
    : signals_(signals), taken_(taken), posted_(posted), taken_in_(posted.size(), kNone) {
    for (const Taken& t : taken)
        taken_in_[t.message.time] = t.signals_before;
    if (!taken.empty() && taken.front().signals_before == 0)
        invariant_broken("a message was taken before the first signal");
}

void LineWalk::expect(Kind kind, int value, const char* what) {
    require_nothing_taken("before");
    const size_t next = current_ + 1;
    if (next >= signals_.size())
        invariant_broken("the transfer ended after %zu signals, before %s", signals_.size(), what);
    const TypematicSignal& signal = signals_[next];
    if (signal.kind != kind || signal.value != value)
        invariant_broken("signal %zu is %s %d where %s (%s %d) belongs", next, name(signal.kind),
                         signal.value, what, name(kind), value);
    current_ = next;
}

void LineWalk::pause() {
    require_nothing_taken("during the pause after");
    if (current_ + 1 == signals_.size()) return;
    const uint32_t lasted = signals_[current_ + 1].time - signals_[current_].time;
    if (lasted != kSignalPauseMs)
        invariant_broken("the pause after signal %zu lasted %u ms, not %d", current_, lasted,
                         kSignalPauseMs);
}

int LineWalk::answer(int timeout_ms) {
    const uint32_t start = signals_[current_].time;
    std::optional<uintptr_t> pending;
    std::optional<uint32_t> decided_at;
    int key = kNoKey;
    for (; take_ < taken_.size() && taken_[take_].signals_before == current_ + 1; ++take_) {
        const Taken& t = taken_[take_];
        const uint32_t at = t.time - start;
        if (decided_at)
            invariant_broken("signal %zu: a message was taken after the wait had its answer",
                             current_);
        if (at >= static_cast<uint32_t>(timeout_ms))
            invariant_broken("signal %zu: a message was taken %u ms into a wait of %d ms", current_,
                             at, timeout_ms);
        const ThreadMessage& m = t.message;
        if (m.id == kMsgKeyDown) {
            if (pending) decided_at = at;
            pending = m.wparam;
        } else if (m.id == kMsgKeyUp && pending && *pending == m.wparam) {
            decided_at = at;
            key = static_cast<int>(static_cast<uint32_t>(m.wparam));
        }
    }
    if (!decided_at) {
        require_queue_emptied(start, timeout_ms);
        decided_at = timeout_ms;
    }
    // A transfer that stops here without its restore is told by the walk's next step.
    if (current_ + 1 == signals_.size()) return key;
    const uint32_t lasted = signals_[current_ + 1].time - start;
    if (lasted != *decided_at)
        invariant_broken("signal %zu: the wait lasted %u ms, but its answer (%d) was %s at %u ms",
                         current_, lasted, key, key == kNoKey ? "due" : "taken", *decided_at);
    return key;
}

bool LineWalk::wake_up() {
    for (int i = 0; i < 5; ++i) {
        expect(Kind::Delay, kWakeUpDelays[i], "a signal of the wake-up");
        pause();
    }
    expect(Kind::Delay, kWakeUpDelays[5], "the last signal of the wake-up");
    return answer(kAnswerTimeoutMs) == kVkControl;
}

void LineWalk::restore(const TypematicSettings& user, bool write) {
    expect(Kind::Delay, kEndDelay, "the end signal");
    pause();
    if (write) expect(Kind::Speed, user.speed, "the user's speed");
    expect(Kind::Delay, user.delay, "the user's delay");
    require_nothing_taken("after");
    if (current_ + 1 != signals_.size())
        invariant_broken("%zu signals after the restore", signals_.size() - current_ - 1);
}

void LineWalk::require_nothing_taken(const char* when) const {
    if (current_ == kNone) return;
    if (take_ < taken_.size() && taken_[take_].signals_before == current_ + 1)
        invariant_broken("a message was taken %s signal %zu, where no wait runs", when, current_);
}

// Every message that had come before the time-out, from this device exchange or an earlier
// one, was taken by this wait or before it.
void LineWalk::require_queue_emptied(uint32_t start, int timeout_ms) const {
    for (size_t serial = 0; serial < posted_.size(); ++serial) {
        const Posted& p = posted_[serial];
        if (p.signals_before > current_ || ticks_until(p.due, start) >= timeout_ms) continue;
        if (taken_in_[serial] == kNone || taken_in_[serial] > current_ + 1)
            invariant_broken("signal %zu: a message due %d ms into the wait was left in the queue "
                             "when it timed out",
                             current_, ticks_until(p.due, start));
    }
}

ReadImage::ReadImage() : bytes_(caller_image()) {
    fetched_.fill(false);
}

bool ReadImage::complete(int i) const {
    const int offset = (i + kHeaderOffset) % kImageSize;
    if (i < kHeaderSize) return false;
    const int keys = key_bytes(bytes_);
    if (i < kHeaderSize + keys - 1) return false;
    const int macros = macros_referred(bytes_);
    if (macros == 0) return true;
    int length_byte = kMacroAreaStart;
    for (int string = 0; string < 2 * macros; ++string) {
        if (length_byte >= kMacroAreaEnd || length_byte > offset) return false;
        length_byte += bytes_[length_byte] + 1;
    }
    return length_byte == offset;
}

Expectation walk_read(LineWalk& line, ReadImage& image) {
    if (!line.wake_up()) return {DeviceNotFound, ""};
    for (int i = 0; i < kImageSize; ++i) {
        const int offset = (i + kHeaderOffset) % kImageSize;
        line.expect(Kind::Delay, 0, "the first key of a byte");
        const int code1 = line.answer(kAnswerTimeoutMs);
        const int key1 = value_of_key(code1);
        if (key1 < 0) return {TransferFailed, format_text(kIncorrectKey, code1)};
        image.high_nibble(offset, key1 & 0x0F);
        line.expect(Kind::Delay, 2, "the second key of a byte");
        const int code2 = line.answer(kAnswerTimeoutMs);
        const int key2 = value_of_key(code2);
        if (key2 < 0) return {TransferFailed, format_text(kIncorrectKey, code2)};
        if (!odd_parity(key2, key1 >> 4) || !odd_parity(key1, key2 >> 4))
            return {TransferFailed, format_text(kIncorrectChecksum, offset, key1, key2)};
        image.byte(offset, (key1 & 0x0F) << 4 | (key2 & 0x0F));
        const int columns = image[kColumnsOffset];
        const int rows = image[kRowsOffset];
        if (offset == kColumnsOffset && columns > kMaxLines)
            return {InvalidHeader, format_text(kRowsWrong, columns)};
        if (offset == kRowsOffset && (rows > kMaxLines || columns + rows > kPinCount))
            return {InvalidHeader, format_text(kColsWrong, columns, rows)};
        if (image.complete(i)) break;
    }
    return {Ok, ""};
}

Expectation walk_write(LineWalk& line, const DeviceImage& image) {
    const int length = bytes_to_send(image);
    if (!line.wake_up()) return {DeviceNotFound, ""};
    line.expect(Kind::Delay, kWriteOpeningDelay, "the opening of a write");
    line.pause();
    int answers[kSpeedValues];
    std::vector<int> combos;
    for (int v = 0; v < kSpeedValues; ++v) {
        line.expect(Kind::Speed, v, "a probed speed");
        answers[v] = line.answer(kAnswerTimeoutMs);
        if (answers[v] == kNoKey) return {TransferFailed, format_text(kNoResponseGetting, v)};
    }
    for (int v = 0; v < kSpeedValues && combos.size() < kNibbleValues; ++v)
        if (std::find(answers, answers + v, answers[v]) == answers + v) combos.push_back(v);
    if (combos.size() < kNibbleValues) return {NoGoodCombos, kNoGoodCombos};
    for (int d = 0; d < kNibbleValues; ++d) {
        line.expect(Kind::Speed, combos[d], "an announced speed");
        if (line.answer(kAnnounceWaitMs) != kVkControl)
            return {TransferFailed, format_text(kNoResponseSetting, d)};
    }
    for (int j = 0; j < length; ++j) {
        const int byte = image[(j + kHeaderOffset) % kImageSize];
        for (int half = 0; half < 2; ++half) {
            const int nibble = half == 0 ? byte >> 4 : byte & 0x0F;
            line.expect(Kind::Speed, combos[nibble], "the speed of a nibble");
            const int answer = line.answer(kAnswerTimeoutMs);
            if (answer != acknowledgement_of(nibble))
                return {TransferFailed,
                        format_text(half == 0 ? kWrongResponseHigh : kWrongResponseLow, j, nibble,
                                    answer)};
        }
    }
    return {Ok, ""};
}

} // namespace zq70::fuzz
