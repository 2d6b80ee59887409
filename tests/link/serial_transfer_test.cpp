#include "link/serial_transfer.h"
#include "link_test_support.h"

namespace zq70::test {
namespace {

struct SerialRig {
    SerialRig() : port(device, clock.clock()), seam(port.port()) {}

    TransferResult read(DeviceImage& image) { return serial_read(seam, image, sink(), pump()); }
    TransferResult write(const DeviceImage& image) {
        return serial_write(seam, image, sink(), pump());
    }
    ProgressSink sink() {
        return [this](const std::string& text) { progress.push_back(text); };
    }
    Pump pump() {
        return [this](int ms) {
            pumps.push_back(ms);
            clock.advance(ms);
        };
    }
    // The port is closed and its time-outs are those it had before the transfer.
    void expect_port_restored() const {
        EXPECT_FALSE(port.is_open);
        EXPECT_EQ(port.closes, 1);
        EXPECT_EQ(port.timeouts, (PortTimeouts{11, 22, 33}));
    }

    VirtualClock clock;
    DeviceModel device;
    SimulatedSerialPort port;
    SerialPort seam;
    std::vector<std::string> progress;
    std::vector<int> pumps;
};

std::vector<uint8_t> write_commands(const DeviceImage& image) {
    std::vector<uint8_t> bytes = {128, 'K'};
    for (int i = 0; i < kImageSize; ++i) {
        bytes.insert(bytes.end(),
                     {'W', static_cast<uint8_t>(i / 256), static_cast<uint8_t>(i % 256), image[i]});
    }
    bytes.insert(bytes.end(), {'S', 237});
    return bytes;
}

DeviceImage pattern_image() {
    DeviceImage image;
    for (int i = 0; i < kImageSize; ++i)
        image[i] = static_cast<uint8_t>(i * 7 + i / 256);
    // Bytes equal to command answers travel like any other.
    image[10] = '!';
    image[11] = 'W';
    image[12] = 128;
    return image;
}

TEST(SerialWrite, ExactCommandsPumpsAndProgress) {
    SerialRig rig;
    const DeviceImage image = pattern_image();
    EXPECT_EQ(rig.write(image), Ok);
    EXPECT_EQ(rig.port.opens, 1);
    EXPECT_EQ(rig.port.sent, write_commands(image));
    EXPECT_EQ(rig.device.memory, image);
    EXPECT_TRUE(rig.device.take_completed_write());
    EXPECT_EQ(rig.pumps, std::vector<int>(512, 2));
    // One discard before each command: 128, K, 512 W, S, 237.
    EXPECT_EQ(rig.port.discards, 516);
    ASSERT_EQ(rig.progress.size(), 99u);
    EXPECT_EQ(rig.progress.front(), "Writing configuration - 1%");
    EXPECT_EQ(rig.progress.back(), "Writing configuration - 99%");
    rig.expect_port_restored();
}

TEST(SerialRead, ExactCommandsAndImage) {
    SerialRig rig;
    rig.device.memory = pattern_image();
    DeviceImage image{};
    EXPECT_EQ(rig.read(image), Ok);
    EXPECT_EQ(rig.port.opens, 1);
    EXPECT_EQ(image, rig.device.memory);
    ASSERT_EQ(rig.port.sent.size(), 1u + 3 * 512 + 1);
    EXPECT_EQ(rig.port.sent.front(), 128);
    EXPECT_EQ(std::vector<uint8_t>(rig.port.sent.begin() + 1 + 3 * 300,
                                   rig.port.sent.begin() + 4 + 3 * 300),
              (std::vector<uint8_t>{'R', 1, 44}));
    EXPECT_EQ(rig.port.sent.back(), 237);
    EXPECT_FALSE(rig.device.take_completed_write());
    ASSERT_EQ(rig.progress.size(), 99u);
    EXPECT_EQ(rig.progress.front(), "Reading configuration - 1%");
    rig.expect_port_restored();
}

TEST(SerialTransfer, SilentDevice) {
    SerialRig reader;
    reader.device.silent = true;
    DeviceImage image{};
    EXPECT_EQ(reader.read(image), TransferFailed);
    // The opening answer time, a 2 ms pump, and the first 'R' time-out.
    EXPECT_EQ(reader.clock.now(), 72u + 2 + 72);
    reader.expect_port_restored();

    SerialRig writer;
    writer.device.silent = true;
    EXPECT_EQ(writer.write(pattern_image()), TransferFailed);
    EXPECT_EQ(writer.port.sent, (std::vector<uint8_t>{128, 'K'}));
    writer.expect_port_restored();
}

TEST(SerialWrite, ClosingCommandsOnlyAfterACompleteTransfer) {
    SerialRig wrong_keyword;
    wrong_keyword.device.faults.push_back(
        {DevicePhase::SerialKeyword, -1, FaultKind::WrongAnswer, 'k'});
    EXPECT_EQ(wrong_keyword.write(pattern_image()), TransferFailed);
    EXPECT_EQ(wrong_keyword.port.sent, (std::vector<uint8_t>{128, 'K'}));
    wrong_keyword.expect_port_restored();

    SerialRig wrong_store;
    wrong_store.device.faults.push_back(
        {DevicePhase::SerialStore, -1, FaultKind::WrongAnswer, 'W'});
    EXPECT_EQ(wrong_store.write(pattern_image()), TransferFailed);
    std::vector<uint8_t> expected = write_commands(pattern_image());
    expected.pop_back(); // no 237
    EXPECT_EQ(wrong_store.port.sent, expected);
    EXPECT_EQ(wrong_store.device.memory, pattern_image());
    wrong_store.expect_port_restored();

    SerialRig missing_echo;
    missing_echo.device.faults.push_back({DevicePhase::SerialWrite, 200, FaultKind::Silent});
    EXPECT_EQ(missing_echo.write(pattern_image()), TransferFailed);
    EXPECT_EQ(missing_echo.port.sent.size(), 2u + 4 * 201);
    missing_echo.expect_port_restored();
}

TEST(SerialTransfer, LateAndStaleAnswersAreNotTakenForTheNextCommand) {
    // The answer to 128 comes just after its time-out; it is dropped before the first 'R'.
    SerialRig late;
    late.device.memory = pattern_image();
    late.device.faults.push_back({DevicePhase::SerialOpen, -1, FaultKind::Late, 73});
    DeviceImage image{};
    EXPECT_EQ(late.read(image), Ok);
    EXPECT_EQ(image, late.device.memory);

    // A byte left in the port by an earlier exchange.
    SerialRig stale;
    stale.port.inject_input('x');
    EXPECT_EQ(stale.write(pattern_image()), Ok);
    EXPECT_EQ(stale.device.memory, pattern_image());
}

TEST(SerialTransfer, PortThatCannotBeOpenedOrConfigured) {
    SerialRig absent;
    absent.port.absent = true;
    DeviceImage image{};
    EXPECT_EQ(absent.read(image), PortOpenFailed);
    EXPECT_EQ(absent.write(image), PortOpenFailed);
    EXPECT_EQ(absent.port.closes, 0);
    EXPECT_TRUE(absent.port.sent.empty());

    SerialRig unconfigurable;
    unconfigurable.port.fail_configure = true;
    EXPECT_EQ(unconfigurable.write(image), PortOpenFailed);
    EXPECT_TRUE(unconfigurable.port.sent.empty());
    unconfigurable.expect_port_restored();

    // Held by someone else: the exclusive open fails.
    SerialRig busy;
    ASSERT_TRUE(busy.seam.open());
    EXPECT_EQ(serial_read(busy.seam, image, {}, {}), PortOpenFailed);
}

} // namespace
} // namespace zq70::test
