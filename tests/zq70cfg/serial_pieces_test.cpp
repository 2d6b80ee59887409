// The pieces of zq70cfg's serial commands that need no device process: port names, the
// failure and verify texts, the interruption in front of the port, the probe, the series
// record and the progress line.
#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>

#include "device_probe.h"
#include "exit_codes.h"
#include "interruption.h"
#include "link/serial_transfer.h"
#include "link/transfer_report.h"
#include "output_file.h"
#include "port_name.h"
#include "progress_line.h"
#include "series_log.h"
#include "sim/simulated_serial_port.h"
#include "words/source.h"

namespace zq70cfg {

using namespace zq70::words;
namespace {

using zq70::DeviceImage;
using zq70::differing_addresses;
using zq70::Transfer;
using zq70::transfer_failure_text;
using zq70::verify_failure_text;

TEST(PortName, ComPortsOneTo256InEveryWindowsSpelling) {
    EXPECT_EQ(windows_device_of("COM1"), "\\\\.\\COM1");
    EXPECT_EQ(windows_device_of("com7"), "\\\\.\\COM7");
    EXPECT_EQ(windows_device_of("\\\\.\\COM12"), "\\\\.\\COM12");
    EXPECT_EQ(windows_device_of("\\\\.\\com12"), "\\\\.\\COM12");
    EXPECT_EQ(windows_device_of("COM256"), "\\\\.\\COM256");
    for (const char* bad : {"COM0", "COM257", "COM1000", "COM07", "COM", "COM7:", "COM-1", "COM 7",
                            "LPT1", "7", "", "/dev/ttyUSB0", "\\\\.\\", "\\\\?\\COM3"})
        EXPECT_EQ(windows_device_of(bad), "") << bad;
}

DeviceImage pattern() {
    DeviceImage image;
    for (int i = 0; i < zq70::kImageSize; ++i)
        image[i] = static_cast<uint8_t>(i * 7);
    return image;
}

TEST(VerifyText, NamesTheFirstAddressWithItsBytesThenTheOthers) {
    const DeviceImage wrote = pattern();
    DeviceImage read = wrote;
    EXPECT_EQ(verify_failure_text(wrote, read), "");

    read[300] = 0;
    EXPECT_EQ(verify_failure_text(wrote, read), "verify failed: 1 byte differs, at 300 (wrote "
                                                "0x34, read 0x00)");
    read[144] = static_cast<uint8_t>(~wrote[144]);
    read[145] ^= 1;
    EXPECT_EQ(differing_addresses(wrote, read), (std::vector<int>{144, 145, 300}));
    EXPECT_EQ(verify_failure_text(wrote, read),
              "verify failed: 3 bytes differ, first at 144 (wrote 0xF0, read 0x0F), 145, 300");

    // A device that kept nothing: the line stays one readable line.
    for (int i = 0; i < zq70::kImageSize; ++i)
        read[i] = static_cast<uint8_t>(~wrote[i]);
    const std::string all = verify_failure_text(wrote, read);
    EXPECT_EQ(all.rfind("verify failed: 512 bytes differ, first at 0 (wrote 0x00, read 0xFF), "
                        "1, 2, 3, 4, 5, 6, 7, ...",
                        0),
              0u)
        << all;
}

TEST(TransferReport, EachFailureHasItsLineAndCode) {
    EXPECT_EQ(transfer_failure_text(zq70::PortOpenFailed, Transfer::Read, "/dev/ttyUSB9")
                  .rfind("cannot open /dev/ttyUSB9 (", 0),
              0u);
    EXPECT_EQ(transfer_failure_text(zq70::TransferFailed, Transfer::Write, "COM3"),
              "error while writing to the ZQ70 (no answer or a wrong answer)");
    EXPECT_EQ(transfer_failure_text(zq70::TransferFailed, Transfer::Read, "COM3"),
              "error while reading from the ZQ70 (no answer or a wrong answer)");
    EXPECT_NE(transfer_failure_text(zq70::TransferFailed, Transfer::ReadBack, "COM3")
                  .find("reading back"),
              std::string::npos);
    EXPECT_EQ(exit_code_of(zq70::Ok), kExitOk);
    EXPECT_EQ(exit_code_of(zq70::PortOpenFailed), kExitPortOpenFailed);
    EXPECT_EQ(exit_code_of(zq70::TransferFailed), kExitTransferFailed);
    // Results the serial transport never gives still end in a failure code with a text.
    for (zq70::TransferResult other :
         {zq70::DeviceNotFound, zq70::InvalidHeader, zq70::NoGoodCombos}) {
        EXPECT_EQ(exit_code_of(other), kExitTransferFailed);
        EXPECT_NE(transfer_failure_text(other, Transfer::Write, "COM3"), "");
    }
}

struct ForgetInterruption {
    ~ForgetInterruption() { forget_interruption(); }
};

// A simulated device on a clock that moves only when someone sleeps.
struct DeviceRig {
    DeviceRig() : port(device, clock()), seam(port.port()) {}

