#include "keyboard_harness.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "device_script.h"
#include "invariant.h"
#include "link/keyboard_transfer.h"
#include "link/link_texts.h"
#include "read_outcome.h"
#include "sim/simulated_keyboard.h"

namespace zq70::fuzz {

namespace {

using Kind = TypematicSignal::Kind;

constexpr int kAnnounceWaitMs = 2000;
constexpr int kEndDelay = 3;
constexpr int kWriteOpeningDelay = 1;
constexpr int kWakeUpDelays[] = {1, 0, 2, 0, 0, 1};
constexpr int kSpeedValues = 32;
constexpr int kNibbleValues = 16;
constexpr size_t kNone = std::numeric_limits<size_t>::max();

// The most a transfer can take: every wait running to its time-out, every pause.
constexpr int kWakeUpMs = 5 * kSignalPauseMs + kAnswerTimeoutMs;
constexpr int kKeyWaitsMs = 2 * kImageSize * kAnswerTimeoutMs;
constexpr int kReadBoundMs = kWakeUpMs + kKeyWaitsMs + kSignalPauseMs;
constexpr int kWriteBoundMs = kWakeUpMs + kSignalPauseMs + kSpeedValues * kAnswerTimeoutMs +
                              kNibbleValues * kAnnounceWaitMs + kKeyWaitsMs + kSignalPauseMs;
constexpr size_t kReadSignals = 6 + 2 * kImageSize + 2;
constexpr size_t kWriteSignals = 6 + 1 + kSpeedValues + kNibbleValues + 2 * kImageSize + 3;

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

struct KeyboardSetup {
    uint32_t start_ticks;
    TypematicSettings user;
    DeviceImage image; // the device memory for a read, the image written for a write

    explicit KeyboardSetup(DeviceScript& script) {
        start_ticks = script.word();
        user.delay = script.byte() % 4;
        user.speed = script.byte() % kSpeedValues;
        image = read_image(script);
    }
};

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

struct ShownMessage {
    std::string caption;
    std::string text;
    MessageIcon icon;
    MessageButtons buttons;
    size_t signals_before;
};

// What a transfer should have ended with, by the exchanges on the line.
struct Expectation {
    TransferResult result;
    std::string message; // the detail box; empty for none
};

// Everything the line carried, walked step by step against the protocol: each expected
// signal in its place, each wait answered by what it took from the queue, in the time its
// time-out allows, and nothing after the restore.
class LineWalk {
  public:
    LineWalk(const std::vector<TypematicSignal>& signals, const std::vector<Taken>& taken,
             const std::vector<Posted>& posted)
        : signals_(signals), taken_(taken), posted_(posted), taken_in_(posted.size(), kNone) {
        for (const Taken& t : taken)
            taken_in_[t.message.time] = t.signals_before;
        if (!taken.empty() && taken.front().signals_before == 0)
            invariant_broken("a message was taken before the first signal");
    }

    void expect(Kind kind, int value, const char* what) {
        require_nothing_taken("before");
        const size_t next = current_ + 1;
        if (next >= signals_.size())
            invariant_broken("the transfer ended after %zu signals, before %s", signals_.size(),
                             what);
        const TypematicSignal& signal = signals_[next];
        if (signal.kind != kind || signal.value != value)
            invariant_broken("signal %zu is %s %d where %s (%s %d) belongs", next,
                             name(signal.kind), signal.value, what, name(kind), value);
        current_ = next;
    }

    // The protocol pauses after the current signal: nothing is taken, and the next signal
    // comes exactly one pause later.
    void pause() {
        require_nothing_taken("during the pause after");
        if (current_ + 1 == signals_.size()) return;
        const uint32_t lasted = signals_[current_ + 1].time - signals_[current_].time;
        if (lasted != kSignalPauseMs)
            invariant_broken("the pause after signal %zu lasted %u ms, not %d", current_, lasted,
                             kSignalPauseMs);
    }

    // The answer key of the wait after the current signal, from the messages it took: a
    // key-down and then the key-up of the same key; -1 after a second key-down or when the
    // time-out ran out. The wait must end at once when it has its answer, and only at the
    // time-out without one, leaving nothing in the queue that came in time.
    int answer(int timeout_ms) {
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
                invariant_broken("signal %zu: a message was taken %u ms into a wait of %d ms",
                                 current_, at, timeout_ms);
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
            invariant_broken("signal %zu: the wait lasted %u ms, but its answer (%d) was %s at "
                             "%u ms",
                             current_, lasted, key, key == kNoKey ? "due" : "taken", *decided_at);
        return key;
    }

