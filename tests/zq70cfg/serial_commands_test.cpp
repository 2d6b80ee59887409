// zq70cfg read and write against zq70sim on a pseudo-terminal: the real program, the real
// simulator, real bytes and real time.
#include <gtest/gtest.h>

#include <csignal>
#include <fstream>
#include <iterator>
#include <thread>
#include <unistd.h>

#include "cfg_process.h"
#include "config/image.h"
#include "link/serial_port_posix.h"
#include "tests/support/sim_process.h"
#include "version.h"

namespace zq70cfg::test {
namespace {

using zq70::test::SimProcess;

// The 512 bytes that panel.toml encodes to, as zq70cfg import makes them.
const std::string& panel_image() {
    static const std::string image = [] {
        const std::string path = testing::TempDir() + "zq70cfg-panel-" + std::to_string(getpid());
        const Finished run = run_cfg({"import", kPanel, "-o", path});
        EXPECT_EQ(run.code, 0) << run.err;
        std::string bytes = contents(path);
        unlink(path.c_str());
        return bytes;
    }();
    return image;
}

std::string hex(uint8_t byte) {
    char text[8];
    std::snprintf(text, sizeof text, "0x%02X", byte);
    return text;
}

// Waits until a file holds text (the simulator's log or memory), at most timeout_ms.
bool file_holds(const std::string& path, const std::string& text, int timeout_ms) {
    for (int waited = 0; waited < timeout_ms; waited += 10) {
        if (contents(path).find(text) != std::string::npos) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

TEST(SerialCommands, ReadSavesTheDevicesMemoryAsImageOrText) {
    ASSERT_EQ(panel_image().size(), 512u);
    const std::string memory = temporary("memory");
    put(memory, panel_image());
    SimProcess sim({"--memory", memory});
    const std::string image = temporary("read.bin");
    Finished run = run_cfg({"read", "--port", sim.path(), "-o", image});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(contents(image), panel_image());
    EXPECT_EQ(run.out, "Read the ZQ70 on " + sim.path() + " into " + image + "\n");
    EXPECT_EQ(run.err, "") << "no progress litter when standard error is no terminal";
    EXPECT_LT(run.seconds, 5.0);

    const std::string text = temporary("read.toml");
    run = run_cfg({"read", "--port", sim.path(), "-o", text});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(contents(text).rfind("# ZQ70 configuration", 0), 0u);
    EXPECT_EQ(run_cfg({"diff", text, kPanel}).code, 0);
    for (const std::string& path : {memory, image, text})
        unlink(path.c_str());
}

TEST(SerialCommands, ReadOfAMemoryThatIsNoConfigurationKeepsTheBytes) {
    const std::string memory = temporary("memory");
    const std::string garbage(512, '\xEE');
    put(memory, garbage);
    SimProcess sim({"--memory", memory});
    const std::string image = temporary("read.bin");
    Finished run = run_cfg({"read", "--port", sim.path(), "-o", image});
    EXPECT_EQ(run.code, 3);
    EXPECT_NE(run.err.find("no valid configuration"), std::string::npos) << run.err;
    EXPECT_EQ(contents(image), garbage);

    const std::string text = temporary("read.toml");
    put(text, "kept");
    run = run_cfg({"read", "--port", sim.path(), "-o", text});
    EXPECT_EQ(run.code, 3);
    EXPECT_EQ(contents(text), "kept");
    for (const std::string& path : {memory, image, text})
        unlink(path.c_str());
}

TEST(SerialCommands, WriteStoresTheImageAndVerifiesIt) {
    const std::string memory = temporary("memory");
    unlink(memory.c_str());
    SimProcess sim({"--memory", memory});
    const Finished run = run_cfg({"write", "--port", sim.path(), kPanel});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "Written to the ZQ70 on " + sim.path() + " and verified\n");
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(contents(memory), panel_image());
    EXPECT_LT(run.seconds, 8.0);
    unlink(memory.c_str());
}

TEST(SerialCommands, ProgressRewritesOneLineOnATerminal) {
    SimProcess sim({});
    CfgProcess write({"write", "--port", sim.path(), kPanel}, true);
    ASSERT_EQ(write.finish(20000), 0) << write.err();
    const std::string& err = write.err();
    EXPECT_NE(err.find("\rWriting configuration - 1%"), std::string::npos);
    EXPECT_NE(err.find("\rWriting configuration - 99%"), std::string::npos);
    EXPECT_NE(err.find("\rVerify: Reading configuration - 50%"), std::string::npos);
    EXPECT_EQ(err.find('\n'), std::string::npos) << "one line, rewritten";
    // The line is blanked at the end, so the shell prompt starts clean.
    ASSERT_FALSE(err.empty());
    EXPECT_EQ(err.back(), '\r');
    EXPECT_EQ(err.substr(err.rfind('\r', err.size() - 2) + 1).find_first_not_of(" \r"),
              std::string::npos);
}

TEST(SerialCommands, VerifyFindsTheCellThatReadsBackWrong) {
    SimProcess sim({"--bad-cell-at", "144"});
    const uint8_t wrote = static_cast<uint8_t>(panel_image()[144]);
    Finished run = run_cfg({"write", "--port", sim.path(), kPanel});
    EXPECT_EQ(run.code, 7);
    EXPECT_EQ(run.err, "zq70cfg: verify failed: 1 byte differs, at 144 (wrote " + hex(wrote) +
                           ", read " + hex(static_cast<uint8_t>(~wrote)) + ")\n");
    EXPECT_EQ(run.out, "");
    // Without the read-back the same device passes: the echo of every byte was right.
    run = run_cfg({"write", "--port", sim.path(), kPanel, "--no-verify"});
    EXPECT_EQ(run.code, 0) << run.err;
    EXPECT_EQ(run.out, "Written to the ZQ70 on " + sim.path() + " (not verified)\n");
}

TEST(SerialCommands, ASilentDeviceFailsQuicklyAndLeavesTheOutputAlone) {
    SimProcess sim({"--silent"});
    const std::string output = temporary("out.bin");
    put(output, "kept");
    Finished run = run_cfg({"read", "--port", sim.path(), "-o", output});
    EXPECT_EQ(run.code, 6);
    EXPECT_EQ(run.err,
              "zq70cfg: error while reading from the ZQ70 (no answer or a wrong answer)\n");
    EXPECT_LT(run.seconds, 1.5);
    EXPECT_EQ(contents(output), "kept");

    run = run_cfg({"write", "--port", sim.path(), kPanel});
    EXPECT_EQ(run.code, 6);
    EXPECT_EQ(run.err, "zq70cfg: error while writing to the ZQ70 (no answer or a wrong answer)\n");
    EXPECT_LT(run.seconds, 1.5);
    unlink(output.c_str());
}

TEST(SerialCommands, APortThatCannotBeOpened) {
    const std::string output = temporary("out.bin");
    Finished run = run_cfg({"read", "--port", "/dev/zq70-no-such-port", "-o", output});
    EXPECT_EQ(run.code, 5);
    EXPECT_EQ(run.err.rfind("zq70cfg: cannot open /dev/zq70-no-such-port (", 0), 0u) << run.err;
    EXPECT_EQ(access(output.c_str(), F_OK), -1) << "no file for a failed read";
    // Not a serial port at all.
    EXPECT_EQ(run_cfg({"write", "--port", "/dev/null", kPanel}).code, 5);

    // In use by another program.
    SimProcess sim({});
    const zq70::SerialPort holder = zq70::make_posix_serial_port(sim.path());
    ASSERT_TRUE(holder.open());
    run = run_cfg({"write", "--port", sim.path(), kPanel});
    EXPECT_EQ(run.code, 5);
    EXPECT_EQ(run.err.rfind("zq70cfg: cannot open " + sim.path(), 0), 0u) << run.err;
    holder.close();
}

TEST(SerialCommands, WhatTheEncoderRefusesNeverReachesThePort) {
    const std::string log = temporary("sim.log");
    unlink(log.c_str());
    SimProcess sim({"--log", log});
    // The first two columns on one pin: the decoder takes it, the encoder does not.
    std::string doubled = panel_image();
    doubled[zq70::kPinListOffset + 1] = doubled[zq70::kPinListOffset];
    const std::string image = temporary("doubled.bin");
    put(image, doubled);
    Finished run = run_cfg({"write", "--port", sim.path(), image});
    EXPECT_EQ(run.code, 3);
    EXPECT_NE(run.err.find("multiple scan lines"), std::string::npos) << run.err;

    const std::string text = temporary("broken.toml");
    put(text, "[layout]\nrows = \n");
    run = run_cfg({"write", "--port", sim.path(), text});
    EXPECT_EQ(run.code, 3);
    EXPECT_EQ(run.err.rfind("zq70cfg: " + text + ":2:", 0), 0u) << run.err;
    EXPECT_EQ(run_cfg({"write", "--port", sim.path(), temporary("missing.toml")}).code, 3);
    EXPECT_EQ(contents(log).find("<-"), std::string::npos) << "no byte was sent";
    for (const std::string& path : {log, image, text})
        unlink(path.c_str());
}

TEST(SerialCommands, CtrlCStopsAWriteAndLeavesThePortClosedAndTheDeviceInStep) {
    const std::string memory = temporary("memory");
    const std::string log = temporary("sim.log");
    const std::string before(512, '\x11');
    put(memory, before);
    unlink(log.c_str());
    SimProcess sim({"--memory", memory, "--log", log});
    CfgProcess write({"write", "--port", sim.path(), kPanel});
    // A few hundred bytes into the write ('W' at address 256 is "W 1 0").
    ASSERT_TRUE(file_holds(log, "<-  87 0x57\n<-   1 0x01\n<-   0 0x00\n", 10000));
    write.signal(SIGINT);
    EXPECT_EQ(write.finish(5000), 130) << write.err();
    EXPECT_LT(write.seconds_after_signal(), 0.5);
    EXPECT_EQ(write.err(), "zq70cfg: interrupted while writing: the ZQ70 may hold a partly "
                           "written configuration; write it again\n");
    EXPECT_EQ(contents(memory), before) << "an unfinished write is not stored";

    // The port was given back at once, and the device was not left inside a command.
    const zq70::SerialPort port = zq70::make_posix_serial_port(sim.path());
    ASSERT_TRUE(port.open());
    port.close();
    const std::string back = temporary("back.bin");
    const Finished read_back = run_cfg({"read", "--port", sim.path(), "-o", back});
    EXPECT_EQ(read_back.code, 3) << "half the panel, half 0x11: no configuration";
    const std::string bytes = contents(back);
    ASSERT_EQ(bytes.size(), 512u);
    EXPECT_EQ(bytes.substr(0, 256), panel_image().substr(0, 256));
    EXPECT_EQ(bytes.back(), '\x11');
    for (const std::string& path : {memory, log, back})
        unlink(path.c_str());
}

// One device after another: each is written when it answers, and the next one is awaited
// once it has gone. zq70sim's signals unplug its device and plug a new one in.
TEST(SerialCommands, SeriesProgramsEveryDevicePluggedInAndTalliesAtCtrlC) {
    const std::string memory = temporary("memory");
    const std::string log = temporary("series.csv");
    unlink(memory.c_str());
    unlink(log.c_str());
    SimProcess sim({"--unplugged", "--fresh-memory", "--memory", memory});
    CfgProcess series({"write", "--port", sim.path(), kPanel, "--repeat", "--log", log});
    // Nothing on the line yet: the series waits.
    EXPECT_FALSE(series.wait_for(Stream::Out, "#1", 1000)) << series.out();
    kill(sim.pid(), SIGUSR2);
    ASSERT_TRUE(series.wait_for(Stream::Out, "  #1  written  verified\n", 15000)) << series.err();
    EXPECT_EQ(contents(memory), panel_image());

    kill(sim.pid(), SIGUSR1);
    ASSERT_TRUE(series.wait_for(Stream::Err, "ZQ70 #1 removed", 5000)) << series.err();
    kill(sim.pid(), SIGUSR2); // a new device, its memory all 0
    ASSERT_TRUE(series.wait_for(Stream::Out, "  #2  written  verified\n", 15000)) << series.err();
    EXPECT_EQ(contents(memory), panel_image());
    ASSERT_TRUE(series.wait_for(Stream::Err, "Take ZQ70 #2 off", 5000));

    series.signal(SIGINT);
    EXPECT_EQ(series.finish(3000), 0) << series.err();
    EXPECT_LT(series.seconds_after_signal(), 1.0);
    const std::string out = series.out();
    EXPECT_EQ(out.substr(out.rfind('\n', out.size() - 2) + 1),
              "2 devices written, 2 verified, 0 failed\n");
    // Lines and log agree, device by device.
    const std::string csv = contents(log);
    EXPECT_EQ(csv.rfind("time,device,result,verify\n", 0), 0u) << csv;
    EXPECT_NE(csv.find(",1,written,verified\n"), std::string::npos) << csv;
    EXPECT_NE(csv.find(",2,written,verified\n"), std::string::npos) << csv;
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 3);
    unlink(memory.c_str());
    unlink(log.c_str());
}

TEST(SerialCommands, SeriesReportsAFailedDeviceAndGoesOnWithTheNext) {
    SimProcess sim({"--fresh-memory", "--bad-cell-at", "300"});
    CfgProcess series({"write", "--port", sim.path(), kPanel, "--repeat"});
    ASSERT_TRUE(series.wait_for(Stream::Out, "  #1  written  mismatch\n", 15000)) << series.err();
    EXPECT_NE(series.err().find("zq70cfg: #1: verify failed: 1 byte differs, at 300"),
              std::string::npos)
        << series.err();
    kill(sim.pid(), SIGUSR1);
    ASSERT_TRUE(series.wait_for(Stream::Err, "ZQ70 #1 removed", 5000)) << series.err();
    kill(sim.pid(), SIGUSR2);
    ASSERT_TRUE(series.wait_for(Stream::Out, "  #2  written  mismatch\n", 15000)) << series.err();
    ASSERT_TRUE(series.wait_for(Stream::Err, "Take ZQ70 #2 off", 5000));
    series.signal(SIGINT);
    EXPECT_EQ(series.finish(3000), 9);
    EXPECT_NE(series.out().find("2 devices written, 0 verified, 2 failed\n"), std::string::npos)
        << series.out();
}

TEST(Zq70sim, VersionAndADeviceThatComesAndGoes) {
    const std::string version = std::string(ZQ70SIM_PATH) + " --version";
    std::FILE* out = popen(version.c_str(), "r");
    char line[64] = "";
    ASSERT_NE(std::fgets(line, sizeof line, out), nullptr);
    pclose(out);
    EXPECT_EQ(std::string(line), "zq70sim " ZQ70_VERSION "\n");

    SimProcess sim({"--unplugged"});
    const std::string output = temporary("out.bin");
    EXPECT_EQ(run_cfg({"read", "--port", sim.path(), "-o", output}).code, 6);
    kill(sim.pid(), SIGUSR2);
    EXPECT_EQ(run_cfg({"write", "--port", sim.path(), kPanel}).code, 0);
    kill(sim.pid(), SIGUSR1);
    EXPECT_EQ(run_cfg({"write", "--port", sim.path(), kPanel}).code, 6);
    // Without --fresh-memory the same device comes back with what it held.
    kill(sim.pid(), SIGUSR2);
    EXPECT_EQ(run_cfg({"read", "--port", sim.path(), "-o", output}).code, 0);
    EXPECT_EQ(contents(output), panel_image());
    unlink(output.c_str());
}

} // namespace
} // namespace zq70cfg::test
