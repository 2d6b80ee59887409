// zq70cfg on a programming bench with many ports, and zq70cfg ports, against zq70sim
// instances on pseudo-terminals: the real program, real bytes, real time.
#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <unistd.h>

#include "cfg_process.h"
#include "link/serial_port_posix.h"
#include "tests/support/sim_process.h"
#include "tests/support/temporary_folder.h"

namespace zq70cfg::test {
namespace {

namespace fs = std::filesystem;
using zq70::test::SimProcess;
using zq70::test::TemporaryFolder;

constexpr int kDeviceMs = 30000; // a generous limit for one device on a busy machine

size_t count(const std::string& text, const std::string& part) {
    size_t found = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++found;
    return found;
}

// The line "PORT: TIME  #n  RESULT  VERIFY" of a port's device n, once it has come; "" when
// it has not within kDeviceMs. Whatever its result: on a machine loaded enough a device can
// miss the protocol's 72 ms answer time, and these tests are about the ports, not the line.
std::string record_of(CfgProcess& series, const std::string& port, int number,
                      int timeout_ms = kDeviceMs) {
    const std::string mark = "  #" + std::to_string(number) + "  ";
    for (int waited = 0;; waited += 100) {
        size_t at = 0;
        const std::string& out = series.out();
        for (size_t end; (end = out.find('\n', at)) != std::string::npos; at = end + 1) {
            const std::string line = out.substr(at, end - at);
            if (line.rfind(port + ": ", 0) == 0 && line.find(mark) != std::string::npos)
                return line;
        }
        if (waited >= timeout_ms) return "";
        series.wait_for(Stream::Out, "\x01", 100); // reads what comes meanwhile
    }
}

// "PORT: 2 devices written, 2 verified, 0 failed" as numbers.
struct TallyLine {
    int written = -1;
    int verified = -1;
    int failed = -1;
};
TallyLine tally_of(const std::string& out, const std::string& prefix) {
    TallyLine tally;
    // The tallies come last, after the port's device lines.
    const size_t at = out.rfind("\n" + prefix + ": ");
    if (at == std::string::npos) return tally;
    const std::string line = out.substr(at + prefix.size() + 3);
    char word[16];
    std::sscanf(line.c_str(), "%d %15s written, %d verified, %d failed", &tally.written, word,
                &tally.verified, &tally.failed);
    return tally;
}

// Three ports at once. The first is reached through a link, as /dev/serial/by-id names an
// adapter: removing the link is the adapter unplugged, putting it back plugs it in again.
TEST(ManyPorts, EachPortRunsItsOwnSeriesAndOnePortsTroubleNeverStopsTheOthers) {
    const TemporaryFolder folder;
    SimProcess first({"--fresh-memory"});
    SimProcess bad({"--fresh-memory", "--bad-cell-at", "144"});
    SimProcess third({"--fresh-memory"});
    const std::string adapter = folder.path("usb-ZQ70_bench_A1-if00-port0");
    fs::create_symlink(first.path(), adapter);
    const std::string log = folder.path("series.csv");
    put(log, "time,device,result,verify\n2026-12-01 09:00:00,1,written,verified\n");

    CfgProcess series({"write", "--port", adapter, "--port", bad.path(), "--port", third.path(),
                       kPanel, "--repeat", "--log", log});
    ASSERT_NE(record_of(series, adapter, 1), "") << series.err();
    const std::string failed = record_of(series, bad.path(), 1);
    ASSERT_NE(failed, "") << series.err();
    ASSERT_NE(record_of(series, third.path(), 1), "") << series.err();
    EXPECT_EQ(series.err().rfind("Programming a series on 3 ports", 0), 0u) << series.err();
    // The bad cell fails its port's device, and says so with the port in front.
    EXPECT_EQ(failed.find("verified"), std::string::npos) << failed;
    EXPECT_NE(series.err().find("zq70cfg: " + bad.path() + ": #1: "), std::string::npos)
        << series.err();

    // The adapter goes away with its device: the port is watched until it is back.
    fs::remove(adapter);
    ASSERT_TRUE(series.wait_for(Stream::Err, adapter + ": the port is gone", kDeviceMs))
        << series.err();
    ASSERT_TRUE(series.wait_for(Stream::Err, adapter + ": ZQ70 #1 removed", kDeviceMs));
    // Meanwhile the third port takes its next device.
    kill(third.pid(), SIGUSR1);
    ASSERT_TRUE(series.wait_for(Stream::Err, third.path() + ": ZQ70 #1 removed", kDeviceMs));
    kill(third.pid(), SIGUSR2);
    ASSERT_NE(record_of(series, third.path(), 2), "") << series.err();
    EXPECT_EQ(record_of(series, adapter, 2, 0), "") << "no device while the adapter is gone";
    fs::create_symlink(first.path(), adapter);
    ASSERT_TRUE(series.wait_for(Stream::Err, adapter + ": the port is back", kDeviceMs));
    ASSERT_NE(record_of(series, adapter, 2), "") << series.err();
    EXPECT_EQ(count(series.err(), adapter + ": the port is gone"), 1u) << series.err();

    series.signal(SIGINT);
    EXPECT_EQ(series.finish(10000), 9) << series.err();
    const std::string out = series.out();
    // A tally for each port, and in all their sum.
    TallyLine all{0, 0, 0};
    for (const std::string& port : {adapter, bad.path(), third.path()}) {
        const TallyLine tally = tally_of(out, port);
        EXPECT_GE(tally.written, 0) << port << "\n" << out;
        all = {all.written + tally.written, all.verified + tally.verified,
               all.failed + tally.failed};
    }
    EXPECT_EQ(tally_of(out, "In all").written, all.written) << out;
    EXPECT_EQ(tally_of(out, "In all").verified, all.verified) << out;
    EXPECT_EQ(tally_of(out, "In all").failed, all.failed) << out;
    EXPECT_EQ(tally_of(out, bad.path()).verified, 0) << out;
    EXPECT_EQ(out.substr(out.rfind('\n', out.size() - 2) + 1).rfind("In all: ", 0), 0u) << out;

    // The old log gained the port column; its first line kept its four fields; every
    // device has its line with its port.
    const std::string csv = contents(log);
    EXPECT_EQ(
        csv.rfind("time,device,result,verify,port\n2026-12-01 09:00:00,1,written,verified\n", 0),
        0u)
        << csv;
    EXPECT_EQ(count(csv, "," + adapter + "\n"), 2u) << csv;
    EXPECT_EQ(count(csv, "," + third.path() + "\n"), 2u) << csv;
    EXPECT_EQ(count(csv, "," + bad.path() + "\n"), 1u) << csv;
    EXPECT_EQ(count(csv, ",verified," + bad.path() + "\n"), 0u) << csv;
}

TEST(ManyPorts, OnATerminalOneTableIsRedrawnInPlace) {
    SimProcess first({});
    SimProcess second({});
    CfgProcess series(
        {"write", "--port", first.path(), "--port", second.path(), kPanel, "--repeat"}, true);
    // Standard output is no terminal here: it still gets a line per device.
    ASSERT_NE(record_of(series, first.path(), 1), "") << series.err();
    ASSERT_NE(record_of(series, second.path(), 1), "") << series.err();
    ASSERT_TRUE(series.wait_for(Stream::Err, "#1 ", kDeviceMs)) << series.err();
    series.signal(SIGINT);
    const int code = series.finish(10000);
    EXPECT_TRUE(code == 0 || code == 9) << code << series.err();
    const std::string& err = series.err();
    EXPECT_NE(err.find("PORT"), std::string::npos) << err;
    EXPECT_NE(err.find("writing "), std::string::npos) << err;
    EXPECT_NE(err.find("\x1b[4A"), std::string::npos) << "header, two ports, footer, redrawn";
    const std::string last = err.substr(err.rfind("\x1b[4A"));
    EXPECT_EQ(count(last, "stopped"), 2u) << last;
    for (const std::string& port : {first.path(), second.path()}) {
        const size_t row = last.find("\r" + port + " ");
        ASSERT_NE(row, std::string::npos) << last;
        const std::string line = last.substr(row, last.find('\n', row) - row);
        EXPECT_NE(line.find("stopped          #1 "), std::string::npos) << line;
    }
    EXPECT_NE(last.find("In all: "), std::string::npos) << last;
    EXPECT_EQ(err.find("zq70cfg:"), std::string::npos) << "no plain lines under the table";
    EXPECT_NE(series.out().find("In all: "), std::string::npos);
}

// Ctrl+C while every port is in the middle of a write: each finishes the command on its
// way, gives its port back and reports the device as interrupted; the tallies follow.
TEST(ManyPorts, CtrlCLetsEveryPortFinishItsCommandAndClosesThemAll) {
    const TemporaryFolder folder;
    std::vector<std::string> logs = {folder.path("first.log"), folder.path("second.log")};
    SimProcess first({"--log", logs[0]});
    SimProcess second({"--log", logs[1]});
    CfgProcess series(
        {"write", "--port", first.path(), "--port", second.path(), kPanel, "--repeat"});
    // Both a few commands into their write ('W' at address 8 is "W 0 8").
    for (const std::string& log : logs) {
        bool writing = false;
        for (int waited = 0; !writing && waited < kDeviceMs; waited += 20) {
            writing =
                contents(log).find("<-  87 0x57\n<-   0 0x00\n<-   8 0x08\n") != std::string::npos;
            series.wait_for(Stream::Out, "\x01", 20);
        }
        ASSERT_TRUE(writing) << log << "\n" << series.err();
    }
    series.signal(SIGINT);
    EXPECT_EQ(series.finish(10000), 130) << series.err();
    EXPECT_LT(series.seconds_after_signal(), 2.0);
    const std::string err = series.err();
    EXPECT_NE(err.find(": #1: interrupted while writing"), std::string::npos) << err;
    EXPECT_NE(series.out().find("In all: "), std::string::npos) << series.out();
    for (const std::string& port : {first.path(), second.path()}) {
        EXPECT_GE(tally_of(series.out(), port).written, 0) << series.out();
        const zq70::SerialPort again = zq70::make_posix_serial_port(port);
        EXPECT_TRUE(again.open()) << port << " was given back";
        again.close();
    }
    // Every command sent went out whole: no 'W' without its address and value.
    for (const std::string& log : logs) {
        const std::string bytes = contents(log);
        const size_t last_w = bytes.rfind("<-  87 0x57\n");
        ASSERT_NE(last_w, std::string::npos);
        EXPECT_EQ(count(bytes.substr(last_w), "<-"), 4u) << bytes.substr(last_w);
    }
}

TEST(ManyPorts, PatternsAndWhatTheyNeed) {
    const TemporaryFolder folder;
    SimProcess sim({});
    fs::create_symlink(sim.path(), folder.path("ttyZQ1"));
    fs::create_symlink(sim.path(), folder.path("ttyZQ2"));
    // Several ports are only programmed as a series.
    Finished run = run_cfg({"write", "--port", folder.path("ttyZQ*"), kPanel});
    EXPECT_EQ(run.code, 2);
    EXPECT_NE(run.err.find("add --repeat"), std::string::npos) << run.err;
    run = run_cfg({"write", "--port", folder.path("ttyXY*"), kPanel, "--repeat"});
    EXPECT_EQ(run.code, 5);
    EXPECT_EQ(run.err, "zq70cfg: no serial port matches '" + folder.path("ttyXY*") + "'\n");
    run = run_cfg({"write", "--port", folder.root + "/*/ttyZQ1", kPanel, "--repeat"});
    EXPECT_EQ(run.code, 2);
    // One pattern that matches one port is a single port's series.
    CfgProcess one({"write", "--port", folder.path("ttyZQ1*"), kPanel, "--repeat"});
    ASSERT_TRUE(one.wait_for(Stream::Out, "  #1  ", kDeviceMs)) << one.err();
    EXPECT_EQ(one.out().rfind("20", 0), 0u) << "no port in front: " << one.out();
    one.signal(SIGINT);
    const int code = one.finish(10000);
    EXPECT_TRUE(code == 0 || code == 9) << code;
}

// A fake sysfs and /dev: the USB adapter's details are read from the USB device above its
// tty, the legacy ttyS port without a UART and the virtual terminals are left out, and the
// device nodes are links to zq70sim's terminals, so that --probe talks to real simulators.
struct FakeSystem {
    TemporaryFolder folder;
    std::string sys = folder.path("sys");
    std::string dev = folder.path("dev");

