#include "keyboard_harness.h"

#include <string>
#include <vector>

#include "device_script.h"
#include "invariant.h"
#include "keyboard_line_walk.h"
#include "link/keyboard_transfer.h"
#include "link/link_texts.h"
#include "link/nibble_keys.h"
#include "read_outcome.h"
#include "sim/simulated_keyboard.h"

namespace zq70::fuzz {

namespace {

using Kind = TypematicSignal::Kind;

// The most a transfer can take: every wait running to its time-out, every pause.
constexpr int kWakeUpMs = 5 * kSignalPauseMs + kAnswerTimeoutMs;
constexpr int kKeyWaitsMs = 2 * kImageSize * kAnswerTimeoutMs;
constexpr int kReadBoundMs = kWakeUpMs + kKeyWaitsMs + kSignalPauseMs;
constexpr int kWriteBoundMs = kWakeUpMs + kSignalPauseMs + kSpeedValues * kAnswerTimeoutMs +
                              kNibbleValues * kAnnounceWaitMs + kKeyWaitsMs + kSignalPauseMs;
constexpr size_t kReadSignals = 6 + 2 * kImageSize + 2;
constexpr size_t kWriteSignals = 6 + 1 + kSpeedValues + kNibbleValues + 2 * kImageSize + 3;

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

struct ShownMessage {
    std::string caption;
    std::string text;
    MessageIcon icon;
    MessageButtons buttons;
    size_t signals_before;
};

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
        const int value = key_value_of(key);
        return value < 0 ? key : key_of_value(value ^ 0x10); // the parity bit flipped
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
