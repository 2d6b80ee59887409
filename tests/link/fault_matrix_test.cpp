// Every phase of every protocol, with a fault injected at a sample of positions: the code,
// the message, and what must be put back.
#include "link/nibble_keys.h"
#include "link/serial_transfer.h"
#include "link_test_support.h"

namespace zq70::test {
namespace {

struct KeyboardFaultCase {
    DeviceFault fault;
    TransferResult result;
    std::string message; // empty: none
};

std::string checksum_message(const DeviceImage& memory, int key_index) {
    const int o = (key_index / 2 + kHeaderOffset) % kImageSize;
    int key1 = first_key_value(memory[o]);
    int key2 = second_key_value(memory[o]);
    (key_index % 2 == 0 ? key1 : key2) ^= 0x10;
    return "Incorrect checksum on " + std::to_string(o) + ": Key1 = " + std::to_string(key1) +
           ", Key2 = " + std::to_string(key2);
}

TEST(FaultMatrix, KeyboardRead) {
    const DeviceImage memory = [] {
        DeviceImage image = image_with_geometry(6, 5, 0x83);
        put_records(image, {{1}, {2, 3}, {4}, {}, {5, 6, 7}, {8}});
        return image;
    }();
    const int keys = 2 * (32 + 144 + 2 + 3 + 2 + 1 + 4 + 2 + 1);
    std::vector<KeyboardFaultCase> cases = {
        {{DevicePhase::WakeUp, 0, FaultKind::Silent}, DeviceNotFound, ""},
        {{DevicePhase::WakeUp, 0, FaultKind::WrongAnswer, kVkShift}, DeviceNotFound, ""},
    };
    for (int k : {0, 1, 56, 57, 58, 59, 63, 64, 65, 130, 351, 352, keys - 2, keys - 1}) {
        cases.push_back(
            {{DevicePhase::ReadKey, k, FaultKind::Silent}, TransferFailed, "Incorrect key: -1"});
        cases.push_back({{DevicePhase::ReadKey, k, FaultKind::WrongAnswer, 'Z'},
                         TransferFailed,
                         "Incorrect key: 90"});
        cases.push_back(
            {{DevicePhase::ReadKey, k, FaultKind::Late, 600}, TransferFailed, "Incorrect key: -1"});
        cases.push_back({{DevicePhase::ReadKey, k, FaultKind::Corrupt},
                         TransferFailed,
                         checksum_message(memory, k)});
    }
    for (const KeyboardFaultCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "key " << c.fault.index << ": " << c.message);
        KeyboardRig rig;
        rig.device.memory = memory;
        rig.device.faults.push_back(c.fault);
        DeviceImage image{};
        EXPECT_EQ(rig.read(image), c.result);
        ASSERT_EQ(rig.messages.size(), c.message.empty() ? 0u : 1u);
        EXPECT_EQ(rig.messages.empty() ? std::string() : rig.messages[0].text, c.message);
        expect_restored_after_read(rig);
    }
    // A fault on the key after the last one needed changes nothing.
    KeyboardRig beyond;
    beyond.device.memory = memory;
    beyond.device.faults.push_back({DevicePhase::ReadKey, keys, FaultKind::Silent});
    DeviceImage image{};
    EXPECT_EQ(beyond.read(image), Ok);
}

TEST(FaultMatrix, KeyboardWrite) {
    DeviceImage image = image_with_geometry(12, 12, 0x5A);
    image[100] = 0x81;
    put_records(image, {{0x1E, 0x9E}, {0x7F, 0x20}});
    const int length = used_length(image);
    ASSERT_EQ(length, 32 + 150);
    std::vector<KeyboardFaultCase> cases = {
        {{DevicePhase::WakeUp, 0, FaultKind::Silent}, DeviceNotFound, ""},
        {{DevicePhase::WakeUp, 0, FaultKind::Late, 500}, DeviceNotFound, ""},
    };
    for (int v : {0, 1, 16, 31}) {
        const std::string text = "No response on getting value " + std::to_string(v);
        cases.push_back({{DevicePhase::Probe, v, FaultKind::Silent}, TransferFailed, text});
        cases.push_back({{DevicePhase::Probe, v, FaultKind::Late, 500}, TransferFailed, text});
    }
    for (int d : {0, 7, 15}) {
        const std::string text = "No response on setting value " + std::to_string(d);
        cases.push_back({{DevicePhase::Announce, d, FaultKind::Silent}, TransferFailed, text});
        cases.push_back({{DevicePhase::Announce, d, FaultKind::Corrupt}, TransferFailed, text});
    }
    for (int n : {0, 1, 2, 63, 200, 2 * length - 2, 2 * length - 1}) {
        const int j = n / 2;
        const uint8_t b = image[(j + kHeaderOffset) % kImageSize];
        const int nibble = n % 2 == 0 ? b >> 4 : b & 15;
        const std::string head = "Wrong response on byte " + std::to_string(j) +
                                 (n % 2 == 0 ? "-1" : "-2") + " = " + std::to_string(nibble);
        const int flipped = nibble_answer(nibble) == kVkControl ? kVkShift : kVkControl;
        cases.push_back(
            {{DevicePhase::WriteNibble, n, FaultKind::Silent}, TransferFailed, head + " (r = -1)"});
        cases.push_back({{DevicePhase::WriteNibble, n, FaultKind::Corrupt},
                         TransferFailed,
                         head + " (r = " + std::to_string(flipped) + ")"});
        cases.push_back({{DevicePhase::WriteNibble, n, FaultKind::WrongAnswer, 'A'},
                         TransferFailed,
                         head + " (r = 65)"});
    }
    for (const KeyboardFaultCase& c : cases) {
        SCOPED_TRACE(testing::Message() << "index " << c.fault.index << ": " << c.message);
        KeyboardRig rig;
        rig.device.faults.push_back(c.fault);
        EXPECT_EQ(rig.write(image), c.result);
        ASSERT_EQ(rig.messages.size(), c.message.empty() ? 0u : 1u);
        EXPECT_EQ(rig.messages.empty() ? std::string() : rig.messages[0].text, c.message);
        expect_restored_after_write(rig);
    }
}

struct SerialFaultCase {
    DeviceFault fault;
    TransferResult result;
};

template <typename Transfer>
void run_serial_cases(const std::vector<SerialFaultCase>& cases, Transfer transfer) {
    for (const SerialFaultCase& c : cases) {
        SCOPED_TRACE(testing::Message()
                     << "phase " << static_cast<int>(c.fault.phase) << " index " << c.fault.index
                     << " kind " << static_cast<int>(c.fault.kind));
        VirtualClock clock;
        DeviceModel device;
        for (int i = 0; i < kImageSize; ++i)
            device.memory[i] = static_cast<uint8_t>(i);
        device.faults.push_back(c.fault);
        SimulatedSerialPort port(device, clock.clock());
        EXPECT_EQ(transfer(port.port(), device), c.result);
        EXPECT_FALSE(port.is_open);
        EXPECT_EQ(port.closes, 1);
        EXPECT_EQ(port.timeouts, (PortTimeouts{11, 22, 33}));
    }
}

TEST(FaultMatrix, SerialRead) {
    std::vector<SerialFaultCase> cases = {
        {{DevicePhase::SerialOpen, -1, FaultKind::Silent}, Ok},
        {{DevicePhase::SerialOpen, -1, FaultKind::WrongAnswer, '?'}, Ok},
        {{DevicePhase::SerialEnd, -1, FaultKind::Silent}, TransferFailed},
        {{DevicePhase::SerialEnd, -1, FaultKind::WrongAnswer, 'S'}, TransferFailed},
        {{DevicePhase::SerialEnd, -1, FaultKind::Late, 80}, TransferFailed},
        {{DevicePhase::SerialRead, -1, FaultKind::Late, 71}, Ok},
    };
    for (int address : {0, 1, 255, 256, 300, 511}) {
        cases.push_back({{DevicePhase::SerialRead, address, FaultKind::Silent}, TransferFailed});
        cases.push_back({{DevicePhase::SerialRead, address, FaultKind::Late, 73}, TransferFailed});
    }
    run_serial_cases(cases, [](const SerialPort& port, const DeviceModel& device) {
        DeviceImage image{};
        image.fill(0xCC);
        const TransferResult result = serial_read(port, image, {}, {});
        // Bytes before a failing address arrived; the rest were left alone.
        int i = 0;
        for (; i < kImageSize && image[i] == device.memory[i]; ++i) {
        }
        for (int k = i; k < kImageSize; ++k)
            EXPECT_EQ(image[k], 0xCC) << k;
        EXPECT_TRUE(result != Ok || i == kImageSize);
        return result;
    });
}

TEST(FaultMatrix, SerialWrite) {
    std::vector<SerialFaultCase> cases = {
        {{DevicePhase::SerialOpen, -1, FaultKind::Silent}, Ok},
        {{DevicePhase::SerialKeyword, -1, FaultKind::Silent}, TransferFailed},
        {{DevicePhase::SerialKeyword, -1, FaultKind::WrongAnswer, '!'}, TransferFailed},
        {{DevicePhase::SerialStore, -1, FaultKind::Silent}, TransferFailed},
        {{DevicePhase::SerialStore, -1, FaultKind::WrongAnswer, 'W'}, TransferFailed},
        {{DevicePhase::SerialEnd, -1, FaultKind::WrongAnswer, 'S'}, TransferFailed},
        {{DevicePhase::SerialEnd, -1, FaultKind::Silent}, TransferFailed},
    };
    for (int address : {0, 1, 255, 300, 511}) {
        cases.push_back({{DevicePhase::SerialWrite, address, FaultKind::Silent}, TransferFailed});
        cases.push_back(
            {{DevicePhase::SerialWrite, address, FaultKind::WrongAnswer, 'w'}, TransferFailed});
    }
    run_serial_cases(cases, [](const SerialPort& port, DeviceModel& device) {
        DeviceImage image;
        image.fill(0x3D);
        const TransferResult result = serial_write(port, image, {}, {});
        EXPECT_TRUE(result != Ok || device.take_completed_write());
        return result;
    });
}

} // namespace
} // namespace zq70::test