    bool wake_up() {
        for (int i = 0; i < 5; ++i) {
            expect(Kind::Delay, kWakeUpDelays[i], "a signal of the wake-up");
            pause();
        }
        expect(Kind::Delay, kWakeUpDelays[5], "the last signal of the wake-up");
        return answer(kAnswerTimeoutMs) == kVkControl;
    }

    // The end signal, then the user's settings, and nothing after them.
    void restore(const TypematicSettings& user, bool write) {
        expect(Kind::Delay, kEndDelay, "the end signal");
        pause();
        if (write) expect(Kind::Speed, user.speed, "the user's speed");
        expect(Kind::Delay, user.delay, "the user's delay");
        require_nothing_taken("after");
        if (current_ + 1 != signals_.size())
            invariant_broken("%zu signals after the restore", signals_.size() - current_ - 1);
    }

  private:
    static const char* name(Kind kind) { return kind == Kind::Delay ? "delay" : "speed"; }

    void require_nothing_taken(const char* when) const {
        if (current_ == kNone) return;
        if (take_ < taken_.size() && taken_[take_].signals_before == current_ + 1)
            invariant_broken("a message was taken %s signal %zu, where no wait runs", when,
                             current_);
    }

    // Every message that had come before the time-out, from this device exchange or an
    // earlier one, was taken by this wait or before it.
    void require_queue_emptied(uint32_t start, int timeout_ms) const {
        for (size_t serial = 0; serial < posted_.size(); ++serial) {
            const Posted& p = posted_[serial];
            if (p.signals_before > current_ || ticks_until(p.due, start) >= timeout_ms) continue;
            if (taken_in_[serial] == kNone || taken_in_[serial] > current_ + 1)
                invariant_broken("signal %zu: a message due %d ms into the wait was left in the "
                                 "queue when it timed out",
                                 current_, ticks_until(p.due, start));
        }
    }

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
    ReadImage() : bytes_(caller_image()) { fetched_.fill(false); }

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
    bool complete(int i) const {
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

  private:
    DeviceImage bytes_;
    FetchedOffsets fetched_;
};

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

class KeyboardCase {
  public:
    KeyboardCase(KeyboardTransfer transfer, DeviceScript& script)
        : transfer_(transfer), script_(script), setup_(script), clock_(setup_.start_ticks),
          keyboard_(KeyboardDevice{[this](int v) { return device_signal(Kind::Delay, v); },
                                   [this](int v) { return device_signal(Kind::Speed, v); }},
                    clock_.clock(), setup_.user),
          channel_(recording_platform()) {
        model_.memory = setup_.image;
        ui_.message = [this](const std::string& caption, const std::string& text, MessageIcon icon,
                             MessageButtons buttons) {
            shown_.push_back({caption, text, icon, buttons, keyboard_.signals().size()});
            return MessageAnswer::Ok;
        };
    }

    void run() {
        const ProgressSink progress = [](const std::string&) {};
        const KeyboardLink link{channel_, ui_};
        DeviceImage image = caller_image();
        const bool read = transfer_ == KeyboardTransfer::Read;
        const TransferResult result = read ? keyboard_read(link, image, progress)
                                           : keyboard_write(link, setup_.image, progress);

        LineWalk line(keyboard_.signals(), taken_, posted_);
        ReadImage expected_image;
        const Expectation expected =
            read ? walk_read(line, expected_image) : walk_write(line, setup_.image);
        line.restore(setup_.user, !read);
        check_result(result, expected);
        check_dispatched();
        if (read) check_read_image(result, image, expected_image);
        show_outcome("result %d after %zu signals, %u ms%s%s", static_cast<int>(result),
                     keyboard_.signals().size(), clock_.now() - setup_.start_ticks,
                     shown_.empty() ? "" : ": ", shown_.empty() ? "" : shown_[0].text.c_str());
    }

