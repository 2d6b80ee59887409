// The POSIX serial back-end against zq70sim on a pseudo-terminal: real bytes, real time.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <fstream>
#include <termios.h>
#include <thread>
#include <unistd.h>

#include "link/serial_port_posix.h"
#include "link/serial_transfer.h"
#include "tests/support/random_bytes.h"
#include "tests/support/sim_process.h"

namespace zq70::test {
namespace {

SerialPort port_at(const std::string& path) {
    return make_posix_serial_port(path);
}

TransferResult read_image(const std::string& path, DeviceImage& image) {
    return serial_read(port_at(path), image, {}, {});
}

TransferResult write_image(const std::string& path, const DeviceImage& image) {
    return serial_write(port_at(path), image, {}, {});
}

std::string temporary_path(const char* name) {
    return testing::TempDir() + name + std::to_string(getpid());
}

TEST(PosixSerial, WriteThenReadBackEveryByteAndKeepTheMemory) {
    const std::string memory = temporary_path("zq70sim-memory-");
    unlink(memory.c_str());
    const DeviceImage image = random_bytes(1);
    {
        SimProcess sim({"--memory", memory});
        ASSERT_FALSE(sim.path().empty());
        std::vector<std::string> progress;
        int pumps = 0;
        EXPECT_EQ(serial_write(
                      port_at(sim.path()), image,
                      [&](const std::string& text) { progress.push_back(text); },
                      [&](int ms) {
                          ++pumps;
                          std::this_thread::sleep_for(std::chrono::milliseconds(ms));
                      }),
                  Ok);
        EXPECT_EQ(pumps, 512);
        EXPECT_EQ(progress.size(), 99u);
        // Closed and opened again: the terminal still works.
        DeviceImage back{};
        EXPECT_EQ(read_image(sim.path(), back), Ok);
        EXPECT_EQ(back, image);
        EXPECT_EQ(sim.stop(), 0);
    }
    // The memory file outlives the simulator and is loaded by the next one.
    std::ifstream file(memory, std::ios::binary);
    DeviceImage saved{};
    file.read(reinterpret_cast<char*>(saved.data()), saved.size());
    EXPECT_EQ(file.gcount(), 512);
    EXPECT_EQ(saved, image);
    SimProcess again({"--memory", memory});
    DeviceImage back{};
    EXPECT_EQ(read_image(again.path(), back), Ok);
    EXPECT_EQ(back, image);
    unlink(memory.c_str());
}

TEST(PosixSerial, DeviceFaults) {
    const DeviceImage image = random_bytes(2);
    DeviceImage back{};
    {
        SimProcess silent({"--silent"});
        EXPECT_EQ(read_image(silent.path(), back), TransferFailed);
        EXPECT_EQ(write_image(silent.path(), image), TransferFailed);
    }
    {
        SimProcess wrong_keyword({"--wrong-answer", "K=33", "--log", temporary_path("k-log-")});
        EXPECT_EQ(write_image(wrong_keyword.path(), image), TransferFailed);
        // Nothing was written: a read gives back the all-zero memory.
        DeviceImage zero{};
        EXPECT_EQ(read_image(wrong_keyword.path(), back), Ok);
        EXPECT_EQ(back, zero);
    }
    {
        SimProcess wrong_store({"--wrong-answer", "S"});
        EXPECT_EQ(write_image(wrong_store.path(), image), TransferFailed);
        EXPECT_EQ(read_image(wrong_store.path(), back), Ok);
        EXPECT_EQ(back, image) << "all 512 bytes were written before 'S'";
    }
    {
        SimProcess missing({"--no-answer-at", "300"});
        EXPECT_EQ(write_image(missing.path(), image), TransferFailed);
        back.fill(0);
        EXPECT_EQ(read_image(missing.path(), back), TransferFailed);
        for (int i = 0; i < 300; ++i)
            ASSERT_EQ(back[i], image[i]) << i;
        EXPECT_EQ(back[300], 0);
    }
    {
        // An answer later than the 72 ms limit of a one-byte read is none.
        SimProcess slow({"--answer-delay", "100"});
        EXPECT_EQ(write_image(slow.path(), image), TransferFailed);
    }
}

TEST(PosixSerial, PortAbsentOrInUse) {
    DeviceImage image{};
    EXPECT_EQ(read_image("/dev/zq70-no-such-port", image), PortOpenFailed);
    EXPECT_EQ(write_image("/dev/zq70-no-such-port", image), PortOpenFailed);

    SimProcess sim({});
    const SerialPort holder = port_at(sim.path());
    ASSERT_TRUE(holder.open());
    EXPECT_EQ(read_image(sim.path(), image), PortOpenFailed);
    holder.close();
    EXPECT_EQ(read_image(sim.path(), image), Ok);
}

TEST(PosixSerial, ReadTimeOutsArePutBack) {
    SimProcess sim({"--wrong-answer", "237"});
    const int fd = open(sim.path().c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    termios before{};
    ASSERT_EQ(tcgetattr(fd, &before), 0);
    before.c_cc[VMIN] = 3;
    before.c_cc[VTIME] = 7;
    ASSERT_EQ(tcsetattr(fd, TCSANOW, &before), 0);
    DeviceImage image{};
    EXPECT_EQ(read_image(sim.path(), image), TransferFailed);
    termios after{};
    ASSERT_EQ(tcgetattr(fd, &after), 0);
    EXPECT_EQ(after.c_cc[VMIN], 3);
    EXPECT_EQ(after.c_cc[VTIME], 7);
    // The line keeps 9600 8N1 after the call.
    EXPECT_EQ(cfgetospeed(&after), B9600);
    EXPECT_EQ(after.c_cflag & (CSIZE | PARENB | CSTOPB), static_cast<tcflag_t>(CS8));
    close(fd);
}

TEST(Zq70sim, HelpAndBadOptions) {
    const std::string command = std::string(ZQ70SIM_PATH);
    EXPECT_EQ(system((command + " --help | grep -q -- --wine-prefix").c_str()), 0);
    EXPECT_NE(system((command + " --wrong-answer X 2>/dev/null").c_str()), 0);
    EXPECT_NE(system((command + " --com 3 2>/dev/null").c_str()), 0);
}

} // namespace
} // namespace zq70::test
