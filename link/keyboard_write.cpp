#include <algorithm>
#include <array>

#include "keyboard_transfer.h"
#include "link_texts.h"
#include "nibble_keys.h"

namespace zq70 {

namespace {

constexpr int kWriteOpeningDelay = 1;
constexpr int kAnnounceTimeoutMs = 2000;
constexpr int kNibbleValues = 16;

using GoodCombos = std::array<int, kNibbleValues>;

struct WriteFailure {
    TransferResult code = Ok;
    std::string text;
};

// Probes every speed value and keeps, for each nibble value in turn, the smallest speed
// value whose answer has not been seen at a smaller one.
bool probe_speeds(const KeyboardChannel& channel, GoodCombos& combos, WriteFailure& failure) {
    std::array<int, kKeyValueCount> answers{};
    for (int v = 0; v < kKeyValueCount; ++v) {
        channel.set_speed(v);
        answers[v] = channel.wait_key(kAnswerTimeoutMs);
        if (answers[v] == kNoKey) {
            failure = {TransferFailed, format_text(kNoResponseGetting, v)};
            return false;
        }
    }
    int found = 0;
    for (int v = 0; v < kKeyValueCount && found < kNibbleValues; ++v) {
        const auto end = answers.begin() + v;
        if (std::find(answers.begin(), end, answers[v]) == end) combos[found++] = v;
    }
    if (found < kNibbleValues) {
        failure = {NoGoodCombos, kNoGoodCombos};
        return false;
    }
    return true;
}

bool announce_combos(const KeyboardChannel& channel, const GoodCombos& combos,
                     WriteFailure& failure) {
    for (int d = 0; d < kNibbleValues; ++d) {
        channel.set_speed(combos[d]);
        if (channel.wait_key(kAnnounceTimeoutMs) != kVkControl) {
            failure = {TransferFailed, format_text(kNoResponseSetting, d)};
            return false;
        }
    }
    return true;
}

bool send_nibble(const KeyboardChannel& channel, const GoodCombos& combos, int nibble, int byte,
                 const char* wrong_text, WriteFailure& failure) {
    channel.set_speed(combos[nibble]);
    const int answer = channel.wait_key(kAnswerTimeoutMs);
    if (answer == nibble_answer(nibble)) return true;
    failure = {TransferFailed, format_text(wrong_text, byte, nibble, answer)};
    return false;
}

bool send_image(const KeyboardChannel& channel, const GoodCombos& combos, const DeviceImage& image,
                int length, const ProgressSink& progress, WriteFailure& failure) {
    for (int j = 0; j < length; ++j) {
        const int b = image[(j + kHeaderOffset) % kImageSize];
        if (!send_nibble(channel, combos, b >> 4, j, kWrongResponseHigh, failure) ||
            !send_nibble(channel, combos, b & 0x0F, j, kWrongResponseLow, failure))
            return false;
        report_percentage(progress, kWritingProgress, j + 1, length);
    }
    return true;
}

} // namespace

int used_length(const DeviceImage& image) {
    const int records = macro_record_count(image);
    int n = kMacroAreaStart;
    // Walks exactly the records the key codes refer to, so a record of two zero lengths
    // does not cut the later ones off; never past the macro area.
    for (int strings = 2 * records; strings > 0 && n < kMacroAreaEnd; --strings)
        n = std::min(n + image[n] + 1, kMacroAreaEnd);
    if (records <= 0)
        n = std::clamp(key_area_size(image[kColumnsOffset], image[kRowsOffset]), 0,
                       kKeyCodeAreaSize);
    return n + kHeaderSize;
}

TransferResult keyboard_write(const KeyboardLink& link, const DeviceImage& image,
                              const ProgressSink& progress) {
    const KeyboardChannel& channel = link.channel;
    const int length = used_length(image);
    const TypematicSettings saved = channel.save_typematic();
    if (!channel.wake_up()) {
        channel.restore_after_write(saved);
        return DeviceNotFound;
    }
    // A write opens with delay 1 again, where a read's first signal is delay 0.
    channel.set_delay(kWriteOpeningDelay);
    channel.pause(kSignalPauseMs);
    GoodCombos combos{};
    WriteFailure failure;
    if (probe_speeds(channel, combos, failure) && announce_combos(channel, combos, failure))
        send_image(channel, combos, image, length, progress, failure);
    channel.restore_after_write(saved);
    if (failure.code != Ok)
        show_message(link.ui, failure.text, MessageIcon::None, MessageButtons::Ok, kErrorCaption);
    return failure.code;
}

} // namespace zq70