    void file(const std::string& path, const std::string& text) {
        fs::create_directories(fs::path(path).parent_path());
        put(path, text + "\n");
    }
    void tty(const std::string& name, const std::string& device_folder) {
        const std::string entry = sys + "/class/tty/" + name;
        fs::create_directories(entry);
        if (device_folder.empty()) return;
        fs::create_directories(sys + "/devices/" + device_folder);
        fs::create_symlink("../../../devices/" + device_folder, entry + "/device");
    }
    void usb_device(const std::string& folder_name, const std::string& vendor,
                    const std::string& product_id, const std::string& maker,
                    const std::string& product, const std::string& serial) {
        const std::string usb = sys + "/devices/" + folder_name;
        file(usb + "/idVendor", vendor);
        file(usb + "/idProduct", product_id);
        file(usb + "/manufacturer", maker);
        file(usb + "/product", product);
        if (!serial.empty()) file(usb + "/serial", serial);
    }
};

TEST(PortsCommand, ListsThePortsWithTheirUsbDetailsAndProbesThemWithoutTakingABusyOne) {
    FakeSystem system;
    const std::string held_log = system.folder.path("held.log");
    SimProcess answering({});
    SimProcess silent({"--silent"});
    SimProcess held({"--log", held_log});
    system.usb_device("pci0/usb1/1-1", "0403", "6001", "FTDI", "FT232R USB UART", "A50285BI");
    system.tty("ttyUSB0", "pci0/usb1/1-1/1-1:1.0/ttyUSB0");
    system.usb_device("pci0/usb1/1-2", "2341", "0043", "Arduino (www.arduino.cc)", "Uno", "");
    system.tty("ttyACM0", "pci0/usb1/1-2/1-2:1.0");
    system.tty("ttyS0", "pnp0/00:01/00:01:0/00:01:0.0");
    system.file(system.sys + "/class/tty/ttyS0/type", "4");
    system.tty("ttyS1", "platform/serial8250/serial8250:0/serial8250:0.1");
    system.file(system.sys + "/class/tty/ttyS1/type", "0");
    system.tty("tty0", "");
    system.tty("ttyUSB5", "pci0/usb1/1-3/1-3:1.0/ttyUSB5"); // no device node
    fs::create_directories(system.dev + "/serial/by-id");
    fs::create_symlink(answering.path(), system.dev + "/ttyUSB0");
    fs::create_symlink(silent.path(), system.dev + "/ttyACM0");
    fs::create_symlink(held.path(), system.dev + "/ttyS0");
    fs::create_symlink(silent.path(), system.dev + "/ttyS1");
    const std::string by_id =
        system.dev + "/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0";
    fs::create_symlink("../../ttyUSB0", by_id);

    setenv("ZQ70CFG_SYSFS", system.sys.c_str(), 1);
    setenv("ZQ70CFG_DEV", system.dev.c_str(), 1);
    const Finished list = run_cfg({"ports"});
    const zq70::SerialPort holder = zq70::make_posix_serial_port(held.path());
    ASSERT_TRUE(holder.open());
    const Finished probed = run_cfg({"ports", "--probe"});
    holder.close();
    const std::string dev = system.dev;
    setenv("ZQ70CFG_SYSFS", (system.sys + "/nothing").c_str(), 1);
    const Finished none = run_cfg({"ports"});
    unsetenv("ZQ70CFG_SYSFS");
    unsetenv("ZQ70CFG_DEV");

    EXPECT_EQ(list.code, 0) << list.err;
    EXPECT_EQ(list.out, dev + "/ttyACM0  2341:0043  Arduino (www.arduino.cc)  Uno\n" + dev +
                            "/ttyS0\n" + dev +
                            "/ttyUSB0  0403:6001  FTDI  FT232R USB UART  serial A50285BI  " +
                            by_id + "\n");
    EXPECT_EQ(probed.code, 0) << probed.err;
    EXPECT_EQ(probed.out,
              dev + "/ttyACM0  no answer  2341:0043  Arduino (www.arduino.cc)  Uno\n" + dev +
                  "/ttyS0  busy\n" + dev +
                  "/ttyUSB0  ZQ70  0403:6001  FTDI  FT232R USB UART  serial A50285BI  " + by_id +
                  "\n");
    EXPECT_LT(probed.seconds, 5.0);
    // The busy port was not touched: the simulator behind it never heard a byte.
    EXPECT_EQ(contents(held_log).find("<-"), std::string::npos) << contents(held_log);
    EXPECT_EQ(none.code, 0);
    EXPECT_EQ(none.out, "");
    EXPECT_EQ(none.err, "no serial port found\n");
}

} // namespace
} // namespace zq70cfg::test