  private:
    // The device: a correct one (the device model) whose every answer the script may drop,
    // replace, spoil, delay, or surround with keys typed unasked.
    DeviceAnswer device_signal(Kind kind, int value) {
        const DeviceAnswer right =
            kind == Kind::Delay ? model_.keyboard_delay(value) : model_.keyboard_speed(value);
        const uint8_t action = script_.byte();
        if (action & kStrayBefore) stray();
        const int key = right.value;
        const int delay = right.delay_ms + (action & kLate ? script_.delay() : 0);
        switch (action & kKindMask) {
        case kAnswerRight: type(key, delay); break;
        case kAnswerNone: break;
        case kAnswerOther: type(script_.byte(), delay); break;
        case kAnswerCorrupt: type(corrupted(key), delay); break;
        case kKeyDownOnly: post_key(kMsgKeyDown, key, delay); break;
        case kKeyRepeated:
            post_key(kMsgKeyDown, key, delay);
            post_key(kMsgKeyDown, key, delay);
            post_key(kMsgKeyUp, key, delay);
            break;
        case kKeyUpOnly: post_key(kMsgKeyUp, key, delay); break;
        case kRawMessage: {
            static constexpr uint32_t kKinds[kRawMessageKinds] = {kMsgKeyDown, kMsgKeyUp,
                                                                  kMsgSysKeyDown, kMsgPaint};
            const uint32_t id = kKinds[script_.byte() % kRawMessageKinds];
            post(id, script_.word(), delay);
            type(key, delay);
            break;
        }
        }
        if (action & kStrayAfter) stray();
        return {};
    }

    static int corrupted(int key) {
        if (key == kVkControl) return kVkShift;
        if (key == kVkShift) return kVkControl;
        const int value = value_of_key(key);
        if (value < 0) return key;
        const int flipped = value ^ 0x10; // the parity bit
        return flipped < 10 ? '0' + flipped : 'A' + flipped - 10;
    }

    // A key typed by someone else: the user, or the device out of turn.
    void stray() {
        const int key = script_.byte();
        type(key, script_.delay());
    }

    void type(int key, int delay) {
        post_key(kMsgKeyDown, key, delay);
        post_key(kMsgKeyUp, key, delay);
    }

    void post_key(uint32_t id, int key, int delay) {
        if (key >= 0) post(id, static_cast<uintptr_t>(key), delay);
    }

    void post(uint32_t id, uintptr_t wparam, int delay) {
        ThreadMessage message;
        message.id = id;
        message.wparam = wparam;
        message.time = static_cast<uint32_t>(posted_.size());
        posted_.push_back(
            {clock_.now() + static_cast<uint32_t>(delay), keyboard_.signals().size()});
        keyboard_.post(message, delay);
    }

    // The simulated keyboard's platform, with what the channel takes recorded and a bound on
    // the calls and on the virtual time, so that a transfer that does not end stops.
    KeyboardPlatform recording_platform() {
        const KeyboardPlatform inner = keyboard_.platform();
        KeyboardPlatform platform = inner;
        platform.get_delay = [this, inner] {
            count_call();
            return inner.get_delay();
        };
        platform.get_speed = [this, inner] {
            count_call();
            return inner.get_speed();
        };
        platform.set_delay = [this, inner](int value) {
            count_signal();
            inner.set_delay(value);
        };
        platform.set_speed = [this, inner](int value) {
            count_signal();
            inner.set_speed(value);
        };
        platform.sleep = [this, inner](int ms) {
            count_call();
            inner.sleep(ms);
            const uint32_t elapsed = clock_.now() - setup_.start_ticks;
            if (elapsed > static_cast<uint32_t>(time_bound()))
                invariant_broken("the transfer did not end within %d ms, the most its waits "
                                 "and pauses allow",
                                 time_bound());
        };
        platform.ticks = [this, inner] {
            count_call();
            return inner.ticks();
        };
        platform.take_message = [this, inner](ThreadMessage& message) {
            count_call();
            if (!inner.take_message(message)) return false;
            taken_.push_back({keyboard_.signals().size(), clock_.now(), message});
            return true;
        };
        platform.dispatch_other = [this, inner](const ThreadMessage& message) {
            count_call();
            inner.dispatch_other(message);
        };
        return platform;
    }

    int time_bound() const {
        return transfer_ == KeyboardTransfer::Read ? kReadBoundMs : kWriteBoundMs;
    }

