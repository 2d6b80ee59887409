#include "link/nibble_keys.h"
#include "link_test_support.h"

namespace zq70::test {
namespace {

// Reads the device memory into an image pre-filled with a marker, so untouched bytes show.
struct ReadOutcome {
    TransferResult result;
    DeviceImage image;
};

ReadOutcome read_from(KeyboardRig& rig) {
    ReadOutcome outcome;
    outcome.image.fill(0xA5);
    outcome.result = rig.read(outcome.image);
    return outcome;
}

TEST(KeyboardRead, ReadsHeaderFirstThenKeyCodes) {
    KeyboardRig rig;
    rig.device.memory = image_with_geometry(12, 12, 0x12);
    rig.device.memory[0] = 0x00;
    rig.device.memory[143] = 0xFF & 0x7F;
    rig.device.memory[kHeaderOffset] = 0x00;
    rig.device.memory[kHeaderOffset + 1] = 0xFF;
    const ReadOutcome out = read_from(rig);
    EXPECT_EQ(out.result, Ok);
    EXPECT_TRUE(rig.messages.empty());
    for (int o = kHeaderOffset; o < kImageSize; ++o)
        EXPECT_EQ(out.image[o], rig.device.memory[o]);
    for (int o = 0; o < 144; ++o)
        EXPECT_EQ(out.image[o], rig.device.memory[o]) << o;
    EXPECT_EQ(out.image[144], 0xA5) << "nothing past the key codes without macros";
    EXPECT_EQ(rig.bytes_requested(), 176);
    // Wake-up, then delay 0 / delay 2 for each byte, then the restore.
    const std::vector<int> delays = rig.values(TypematicSignal::Delay);
    EXPECT_EQ(std::vector<int>(delays.begin(), delays.begin() + 8),
              (std::vector<int>{1, 0, 2, 0, 0, 1, 0, 2}));
    expect_restored_after_read(rig);
}

TEST(KeyboardRead, ProgressOnlyWhenThePercentageChanges) {
    KeyboardRig rig;
    rig.device.memory = image_with_geometry(12, 12, 0x81); // one macro
    put_records(rig.device.memory, {std::vector<uint8_t>(200, 1), std::vector<uint8_t>(134, 2)});
    const ReadOutcome out = read_from(rig);
    ASSERT_EQ(out.result, Ok);
    // The record after these two would start at 480, where no record test can match: all
    // 512 bytes come.
    EXPECT_EQ(rig.bytes_requested(), 512);
    EXPECT_EQ(out.image, rig.device.memory);
    ASSERT_EQ(rig.progress.size(), 100u);
    for (int p = 1; p <= 100; ++p)
        EXPECT_EQ(rig.progress[p - 1], "Reading configuration - " + std::to_string(p) + "%");
}

TEST(KeyboardRead, EarlyEnds) {
    struct Case {
        const char* name;
        int columns, rows;
        uint8_t key_code;
        std::initializer_list<std::vector<uint8_t>> records;
        int bytes;
    };
    const std::vector<uint8_t> none;
    const Case cases[] = {
        {"24 discrete inputs, no macro", 0, 0, 5, {}, 56},
        {"highest code 128 is no macro", 12, 12, 128, {}, 176},
        {"macros 1 and 2", 2, 3, 130, {{1, 2}, {3}, none, {4, 5, 6}}, 32 + 144 + 3 + 2 + 1 + 4 + 1},
        {"R = C = 12 all 240: 225 one-byte records", 12, 12, 240, {}, 401},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        KeyboardRig rig;
        rig.device.memory = image_with_geometry(c.columns, c.rows, c.key_code);
        put_records(rig.device.memory, c.records);
        const ReadOutcome out = read_from(rig);
        EXPECT_EQ(out.result, Ok);
        EXPECT_EQ(rig.bytes_requested(), c.bytes);
        ASSERT_FALSE(rig.progress.empty());
        EXPECT_EQ(rig.progress.back(), "Reading configuration - 100%");
        for (int i = 0; i < c.bytes; ++i) {
            const int o = (i + kHeaderOffset) % kImageSize;
            EXPECT_EQ(out.image[o], rig.device.memory[o]) << o;
        }
        EXPECT_EQ(out.image[(c.bytes + kHeaderOffset) % kImageSize], 0xA5);
        expect_restored_after_read(rig);
    }
}

TEST(KeyboardRead, HeaderRefusals) {
    struct Case {
        int columns, rows;
        const char* message;
        int bytes;
    };
    const Case refused[] = {
        {24, 0, "Number of rows wrong (24)", 29},
        {0, 24, "Number of cols wrong: rows = 0, cols = 24", 30},
        {13, 12, "Number of cols wrong: rows = 13, cols = 12", 30},
        {255, 1, "Number of rows wrong (255)", 29},
    };
    for (const Case& c : refused) {
        SCOPED_TRACE(c.message);
        KeyboardRig rig;
        rig.device.memory = image_with_geometry(c.columns, c.rows);
        const ReadOutcome out = read_from(rig);
        EXPECT_EQ(out.result, InvalidHeader);
        EXPECT_EQ(rig.bytes_requested(), c.bytes);
        ASSERT_EQ(rig.messages.size(), 1u);
        EXPECT_EQ(rig.messages[0].caption, "Error");
        EXPECT_EQ(rig.messages[0].text, c.message);
        EXPECT_EQ(rig.messages[0].icon, MessageIcon::None);
        expect_restored_after_read(rig);
    }
    KeyboardRig accepted;
    accepted.device.memory = image_with_geometry(1, 23);
    EXPECT_EQ(read_from(accepted).result, Ok);
}

// A fault on data key `key_index` of a read, and the detail message it must give.
struct KeyFaultCase {
    int key_index;
    FaultKind kind;
    int value;
    const char* message;
};

TEST(KeyboardRead, ParityFailuresNameOffsetAndKeyValues) {
    // Byte 480 is 0x45: key values 20 ('K': 4 with the parity bit of 5) and 5. Byte 8 is
    // 0x12: key values 1 and 2.
    const KeyFaultCase cases[] = {
        {0, FaultKind::WrongAnswer, '0', "Incorrect checksum on 480: Key1 = 0, Key2 = 5"},
        {0, FaultKind::Corrupt, 0, "Incorrect checksum on 480: Key1 = 4, Key2 = 5"},
        {1, FaultKind::Corrupt, 0, "Incorrect checksum on 480: Key1 = 20, Key2 = 21"},
        {2 * 40, FaultKind::Corrupt, 0, "Incorrect checksum on 8: Key1 = 17, Key2 = 2"},
        {2 * 40 + 1, FaultKind::Corrupt, 0, "Incorrect checksum on 8: Key1 = 1, Key2 = 18"},
    };
    for (const KeyFaultCase& c : cases) {
        SCOPED_TRACE(c.message);
        KeyboardRig rig;
        rig.device.memory = image_with_geometry(12, 12, 0x12);
        rig.device.faults.push_back({DevicePhase::ReadKey, c.key_index, c.kind, c.value});
        EXPECT_EQ(read_from(rig).result, TransferFailed);
        ASSERT_EQ(rig.messages.size(), 1u);
        EXPECT_EQ(rig.messages[0].text, c.message);
        expect_restored_after_read(rig);
    }
    // Both keys '0': parity test A fails first.
    KeyboardRig rig;
    rig.device.faults.push_back({DevicePhase::ReadKey, 0, FaultKind::WrongAnswer, '0'});
    rig.device.faults.push_back({DevicePhase::ReadKey, 1, FaultKind::WrongAnswer, '0'});
    EXPECT_EQ(read_from(rig).result, TransferFailed);
    EXPECT_EQ(rig.messages.at(0).text, "Incorrect checksum on 480: Key1 = 0, Key2 = 0");
}

TEST(KeyboardRead, InvalidKeysAndTimeOuts) {
    const KeyFaultCase cases[] = {
        {0, FaultKind::Silent, 0, "Incorrect key: -1"},
        {1, FaultKind::Late, 500, "Incorrect key: -1"},
        {77, FaultKind::WrongAnswer, kVkControl, "Incorrect key: 17"},
        {78, FaultKind::WrongAnswer, 'W', "Incorrect key: 87"},
    };
    for (const KeyFaultCase& c : cases) {
        SCOPED_TRACE(c.message);
        KeyboardRig rig;
        rig.device.memory = image_with_geometry(12, 12, 0x12);
        rig.device.faults.push_back({DevicePhase::ReadKey, c.key_index, c.kind, c.value});
        const ReadOutcome out = read_from(rig);
        EXPECT_EQ(out.result, TransferFailed);
        EXPECT_EQ(rig.bytes_requested(), c.key_index / 2 + (c.key_index % 2));
        ASSERT_EQ(rig.messages.size(), 1u);
        EXPECT_EQ(rig.messages[0].caption, "Error");
        EXPECT_EQ(rig.messages[0].text, c.message);
        expect_restored_after_read(rig);
    }
    // A key that is 499 ms late still counts.
    KeyboardRig late;
    late.device.memory = image_with_geometry(12, 12);
    late.device.faults.push_back({DevicePhase::ReadKey, -1, FaultKind::Late, 499});
    EXPECT_EQ(read_from(late).result, Ok);
}

TEST(KeyboardRead, DeviceNotFoundShowsNothing) {
    KeyboardRig rig;
    rig.device.silent = true;
    DeviceImage image{};
    image.fill(0x77);
    EXPECT_EQ(rig.read(image), DeviceNotFound);
    EXPECT_TRUE(rig.messages.empty());
    EXPECT_TRUE(rig.progress.empty());
    expect_restored_after_read(rig);
    for (uint8_t b : image)
        EXPECT_EQ(b, 0x77);
}

} // namespace
} // namespace zq70::test
