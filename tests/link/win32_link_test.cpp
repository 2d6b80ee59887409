// The Win32 back-ends under Wine: the serial port against zq70sim instances registered as
// COM1..COM5 by run_with_sims.sh (COM6 left absent), and the keyboard platform with the
// real typematic settings and thread message queue.
#include <gtest/gtest.h>

#include "link/keyboard_platform_win32.h"
#include "link/keyboard_transfer.h"
#include "link/serial_port_win32.h"
#include "link/serial_transfer.h"
#include "tests/support/random_bytes.h"

namespace zq70::test {
namespace {

constexpr int kGoodDevice = 1;
constexpr int kSilentDevice = 2;
constexpr int kWrongKeywordDevice = 3;
constexpr int kWrongStoreDevice = 4;
constexpr int kMissingAnswerDevice = 5; // no answer at address 300
constexpr int kAbsentPort = 6;

SerialPort com(int number) {
    return make_win32_serial_port("\\\\.\\COM" + std::to_string(number));
}

void pump_2ms(int ms) {
    Sleep(static_cast<DWORD>(ms));
}

TEST(Win32Serial, WriteThenReadBackAll512Bytes) {
    MillisecondTimer timer;
    const DeviceImage image = random_bytes(3);
    int texts = 0;
    const uint32_t start = millisecond_ticks();
    EXPECT_EQ(serial_write(
                  com(kGoodDevice), image, [&](const std::string&) { ++texts; }, pump_2ms),
              Ok);
    const uint32_t elapsed = millisecond_ticks() - start;
    EXPECT_EQ(texts, 99);
    DeviceImage back{};
    EXPECT_EQ(serial_read(com(kGoodDevice), back, {}, pump_2ms), Ok);
    EXPECT_EQ(back, image);
    // With 1 ms timer resolution the 2 ms pumps add up to about one second, not eight.
    EXPECT_LT(elapsed, 4000u);
}

TEST(Win32Serial, DeviceFaults) {
    const DeviceImage image = random_bytes(4);
    DeviceImage back{};
    EXPECT_EQ(serial_read(com(kSilentDevice), back, {}, pump_2ms), TransferFailed);
    EXPECT_EQ(serial_write(com(kSilentDevice), image, {}, pump_2ms), TransferFailed);
    EXPECT_EQ(serial_write(com(kWrongKeywordDevice), image, {}, pump_2ms), TransferFailed);
    EXPECT_EQ(serial_write(com(kWrongStoreDevice), image, {}, pump_2ms), TransferFailed);
    EXPECT_EQ(serial_read(com(kWrongStoreDevice), back, {}, pump_2ms), Ok);
    EXPECT_EQ(back, image) << "every byte was stored before 'S' was answered wrongly";

    EXPECT_EQ(serial_write(com(kMissingAnswerDevice), image, {}, pump_2ms), TransferFailed);
    back.fill(0);
    EXPECT_EQ(serial_read(com(kMissingAnswerDevice), back, {}, pump_2ms), TransferFailed);
    for (int i = 0; i < 300; ++i)
        ASSERT_EQ(back[i], image[i]) << i;
    EXPECT_EQ(back[300], 0);
}

TEST(Win32Serial, PortThatDoesNotExist) {
    DeviceImage image{};
    EXPECT_EQ(serial_read(com(kAbsentPort), image, {}, pump_2ms), PortOpenFailed);
    EXPECT_EQ(serial_write(com(kAbsentPort), image, {}, pump_2ms), PortOpenFailed);
}

void post_key(UINT message, WPARAM vk) {
    ASSERT_TRUE(PostThreadMessageA(GetCurrentThreadId(), message, vk, 0));
}

TEST(Win32Keyboard, WakeUpTakesKeysFromTheThreadQueueAndSettingsComeBack) {
    MillisecondTimer timer;
    const KeyboardChannel channel(win32_keyboard_platform());
    const TypematicSettings user = channel.save_typematic();
    const TypematicSettings mine{user.delay == 1 ? 2 : 1, user.speed == 20 ? 21 : 20};
    channel.set_delay(mine.delay);
    channel.set_speed(mine.speed);
    const TypematicSettings saved = channel.save_typematic();
    EXPECT_EQ(saved.delay, mine.delay);
    EXPECT_EQ(saved.speed, mine.speed);

    // Keys queued before the wait count like keys typed during it.
    post_key(WM_KEYDOWN, VK_CONTROL);
    post_key(WM_KEYUP, VK_CONTROL);
    const uint32_t start = millisecond_ticks();
    EXPECT_TRUE(channel.wake_up());
    const uint32_t elapsed = millisecond_ticks() - start;
    EXPECT_GE(elapsed, 750u);
    EXPECT_LT(elapsed, 1000u);
    channel.restore_after_read(saved);
    EXPECT_EQ(channel.save_typematic().delay, mine.delay);

    // No answer: the read gives up and puts the settings back.
    UserInterface ui;
    DeviceImage image{};
    EXPECT_EQ(keyboard_read({channel, ui}, image, {}), DeviceNotFound);
    EXPECT_EQ(channel.save_typematic().delay, mine.delay);
    EXPECT_EQ(keyboard_write({channel, ui}, image, {}), DeviceNotFound);
    const TypematicSettings after = channel.save_typematic();
    EXPECT_EQ(after.delay, mine.delay);
    EXPECT_EQ(after.speed, mine.speed);
    channel.set_delay(user.delay);
    channel.set_speed(user.speed);
}

} // namespace
} // namespace zq70::test