    void count_signal() {
        count_call();
        const size_t bound = transfer_ == KeyboardTransfer::Read ? kReadSignals : kWriteSignals;
        if (keyboard_.signals().size() >= bound)
            invariant_broken("more than the %zu signals of a whole transfer", bound);
    }

    void count_call() {
        // A waited millisecond costs a look at the clock, a look at the queue and a sleep;
        // each message a look at the clock, a take and perhaps a dispatch.
        const size_t bound =
            3 * static_cast<size_t>(time_bound()) + 3 * posted_.size() + 4 * kWriteSignals + 8;
        if (++calls_ > bound)
            invariant_broken("the transfer did not end within %zu calls of the platform", bound);
    }

    void check_result(TransferResult result, const Expectation& expected) const {
        const bool read = transfer_ == KeyboardTransfer::Read;
        const bool documented = result == Ok || result == DeviceNotFound ||
                                result == TransferFailed ||
                                (read ? result == InvalidHeader : result == NoGoodCombos);
        if (!documented)
            invariant_broken("result %d is not one this transfer documents",
                             static_cast<int>(result));
        if (result != expected.result)
            invariant_broken("result %d where the exchange on the line calls for %d",
                             static_cast<int>(result), static_cast<int>(expected.result));
        const TypematicSettings now = keyboard_.settings();
        if (now.delay != setup_.user.delay || now.speed != setup_.user.speed)
            invariant_broken("the user's delay and speed %d, %d were left at %d, %d",
                             setup_.user.delay, setup_.user.speed, now.delay, now.speed);
        if (expected.message.empty()) {
            if (!shown_.empty())
                invariant_broken("a message \"%s\" after result %d", shown_[0].text.c_str(),
                                 static_cast<int>(result));
            return;
        }
        if (shown_.size() != 1)
            invariant_broken("%zu messages where \"%s\" belongs", shown_.size(),
                             expected.message.c_str());
        const ShownMessage& shown = shown_[0];
        if (shown.text != expected.message || shown.caption != kErrorCaption ||
            shown.icon != MessageIcon::None || shown.buttons != MessageButtons::Ok)
            invariant_broken("message \"%s\" (caption \"%s\") where \"%s\" belongs",
                             shown.text.c_str(), shown.caption.c_str(), expected.message.c_str());
        if (shown.signals_before != keyboard_.signals().size())
            invariant_broken("the message came before the user's settings were put back");
    }

    // Messages the waits took that are no key messages go on to the program's windows, in
    // order; key messages never do.
    void check_dispatched() const {
        std::vector<uint32_t> others;
        for (const Taken& t : taken_)
            if (t.message.id != kMsgKeyDown && t.message.id != kMsgKeyUp)
                others.push_back(t.message.time);
        const std::vector<ThreadMessage>& dispatched = keyboard_.dispatched();
        bool same = dispatched.size() == others.size();
        for (size_t i = 0; same && i < others.size(); ++i)
            same = dispatched[i].time == others[i];
        if (!same)
            invariant_broken("%zu messages dispatched where the waits took %zu other than keys",
                             dispatched.size(), others.size());
    }

    void check_read_image(TransferResult result, const DeviceImage& image,
                          const ReadImage& expected) const {
        for (int i = 0; i < kImageSize; ++i) {
            if (image[i] != expected[i])
                invariant_broken("after result %d offset %d holds %d, not %d",
                                 static_cast<int>(result), i, image[i], expected[i]);
        }
        check_decoding_after_read(result, image, expected.fetched());
    }

    KeyboardTransfer transfer_;
    DeviceScript& script_;
    KeyboardSetup setup_;
    VirtualClock clock_;
    DeviceModel model_;
    SimulatedKeyboard keyboard_;
    KeyboardChannel channel_;
    UserInterface ui_;
    std::vector<Taken> taken_;
    std::vector<Posted> posted_;
    std::vector<ShownMessage> shown_;
    size_t calls_ = 0;
};

} // namespace

void run_keyboard_case(KeyboardTransfer transfer, const uint8_t* data, size_t size) {
    set_invariant_subject(transfer == KeyboardTransfer::Read ? "keyboard read" : "keyboard write");
    DeviceScript script(data, size);
    KeyboardCase(transfer, script).run();
}

} // namespace zq70::fuzz