    zq70::Clock clock() {
        return {[this] { return now; }, [this](int ms) { now += static_cast<uint32_t>(ms); }};
    }

    const ForgetInterruption guard;
    uint32_t now = 0;
    zq70::DeviceModel device;
    zq70::SimulatedSerialPort port;
    zq70::SerialPort seam;
};

TEST(Interruption, EndsTheTransferAfterTheCommandOnItsWayAndClosesThePort) {
    DeviceRig rig;
    // Ctrl+C arrives while the address of 'W' at 50 is being sent.
    zq70::SerialPort noting = rig.seam;
    int sent = 0;
    noting.send_byte = [&](uint8_t byte) {
        if (++sent == 2 + 4 * 50 + 2) note_interruption(2);
        rig.seam.send_byte(byte);
    };
    const DeviceImage image = pattern();
    EXPECT_EQ(zq70::serial_write(interruptible(noting), image, {}, {}), zq70::TransferFailed);
    EXPECT_TRUE(interrupted());
    EXPECT_EQ(interruption_exit_code(), 130);
    // 128, 'K', then 'W' for 0..50 whole, and nothing after.
    EXPECT_EQ(rig.port.sent.size(), 2u + 4 * 51);
    EXPECT_FALSE(rig.port.is_open);
    EXPECT_EQ(rig.port.closes, 1);

    // The device was left between commands: the next transfer is understood.
    forget_interruption();
    DeviceImage back{};
    EXPECT_EQ(zq70::serial_read(interruptible(rig.seam), back, {}, {}), zq70::Ok);
    for (int i = 0; i <= 50; ++i)
        ASSERT_EQ(back[i], image[i]) << i;
    EXPECT_EQ(back[51], 0);
}

TEST(Interruption, TheFirstSignalCountsAndAPauseEndsAtOnce) {
    const ForgetInterruption guard;
    EXPECT_TRUE(pause_unless_interrupted(1));
    note_interruption(15);
    note_interruption(2);
    EXPECT_EQ(interruption_exit_code(), 128 + 15);
    EXPECT_FALSE(pause_unless_interrupted(60000));
}

TEST(DeviceProbe, AnswersOnlyWhenTheDeviceDoes) {
    DeviceRig rig;
    EXPECT_TRUE(zq70::serial_probe(rig.seam));
    EXPECT_EQ(rig.port.sent, (std::vector<uint8_t>{128}));
    EXPECT_FALSE(rig.port.is_open);

    rig.device.silent = true;
    EXPECT_FALSE(zq70::serial_probe(rig.seam));
    rig.device.silent = false;
    rig.device.faults.push_back(
        {zq70::DevicePhase::SerialOpen, -1, zq70::FaultKind::WrongAnswer, '?'});
    EXPECT_FALSE(zq70::serial_probe(rig.seam));
    rig.device.faults.clear();
    rig.port.absent = true;
    EXPECT_FALSE(zq70::serial_probe(rig.seam));
    EXPECT_FALSE(rig.port.is_open);
}

TEST(DeviceProbe, OneLostAnswerDoesNotCountAsTheDeviceGone) {
    DeviceRig rig;
    // Present, one lost answer, present again, then gone for good.
    const std::vector<bool> answers = {true, false, true, false, false, false};
    size_t probes = 0;
    zq70::SerialPort flaky = rig.seam;
    flaky.open = [&] {
        rig.device.silent = probes < answers.size() ? !answers[probes] : true;
        ++probes;
        return rig.seam.open();
    };
    EXPECT_TRUE(wait_for_device(flaky, true));
    EXPECT_EQ(probes, 1u);
    EXPECT_TRUE(wait_for_device(flaky, false));
    EXPECT_EQ(probes, 5u) << "gone after two misses in a row, not after the first";

    note_interruption(2);
    EXPECT_FALSE(wait_for_device(flaky, true));
}

std::string temporary(const char* name) {
    return testing::TempDir() + name;
}

std::string contents(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

TEST(SeriesLog, TallyCountsInWords) {
    EXPECT_EQ(tally_text({1, 0, 1}), "1 device written, 0 verified, 1 failed");
    EXPECT_EQ(local_time_text(0).size(), std::string("1970-01-01 00:00:00").size());
}

TEST(SeriesLog, HeaderOnlyInANewLogAndRecordsAppended) {
    const std::string path = temporary("zq70cfg-series.csv");
    std::remove(path.c_str());
    EXPECT_TRUE(log_is_writable(path));
    ASSERT_TRUE(append_to_log(path, {"2026-12-09 10:14:03", 1, "written", "verified"}));
    ASSERT_TRUE(append_to_log(path, {"2026-12-09 10:14:09", 2, "failed", "-"}));
    const std::string expected = "time,device,result,verify\n"
                                 "2026-12-09 10:14:03,1,written,verified\n"
                                 "2026-12-09 10:14:09,2,failed,-\n";
    EXPECT_EQ(contents(path), expected);
    // A second series appends to the same log without a second header.
    ASSERT_TRUE(append_to_log(path, {"2026-12-10 08:00:00", 1, "written", "skipped"}));
    EXPECT_EQ(contents(path), expected + "2026-12-10 08:00:00,1,written,skipped\n");
    std::remove(path.c_str());

    const std::string nowhere = temporary("no-such-folder/series.csv");
    EXPECT_FALSE(log_is_writable(nowhere));
    EXPECT_FALSE(append_to_log(nowhere, {"2026-12-09 10:14:03", 1, "written", "verified"}));
}

TEST(ProgressLine, RewritesOneLineAndBlanksItAfterwards) {
    const std::string path = temporary("zq70cfg-progress.txt");
    std::FILE* out = std::fopen(path.c_str(), "wb");
    ASSERT_NE(out, nullptr);
    {
        ProgressLine line(true, out);
        const zq70::ProgressSink sink = line.sink("Verify: ");
        sink("Reading configuration - 10%");
        sink("Done");
        line.clear();
        line.clear();
        line.sink()("Writing configuration - 1%");
    }
    {
        ProgressLine hidden(false, out);
        EXPECT_FALSE(static_cast<bool>(hidden.sink()));
    }
    std::fclose(out);
    // A shorter text covers the rest of the longer one; clearing blanks what is there.
    EXPECT_EQ(contents(path), "\rVerify: Reading configuration - 10%"
                              "\rVerify: Done" +
                                  std::string(35 - 12, ' ') + "\r" + std::string(12, ' ') +
                                  "\r\rWriting configuration - 1%\r" + std::string(26, ' ') + "\r");
    std::remove(path.c_str());
}

TEST(OutputFile, TextNamesAndTheInputItself) {
    EXPECT_TRUE(names_text_file("panel.toml"));
    EXPECT_TRUE(names_text_file("dir.bin/Panel.TOML"));
    EXPECT_FALSE(names_text_file("panel.bin"));
    EXPECT_FALSE(names_text_file("dir.toml/panel"));
    EXPECT_FALSE(names_text_file("toml"));

    const std::string path = temporary("zq70cfg-same.bin");
    ASSERT_TRUE(write_output(path, "abc"));
    EXPECT_EQ(contents(path), "abc");
    EXPECT_TRUE(same_file(path, path));
    EXPECT_TRUE(same_file(path, temporary("./zq70cfg-same.bin")));
    EXPECT_FALSE(same_file(path, temporary("zq70cfg-other.bin")));
    std::remove(path.c_str());
}

} // namespace
} // namespace zq70cfg
