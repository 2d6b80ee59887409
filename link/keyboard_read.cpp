#include "keyboard_transfer.h"
#include "link_texts.h"
#include "nibble_keys.h"

namespace zq70 {

namespace {

constexpr int kKeyOneDelay = 0;
constexpr int kKeyTwoDelay = 2;

// Transfer index i carries image offset (i + 480) mod 512: the header travels first.
int offset_of(int index) {
    return (index + kHeaderOffset) % kImageSize;
}

struct ReadFailure {
    TransferResult code;
    std::string text;
};

class ImageReader {
  public:
    ImageReader(const KeyboardLink& link, DeviceImage& image, const ProgressSink& progress)
        : link_(link), image_(image), progress_(progress) {}

    TransferResult run() {
        const KeyboardChannel& channel = link_.channel;
        const TypematicSettings saved = channel.save_typematic();
        if (!channel.wake_up()) {
            channel.restore_after_read(saved);
            return DeviceNotFound;
        }
        ReadFailure failure{Ok, {}};
        for (int i = 0; i < kImageSize && failure.code == Ok; ++i) {
            if (read_byte(i, failure) && reached_end(i)) {
                if (progress_) progress_(kReadingDone);
                break;
            }
            if (failure.code == Ok)
                report_percentage(progress_, kReadingProgress, i + 1, kImageSize);
        }
        // The user's settings come back before any message is shown.
        channel.restore_after_read(saved);
        if (failure.code != Ok)
            show_message(link_.ui, failure.text, MessageIcon::None, MessageButtons::Ok,
                         kErrorCaption);
        return failure.code;
    }

  private:
    // Asks for one key with the given delay signal; its value 0..31, or -1 with the failure
    // filled in.
    int read_key(int delay, ReadFailure& failure) const {
        link_.channel.set_delay(delay);
        const int code = link_.channel.wait_key(kAnswerTimeoutMs);
        const int value = key_value_of(code);
        if (value < 0) failure = {TransferFailed, format_text(kIncorrectKey, code)};
        return value;
    }

    // Fetches byte i and checks its parity and, for the counts, the header. True when the
    // byte arrived and passed.
    bool read_byte(int i, ReadFailure& failure) {
        const int o = offset_of(i);
        const int key1 = read_key(kKeyOneDelay, failure);
        if (key1 < 0) return false;
        image_[o] = static_cast<uint8_t>((key1 & 0x0F) << 4);
        const int key2 = read_key(kKeyTwoDelay, failure);
        if (key2 < 0) return false;
        if (!parity_holds(key2 & 0x0F, key1 >> 4) || !parity_holds(key1 & 0x0F, key2 >> 4)) {
            failure = {TransferFailed, format_text(kIncorrectChecksum, o, key1, key2)};
            return false;
        }
        image_[o] = static_cast<uint8_t>(image_[o] | (key2 & 0x0F));
        const int columns = image_[kColumnsOffset];
        if (o == kColumnsOffset && columns > kMaxLines) {
            failure = {InvalidHeader, format_text(kRowsWrong, columns)};
            return false;
        }
        const int rows = image_[kRowsOffset];
        if (o == kRowsOffset && (rows > kMaxLines || columns + rows > kPinCount)) {
            failure = {InvalidHeader, format_text(kColsWrong, columns, rows)};
            return false;
        }
        return true;
    }

    // True once the key codes and the macro records they call for are all in.
    bool reached_end(int i) {
        if (i < kHeaderSize) return false;
        const int o = offset_of(i);
        const int key_bytes = key_area_size(image_[kColumnsOffset], image_[kRowsOffset]);
        if (i - kHeaderSize == key_bytes - 1) {
            const int records = macro_record_count(image_);
            if (records <= 0) return true;
            // Two length-prefixed strings per macro, then the length byte after them.
            remaining_ = 2 * records;
        }
        if (o == next_record_) {
            next_record_ += image_[o] + 1;
            if (--remaining_ < 0) return true;
        }
        return false;
    }

    const KeyboardLink& link_;
    DeviceImage& image_;
    const ProgressSink& progress_;
    int remaining_ = 0;
    int next_record_ = kMacroAreaStart;
};

} // namespace

int key_area_size(int columns, int rows) {
    return rows * columns + (kPinCount - rows - columns);
}

TransferResult keyboard_read(const KeyboardLink& link, DeviceImage& image,
                             const ProgressSink& progress) {
    return ImageReader(link, image, progress).run();
}

} // namespace zq70
