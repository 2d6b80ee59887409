#include "link_test_support.h"

#include <algorithm>

namespace zq70::test {

namespace {

void expect_tail(const KeyboardRig& rig, const std::vector<TypematicSignal>& tail) {
    const auto& signals = rig.keyboard.signals();
    ASSERT_GE(signals.size(), tail.size());
    const std::vector<TypematicSignal> last(signals.end() - tail.size(), signals.end());
    EXPECT_EQ(last, tail);
    EXPECT_EQ(rig.keyboard.settings().delay, kUserSettings.delay);
    EXPECT_EQ(rig.keyboard.settings().speed, kUserSettings.speed);
    // The restore is complete before any message appears.
    for (const RigMessage& message : rig.messages)
        EXPECT_EQ(message.signals_before, signals.size()) << message.text;
}

} // namespace

void expect_restored_after_read(const KeyboardRig& rig) {
    expect_tail(rig,
                {{TypematicSignal::Delay, 3, 0}, {TypematicSignal::Delay, kUserSettings.delay, 0}});
    EXPECT_TRUE(rig.values(TypematicSignal::Speed).empty()) << "a read never sets the speed";
}

void expect_restored_after_write(const KeyboardRig& rig) {
    expect_tail(rig, {{TypematicSignal::Delay, 3, 0},
                      {TypematicSignal::Speed, kUserSettings.speed, 0},
                      {TypematicSignal::Delay, kUserSettings.delay, 0}});
}

DeviceImage image_with_geometry(int columns, int rows, uint8_t key_code) {
    DeviceImage image{};
    image[kColumnsOffset] = static_cast<uint8_t>(columns);
    image[kRowsOffset] = static_cast<uint8_t>(rows);
    const int keys = key_area_size(columns, rows);
    for (int i = 0; i < keys; ++i)
        image[i] = key_code;
    for (int pin = 0; pin < kPinCount; ++pin)
        image[kPinListOffset + pin] = pin_to_code(pin);
    image[kTypematicOffset] = 0x2B;
    image[kBaudOffset] = 0x0D;
    image[kOutputOffset] = 0xA0;
    image[kKeyboardOffset] = 0x10;
    return image;
}

void put_records(DeviceImage& image, std::initializer_list<std::vector<uint8_t>> strings) {
    int at = kMacroAreaStart;
    for (const std::vector<uint8_t>& s : strings) {
        image[at++] = static_cast<uint8_t>(s.size());
        for (uint8_t b : s)
            image[at++] = b;
    }
}

DeviceImage random_image(std::mt19937& random) {
    auto pick = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    int rows = 0, columns = 0;
    if (pick(0, 4) != 0) {
        rows = pick(1, 12);
        columns = pick(1, std::min(12, kPinCount - rows));
    }
    DeviceImage image = image_with_geometry(columns, rows);
    const int keys = key_area_size(columns, rows);
    const int macros = pick(0, 4) == 0 ? 0 : pick(1, 20);
    int at = kMacroAreaStart;
    int made = 0;
    for (; made < macros; ++made) {
        const int make = pick(0, 8), brk = pick(0, 8);
        if (at + make + brk + 2 > kMacroAreaEnd) break;
        image[at++] = static_cast<uint8_t>(make);
        for (int i = 0; i < make; ++i)
            image[at++] = static_cast<uint8_t>(pick(1, 255));
        image[at++] = static_cast<uint8_t>(brk);
        for (int i = 0; i < brk; ++i)
            image[at++] = static_cast<uint8_t>(pick(1, 255));
    }
    for (int i = 0; i < keys; ++i)
        image[i] = static_cast<uint8_t>(made > 0 && pick(0, 3) == 0 ? 0x81 + pick(0, made - 1)
                                                                    : pick(0, 126));
    if (made > 0) image[pick(0, keys - 1)] = static_cast<uint8_t>(0x80 + made);
    for (int i = 0; i < kPinCount; ++i)
        std::swap(image[kPinListOffset + i], image[kPinListOffset + pick(i, kPinCount - 1)]);
    image[kTypematicOffset] = static_cast<uint8_t>(pick(0, 127));
    return image;
}

} // namespace zq70::test
