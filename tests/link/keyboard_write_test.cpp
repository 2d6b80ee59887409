#include "link/nibble_keys.h"
#include "link_test_support.h"

namespace zq70::test {
namespace {

// The speed signals of the probe, of the announcement and of the data.
struct SpeedPhases {
    std::vector<int> probe, announce, data;
};

SpeedPhases speed_phases(const KeyboardRig& rig) {
    std::vector<int> speeds = rig.values(TypematicSignal::Speed);
    if (!speeds.empty()) speeds.pop_back(); // the restore
    SpeedPhases phases;
    for (size_t i = 0; i < speeds.size(); ++i)
        (i < 32 ? phases.probe : i < 48 ? phases.announce : phases.data).push_back(speeds[i]);
    return phases;
}

TEST(UsedLength, KeyAreaOrMacroRecords) {
    EXPECT_EQ(used_length(image_with_geometry(12, 12)), 176);
    EXPECT_EQ(used_length(image_with_geometry(0, 0, 7)), 56);

    DeviceImage one = image_with_geometry(12, 12, 0x81);
    put_records(one, {{1, 2, 3}, {4, 5}});
    EXPECT_EQ(used_length(one), 183) << "the zero pair at 151 is not sent";

    DeviceImage zero_then_two = image_with_geometry(12, 12, 0x81);
    put_records(zero_then_two, {{}, {9, 9}});
    EXPECT_EQ(used_length(zero_then_two), 32 + 148);

    // A record of two zero lengths does not cut off the records after it that key codes
    // refer to.
    DeviceImage empty_first = image_with_geometry(12, 12, 0x82);
    put_records(empty_first, {{}, {}, {5}, {6, 7}});
    EXPECT_EQ(used_length(empty_first), 32 + 144 + 2 + 2 + 3);

    DeviceImage full = image_with_geometry(12, 12, 0x81);
    put_records(full, {std::vector<uint8_t>(200, 1), std::vector<uint8_t>(134, 2)});
    EXPECT_EQ(used_length(full), 512);

    // Lengths that would carry the walk past the macro area stop at 480.
    DeviceImage corrupt = image_with_geometry(12, 12, 0xFF);
    std::fill(corrupt.begin() + kMacroAreaStart, corrupt.begin() + kMacroAreaEnd, 0xFF);
    EXPECT_EQ(used_length(corrupt), 512);
}

TEST(KeyboardWrite, SendsTheUsedPartAndTheDeviceStoresIt) {
    KeyboardRig rig;
    DeviceImage image = image_with_geometry(3, 4, 0x82);
    put_records(image, {{0x1E, 0x7F, 0x05, 0x9E}, {}, {0x20}, {0xA0}});
    rig.device.memory.fill(0xEE);
    EXPECT_EQ(rig.write(image), Ok);
    EXPECT_TRUE(rig.messages.empty());
    const int length = used_length(image);
    EXPECT_EQ(rig.device.keyboard_bytes_written(), length);
    for (int j = 0; j < length; ++j) {
        const int o = (j + kHeaderOffset) % kImageSize;
        EXPECT_EQ(rig.device.memory[o], image[o]) << o;
    }
    EXPECT_EQ(rig.device.memory[length - 32], 0xEE) << "nothing past the used part";

    // Wake-up, the write's own delay 1 after a pause, then only speed signals.
    EXPECT_EQ(rig.values(TypematicSignal::Delay),
              (std::vector<int>{1, 0, 2, 0, 0, 1, 1, 3, kUserSettings.delay}));
    const SpeedPhases phases = speed_phases(rig);
    ASSERT_EQ(phases.probe.size(), 32u);
    for (int v = 0; v < 32; ++v)
        EXPECT_EQ(phases.probe[v], v);
    for (int d = 0; d < 16; ++d)
        EXPECT_EQ(phases.announce.at(d), d);
    ASSERT_EQ(phases.data.size(), 2u * length);
    EXPECT_EQ(phases.data[0], image[480] >> 4);
    EXPECT_EQ(phases.data[1], image[480] & 15);
    expect_restored_after_write(rig);
    ASSERT_FALSE(rig.progress.empty());
    EXPECT_EQ(rig.progress.front(), "Writing configuration - 1%");
    EXPECT_EQ(rig.progress.back(), "Writing configuration - 100%");
    for (size_t i = 1; i < rig.progress.size(); ++i)
        EXPECT_NE(rig.progress[i], rig.progress[i - 1]);
}

TEST(KeyboardWrite, GoodCombosAreTheFirstNewAnswers) {
    KeyboardRig rig;
    rig.device.probe_keys[1] = rig.device.probe_keys[0];
    const DeviceImage image = image_with_geometry(12, 12, 0x3C);
    ASSERT_EQ(rig.write(image), Ok);
    const SpeedPhases phases = speed_phases(rig);
    const std::vector<int> expected = {0, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
    EXPECT_EQ(phases.announce, expected);
    // Nibble 3 of key code 0x3C travels as speed 4.
    EXPECT_EQ(phases.data.at(2 * 32), 4);
    EXPECT_EQ(rig.device.memory[0], 0x3C);

    KeyboardRig late_repeat;
    late_repeat.device.limit_probe_answers(16);
    ASSERT_EQ(late_repeat.write(image), Ok);
    EXPECT_EQ(speed_phases(late_repeat).announce.back(), 15);
}

TEST(KeyboardWrite, FifteenDistinctAnswersAreNoGoodCombos) {
    KeyboardRig rig;
    rig.device.limit_probe_answers(15);
    EXPECT_EQ(rig.write(image_with_geometry(12, 12)), NoGoodCombos);
    ASSERT_EQ(rig.messages.size(), 1u);
    EXPECT_EQ(rig.messages[0].caption, "Error");
    EXPECT_EQ(rig.messages[0].text, "No good combos");
    EXPECT_TRUE(speed_phases(rig).announce.empty());
    expect_restored_after_write(rig);
}

TEST(KeyboardWrite, AnnouncementWaitsTwoSeconds) {
    for (int late : {1999, 2000}) {
        KeyboardRig rig;
        rig.device.faults.push_back({DevicePhase::Announce, 9, FaultKind::Late, late});
        const TransferResult result = rig.write(image_with_geometry(12, 12));
        if (late < 2000) {
            EXPECT_EQ(result, Ok);
        } else {
            EXPECT_EQ(result, TransferFailed);
            EXPECT_EQ(rig.messages.at(0).text, "No response on setting value 9");
        }
        expect_restored_after_write(rig);
    }
}

TEST(KeyboardWrite, NibbleAnswersFollowParity) {
    // 0x17: nibble 1 wants Shift, nibble 7 Shift; 0xF0: 15 Ctrl, 0 Ctrl. Swapping either
    // answer fails with the transfer index, the nibble and the key received.
    KeyboardRig rig;
    DeviceImage image = image_with_geometry(12, 12, 0x17);
    image[1] = 0xF0;
    rig.device.faults.push_back({DevicePhase::WriteNibble, 2 * 33 + 1, FaultKind::Corrupt});
    EXPECT_EQ(rig.write(image), TransferFailed);
    EXPECT_EQ(rig.messages.at(0).text, "Wrong response on byte 33-2 = 0 (r = 16)");
    expect_restored_after_write(rig);

    KeyboardRig shift;
    shift.device.faults.push_back({DevicePhase::WriteNibble, 2 * 32, FaultKind::Corrupt});
    EXPECT_EQ(shift.write(image), TransferFailed);
    EXPECT_EQ(shift.messages.at(0).text, "Wrong response on byte 32-1 = 1 (r = 17)");
}

} // namespace
} // namespace zq70::test
