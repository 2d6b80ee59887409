// The pieces of programming many ports at once and of listing ports, without a device
// process: port patterns, the live table, the log's port column, the series of several
// ports on threads of their own against simulated devices, what the board prints, and the
// Windows device ids.
#include <gtest/gtest.h>

#include <condition_variable>
#include <csignal>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <thread>

#include "interruption.h"
#include "live_table.h"
#include "port_list.h"
#include "port_pattern.h"
#include "port_series.h"
#include "series_board.h"
#include "series_log.h"
#include "sim/simulated_serial_port.h"
#include "terminal.h"
#include "tests/support/temporary_folder.h"

namespace zq70cfg {
namespace {

using zq70::test::TemporaryFolder;

std::string contents(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

TEST(PortPattern, WildcardsAsTheShellHasThem) {
    EXPECT_TRUE(wildcard_matches("ttyUSB*", "ttyUSB0"));
    EXPECT_TRUE(wildcard_matches("ttyUSB*", "ttyUSB"));
    EXPECT_FALSE(wildcard_matches("ttyUSB*", "ttyACM0"));
    EXPECT_TRUE(wildcard_matches("tty?SB1", "ttyUSB1"));
    EXPECT_TRUE(wildcard_matches("*FTDI*port0", "usb-FTDI_FT232R_A5-if00-port0"));
    EXPECT_FALSE(wildcard_matches("*FTDI*port0", "usb-FTDI_FT232R_A5-if00-port1"));
    EXPECT_TRUE(wildcard_matches("ttyUSB[0-3]", "ttyUSB2"));
    EXPECT_FALSE(wildcard_matches("ttyUSB[0-3]", "ttyUSB4"));
    EXPECT_TRUE(wildcard_matches("ttyUSB[!0]", "ttyUSB1"));
    EXPECT_FALSE(wildcard_matches("ttyUSB[!0]", "ttyUSB0"));
    EXPECT_TRUE(wildcard_matches("a*b*c", "aXbYbZc"));
    EXPECT_FALSE(wildcard_matches("a*b*c", "aXbYbZ"));
    // A bracket that never closes is an ordinary character.
    EXPECT_TRUE(wildcard_matches("tty[", "tty["));
    EXPECT_TRUE(has_wildcard("/dev/ttyUSB*"));
    EXPECT_FALSE(has_wildcard("/dev/ttyUSB0"));

    EXPECT_TRUE(natural_less("ttyUSB2", "ttyUSB10"));
    EXPECT_FALSE(natural_less("ttyUSB10", "ttyUSB2"));
    EXPECT_TRUE(natural_less("ttyACM9", "ttyUSB0"));
    EXPECT_FALSE(natural_less("ttyUSB1", "ttyUSB1"));
}

TEST(PortPattern, ComRangesFromOneTo256GoingUp) {
    EXPECT_EQ(com_range("COM3-COM5"), (std::vector<std::string>{"COM3", "COM4", "COM5"}));
    EXPECT_EQ(com_range("com9-11"), (std::vector<std::string>{"COM9", "COM10", "COM11"}));
    EXPECT_EQ(com_range("COM7-COM7"), (std::vector<std::string>{"COM7"}));
    EXPECT_EQ(com_range("COM255-COM256").size(), 2u);
    for (const char* bad : {"COM5-COM3", "COM0-COM3", "COM3-COM257", "3-10", "COM3", "COM3-",
                            "COM3-COMX", "COM03-COM5", "/dev/ttyUSB-1"})
        EXPECT_TRUE(com_range(bad).empty()) << bad;
}

PortLister fake_lister() {
    PortLister lister;
    lister.folder_entries = [](const std::string& folder) -> std::vector<std::string> {
        if (folder == "/dev")
            return {"ttyUSB10", "ttyUSB2", "ttyS0", ".ttyUSB9", "ttyUSB0", "null"};
        return {};
    };
    lister.com_port_exists = [](const std::string& name) { return name != "COM4"; };
    return lister;
}

TEST(PortPattern, SelectionExpandsPatternsInNameOrderAndNamesEachPortOnce) {
    PortSelection linux_ports =
        select_ports({"/dev/ttyS0", "/dev/ttyUSB*", "/dev/ttyUSB2"}, false, fake_lister());
    EXPECT_EQ(linux_ports.error, "");
    EXPECT_TRUE(linux_ports.patterned);
    EXPECT_EQ(linux_ports.names, (std::vector<std::string>{"/dev/ttyS0", "/dev/ttyUSB0",
                                                           "/dev/ttyUSB2", "/dev/ttyUSB10"}));

    // Plain names are taken as given: a port that is not there yet is waited for.
    PortSelection plain = select_ports({"/dev/ttyUSB7", "/dev/ttyUSB7"}, false, fake_lister());
    EXPECT_EQ(plain.names, (std::vector<std::string>{"/dev/ttyUSB7"}));
    EXPECT_FALSE(plain.patterned);

    PortSelection none = select_ports({"/dev/ttyACM*"}, false, fake_lister());
    EXPECT_EQ(none.error, "no serial port matches '/dev/ttyACM*'");
    EXPECT_FALSE(none.bad_pattern);
    PortSelection bad = select_ports({"/dev/*/ttyUSB0"}, false, fake_lister());
    EXPECT_TRUE(bad.bad_pattern);
    EXPECT_NE(bad.error.find("last part"), std::string::npos) << bad.error;

    // On Windows a range takes the COM ports that exist; COM4 does not here.
    PortSelection windows = select_ports({"COM3-COM6", "COM9"}, true, fake_lister());
    EXPECT_EQ(windows.names, (std::vector<std::string>{"COM3", "COM5", "COM6", "COM9"}));
    EXPECT_EQ(select_ports({"COM4-COM4"}, true, fake_lister()).error,
              "no serial port matches 'COM4-COM4'");
    // A wildcard is no pattern on Windows: the name is checked as a COM port later.
    EXPECT_EQ(select_ports({"COM*"}, true, fake_lister()).names,
              (std::vector<std::string>{"COM*"}));
}

TEST(LiveTable, ColumnsLineUpAndEveryLineFitsTheTerminal) {
    const std::vector<TableRow> rows = {
        {"/dev/ttyUSB0", "#12", "writing 43 %", "#11 written, verified (10:14:03)"},
        {"/dev/ttyUSB10", "", "port gone", ""},
    };
    const std::vector<std::string> lines = table_lines(rows, "In all: 11 devices", 80);
    EXPECT_EQ(lines, (std::vector<std::string>{
                         "PORT           DEVICE  STATE            LAST RESULT",
                         "/dev/ttyUSB0   #12     writing 43 %     #11 written, verified (10:14:03)",
                         "/dev/ttyUSB10          port gone",
                         "In all: 11 devices",
                     }));
    for (const std::string& line : table_lines(rows, std::string(200, '='), 40))
        EXPECT_LE(line.size(), 39u) << line;
    // Cut between characters, never inside one.
    EXPECT_EQ(fit("caf\xC3\xA9s", 4), "caf\xC3\xA9");
    EXPECT_EQ(fit("abc", 0), "");

    EXPECT_EQ(table_redraw({"a", "b"}, 0), "\ra\x1b[K\n\rb\x1b[K\n");
    EXPECT_EQ(table_redraw({"a", "b"}, 2), "\x1b[2A\ra\x1b[K\n\rb\x1b[K\n");
}

DeviceRecord record(int number, const char* result, const char* verify) {
    return {"2026-12-09 10:14:0" + std::to_string(number), number, result, verify};
}

TEST(SeriesLog, ThePortColumnComesAtTheEndAndTheHeaderSaysWhichColumnsTheLinesHave) {
    const TemporaryFolder folder;
    const std::string path = folder.path("series.csv");
    const std::string old_lines = "time,device,result,verify\n"
                                  "2026-12-09 10:14:01,1,written,verified\n";
    {
        // A single port's new log is as it always was.
        SeriesLog log;
        ASSERT_TRUE(log.open(path, false));
        EXPECT_FALSE(log.has_port_column());
        ASSERT_TRUE(log.append(record(1, kWritten, kVerified), "/dev/ttyUSB0"));
        EXPECT_EQ(contents(path), old_lines);
    }
    {
        // Many ports on the old log: the header gains the column, the old line stays.
        SeriesLog log;
        ASSERT_TRUE(log.open(path, true));
        ASSERT_TRUE(log.append(record(2, kWritten, kMismatch), "COM3"));
        ASSERT_TRUE(log.append(record(3, kFailed, kNotReached), "/dev/by,\"odd\""));
        EXPECT_EQ(contents(path), "time,device,result,verify,port\n"
                                  "2026-12-09 10:14:01,1,written,verified\n"
                                  "2026-12-09 10:14:02,2,written,mismatch,COM3\n"
                                  "2026-12-09 10:14:03,3,failed,-,\"/dev/by,\"\"odd\"\"\"\n");
    }
    {
        // From then on a single port fills the column too.
        SeriesLog log;
        ASSERT_TRUE(log.open(path, false));
        EXPECT_TRUE(log.has_port_column());
        ASSERT_TRUE(log.append(record(4, kWritten, kSkipped), "COM4"));
        EXPECT_NE(contents(path).find("\n2026-12-09 10:14:04,4,written,skipped,COM4\n"),
                  std::string::npos);
    }
    // A new log of many ports starts with the five columns.
    const std::string fresh = folder.path("fresh.csv");
    SeriesLog log;
    ASSERT_TRUE(log.open(fresh, true));
    ASSERT_TRUE(log.append(record(1, kWritten, kVerified), "COM3"));
    EXPECT_EQ(contents(fresh),
              "time,device,result,verify,port\n2026-12-09 10:14:01,1,written,verified,COM3\n");
    SeriesLog nowhere;
    EXPECT_FALSE(nowhere.open(folder.path("no-such-folder/series.csv"), true));
}

struct ForgetInterruption {
    ~ForgetInterruption() { forget_interruption(); }
};

// A port of a programming bench: a simulated device on a clock that moves only when the
// port waits. The operator is simulated too: a device is taken off once it is done and a
// new one (memory all 0) put on once the series has seen it go.
struct BenchPort {
    BenchPort() : port(device, {[this] { return now; }, [this](int ms) { now += uint32_t(ms); }}) {}

    uint32_t now = 0;
    zq70::DeviceModel device;
    zq70::SimulatedSerialPort port;
    std::vector<zq70::DeviceFault> faults;
    int gone_for_pauses = 0; // the port does not open for this many pauses
    bool seen_gone = false;
    bool seen_back = false;
    int records = 0;
    std::vector<std::string> messages;
    SeriesOutcome outcome;

    void plug_in_a_new_device() {
        device = zq70::DeviceModel();
        device.faults = faults;
    }
};

TEST(PortSeries, PortsRunSideBySideAndOnesFailuresOrAbsenceNeverStopTheOthers) {
    const ForgetInterruption guard;
    std::map<std::string, BenchPort> bench;
    BenchPort& good = bench["good"];
    BenchPort& bad = bench["bad"];
    BenchPort& late = bench["late"];
    bad.faults = {{zq70::DevicePhase::SerialRead, 144, zq70::FaultKind::Corrupt}};
    bad.plug_in_a_new_device();
    late.gone_for_pauses = 3;
    late.port.absent = true;

    const zq70::DeviceImage image = [] {
        zq70::DeviceImage bytes{};
        for (int i = 0; i < zq70::kImageSize; ++i)
            bytes[i] = static_cast<uint8_t>(i * 3);
        return bytes;
    }();
    std::mutex mutex;
    std::condition_variable progressed;
    std::vector<std::thread> threads;
    for (auto& [name, rig] : bench) {
        BenchPort* port = &rig;
        SeriesSetup setup{port->port.port(), name, image, true, nullptr, {}};
        setup.pause = [port](int) {
            if (port->gone_for_pauses > 0 && --port->gone_for_pauses == 0)
                port->port.absent = false;
            return !interrupted();
        };
        SeriesReport report;
        report.port_available = [port](bool available) {
            (available ? port->seen_back : port->seen_gone) = true;
        };
        report.record = [&, port](const DeviceRecord&, int, const std::string& message) {
            port->device.silent = true; // taken off the line
            const std::lock_guard<std::mutex> lock(mutex);
            ++port->records;
            if (!message.empty()) port->messages.push_back(message);
            progressed.notify_all();
        };
        report.removed = [port](int) { port->plug_in_a_new_device(); };
        threads.emplace_back([port, setup, report] { port->outcome = run_series(setup, report); });
    }
    {
        std::unique_lock<std::mutex> lock(mutex);
        EXPECT_TRUE(progressed.wait_for(lock, std::chrono::seconds(60), [&] {
            return good.records >= 3 && bad.records >= 3 && late.records >= 3;
        }));
    }
    note_interruption(SIGINT);
    for (std::thread& thread : threads)
        thread.join();

    EXPECT_GE(good.outcome.tally.verified, 3);
    EXPECT_EQ(good.outcome.tally.failed, good.outcome.cut_short ? 1 : 0);
    EXPECT_EQ(bad.outcome.tally.verified, 0);
    EXPECT_GE(bad.outcome.tally.failed, 3);
    ASSERT_FALSE(bad.messages.empty());
    EXPECT_EQ(bad.messages.front().rfind("verify failed: 1 byte differs, at 144", 0), 0u);
    EXPECT_TRUE(late.seen_gone && late.seen_back);
    EXPECT_GE(late.outcome.tally.verified, 2);
    for (auto& [name, rig] : bench) {
        EXPECT_FALSE(rig.port.is_open) << name << ": every port is closed at the end";
        EXPECT_EQ(series_exit_code(rig.outcome) == 130, rig.outcome.cut_short) << name;
    }
}

TEST(PortSeries, ThePercentageOfAProgressText) {
    EXPECT_EQ(percentage_in("Writing configuration - 43%"), 43);
    EXPECT_EQ(percentage_in("Reading configuration - 1%"), 1);
    EXPECT_EQ(percentage_in("nothing"), -1);
}

// The board's output to files instead of the terminal.
struct BoardFiles {
    TemporaryFolder folder;
    std::FILE* out = std::fopen(folder.path("out").c_str(), "wb");
    std::FILE* err = std::fopen(folder.path("err").c_str(), "wb");
    std::string read_out() {
        std::fflush(out);
        return contents(folder.path("out"));
    }
    std::string read_err() {
        std::fflush(err);
        return contents(folder.path("err"));
    }
    ~BoardFiles() {
        std::fclose(out);
        std::fclose(err);
    }
};

void play_two_ports(SeriesBoard& board) {
    SeriesReport com3 = board.report_for(0);
    SeriesReport com4 = board.report_for(1);
    com3.state(PortState::Writing, 1);
    com3.progress("Writing configuration - 43%");
    com4.port_available(false);
    com3.state(PortState::Verifying, 1);
    com3.record(record(1, kWritten, kVerified), 0, "");
    com3.state(PortState::TakeOff, 1);
    com4.port_available(true);
    com4.state(PortState::Writing, 1);
    com4.record(record(1, kWritten, kMismatch), 7, "verify failed: 1 byte differs, at 144");
    com4.state(PortState::TakeOff, 1);
    com3.removed(1);
    com3.state(PortState::Stopped, 1);
    com4.state(PortState::Stopped, 1);
    board.finish({{{1, 1, 0}, false, false}, {{1, 0, 1}, false, false}});
}

TEST(SeriesBoard, PlainLinesNameThePortInFront) {
    BoardFiles files;
    BoardOutput output;
    output.out = files.out;
    output.err = files.err;
    SeriesBoard board({"COM3", "COM4"}, output);
    play_two_ports(board);
    EXPECT_EQ(files.read_out(), "COM3: 2026-12-09 10:14:01  #1  written  verified\n"
                                "COM4: 2026-12-09 10:14:01  #1  written  mismatch\n"
                                "COM3: 1 device written, 1 verified, 0 failed\n"
                                "COM4: 1 device written, 0 verified, 1 failed\n"
                                "In all: 2 devices written, 1 verified, 1 failed\n");
    EXPECT_EQ(files.read_err(),
              "COM4: the port is gone (it does not open): watching for it to come back\n"
              "COM3: take ZQ70 #1 off the line, then plug in the next one\n"
              "COM4: the port is back\n"
              "zq70cfg: COM4: #1: verify failed: 1 byte differs, at 144\n"
              "COM4: take ZQ70 #1 off the line, then plug in the next one\n"
              "COM3: ZQ70 #1 removed: waiting for the next one\n");
}

TEST(SeriesBoard, TheTableIsRedrawnInPlaceAndEndsWithEveryPortsLastState) {
    BoardFiles files;
    BoardOutput output;
    output.out = files.out;
    output.err = files.err;
    output.table = true;
    output.width = 70;
    output.redraw_ms = 1;
    SeriesBoard board({"COM3", "COM4"}, output);
    SeriesReport com3 = board.report_for(0);
    com3.state(PortState::Writing, 1);
    com3.progress("Writing configuration - 43%");
    // Wait for a drawing that shows it: the table is drawn by its own thread.
    for (int i = 0; i < 5000 && files.read_err().find("writing 43 %") == std::string::npos; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    EXPECT_NE(files.read_err().find("COM3  #1      writing 43 %"), std::string::npos)
        << files.read_err();
    play_two_ports(board);
    const std::string err = files.read_err();
    const size_t last = err.rfind("\x1b[4A");
    ASSERT_NE(last, std::string::npos) << err;
    EXPECT_EQ(err.substr(last),
              "\x1b[4A"
              "\rPORT  DEVICE  STATE            LAST RESULT\x1b[K\n"
              "\rCOM3  #1      stopped          #1 written, verified (10:14:01)\x1b[K\n"
              "\rCOM4  #1      stopped          #1 verify failed: 1 byte differs, at 1\x1b[K\n"
              "\rIn all: 2 devices written, 1 verified, 1 failed\x1b[K\n");
    // The device lines go to standard output only when it is not the table's terminal.
    EXPECT_EQ(files.read_out(), "COM3: 1 device written, 1 verified, 0 failed\n"
                                "COM4: 1 device written, 0 verified, 1 failed\n"
                                "In all: 2 devices written, 1 verified, 1 failed\n");
}

TEST(BoardOutput, AFileGetsPlainLinesAndOnWindowsNoConsoleSequences) {
    BoardFiles files;
    EXPECT_FALSE(is_terminal(files.err));
    EXPECT_EQ(terminal_width(files.err), 80);
#ifdef _WIN32
    // Where the console cannot take the table's sequences the board falls back to lines.
    EXPECT_FALSE(enable_terminal_sequences(files.err));
#else
    EXPECT_TRUE(enable_terminal_sequences(files.err));
#endif
}

TEST(WindowsDeviceIds, UsbIdsAndTheSerialNumberOfAnAdapter) {
    std::string vendor;
    std::string product;
    ASSERT_TRUE(usb_ids_of("USB\\VID_0403&PID_6001&REV_0600", vendor, product));
    EXPECT_EQ(vendor + ":" + product, "0403:6001");
    ASSERT_TRUE(usb_ids_of("FTDIBUS\\COMPORT&VID_10c4&PID_EA60", vendor, product));
    EXPECT_EQ(vendor + ":" + product, "10c4:ea60");
    EXPECT_FALSE(usb_ids_of("ACPI\\PNP0501", vendor, product));
    EXPECT_FALSE(usb_ids_of("USB\\VID_04", vendor, product));

    EXPECT_EQ(serial_of_instance("USB\\VID_0403&PID_6001\\A50285BI"), "A50285BI");
    EXPECT_EQ(serial_of_instance("USB\\VID_2341&PID_0043\\5&2C7A2A5E&0&2"), "");
    EXPECT_EQ(serial_of_instance("FTDIBUS\\VID_0403+PID_6001+A50285BIA\\0000"), "A50285BI");
    EXPECT_EQ(serial_of_instance("ACPI\\PNP0501\\1"), "");
    EXPECT_EQ(serial_of_instance("ROOT"), "");
}

TEST(PortList, OneLinePerPortWithWhatIsKnown) {
    PortInfo usb{"/dev/ttyUSB0",
                 "0403",
                 "6001",
                 "FTDI",
                 "FT232R USB UART",
                 "A50285BI",
                 {"/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0"}};
    EXPECT_EQ(port_line(usb, PortCheck::NotProbed),
              "/dev/ttyUSB0  0403:6001  FTDI  FT232R USB UART  serial A50285BI  "
              "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0");
    PortInfo plain;
    plain.name = "/dev/ttyS0";
    EXPECT_EQ(port_line(plain, PortCheck::NotProbed), "/dev/ttyS0");
    EXPECT_EQ(port_line(plain, PortCheck::Answers), "/dev/ttyS0  ZQ70");
    EXPECT_EQ(port_line(plain, PortCheck::Busy), "/dev/ttyS0  busy");
}

} // namespace
} // namespace zq70cfg
