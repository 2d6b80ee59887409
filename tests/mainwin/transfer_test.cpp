// File > Write to ZQ70 and File > Read from ZQ70 through the real main window: the result
// table, the progress window, the guard against re-entering the window procedure, the
// keyboard line against the simulated device and the real Windows keyboard settings, and
// the serial line against zq70sim on COM1 (see tests/support/run_with_sims.sh).
#include <gtest/gtest.h>

#include <cstring>

#include "config/image.h"
#include "link/keyboard_transfer.h"
#include "main_window_fixture.h"
#include "mainwin/captions.h"
#include "mainwin/device_commands.h"
#include "mainwin/progress_window.h"
#include "res/resource_ids.h"
#include "sim/clock.h"
#include "sim/device_model.h"
#include "sim/simulated_keyboard.h"

namespace zq70::testing {
namespace {

constexpr const char* kWriteOk = "The configuration was successfully saved to the ZQ70";
constexpr const char* kReadOk = "The configuration was successfully read from the ZQ70";

DeviceImage image_of(const Configuration& config) {
    DeviceImage image{};
    EXPECT_TRUE(encode_image(config, image, UserInterface{}));
    return image;
}

// A configuration unlike the defaults: 3 x 2 matrix, keys, a macro, other options.
Configuration sample_configuration() {
    Configuration config{};
    reset_configuration(config);
    config.rows = 3;
    config.columns = 2;
    // Columns on A and B, rows on C to E, the 19 inputs on F to X.
    for (int i = 0; i < kPinCount; ++i)
        config.input_pins[i] = (5 + i) % kPinCount;
    config.column_pins[0] = 0;
    config.column_pins[1] = 1;
    for (int r = 0; r < 3; ++r)
        config.row_pins[r] = 2 + r;
    config.key_codes[cell_index(1, 1)] = 31; // "A"
    config.key_codes[cell_index(2, 0)] = macro_code_of_slot(0);
    config.key_codes[input_index(4)] = 110; // "Esc"
    config.macros[0].steps[0] = make_step(30);
    config.macros[0].steps[1] = delay_step(5);
    config.macros[0].steps[16] = break_step(30);
    config.macros[0].in_use = 1;
    config.baud_rate = 2;
    config.computer_type = 1;
    config.typematic_interval = 31;
    return config;
}

class TransferTest : public MainWindowTest {
  protected:
    void TearDown() override {
        use_transports(device_transports());
        MainWindowTest::TearDown();
    }

    // Every transport answers with `code`, filling a read with `image`; `during` runs while
    // the transfer is under way, with the pump the serial transports are given.
    void use_fixed_result(int code, const DeviceImage& image = {},
                          std::function<void(const Pump&)> during = {}) {
        Transports t;
        auto serial = [=](int port, const DeviceImage*, DeviceImage* into, const Pump& pump) {
            ports.push_back(port);
            ++transfers;
            if (during) during(pump);
            if (into) *into = image;
            return static_cast<TransferResult>(code);
        };
        t.serial_read = [=](int port, DeviceImage& into, const ProgressSink&, const Pump& pump) {
            return serial(port, nullptr, &into, pump);
        };
        t.serial_write = [=](int port, const DeviceImage& from, const ProgressSink&,
                             const Pump& pump) { return serial(port, &from, nullptr, pump); };
        t.keyboard_read = [=](const UserInterface&, DeviceImage& into, const ProgressSink&) {
            return serial(kKeyboardPort + 1, nullptr, &into, Pump{});
        };
        t.keyboard_write = [=](const UserInterface&, const DeviceImage& from, const ProgressSink&) {
            return serial(kKeyboardPort + 1, &from, nullptr, Pump{});
        };
        use_transports(t);
    }

    void expect_one_box(const std::string& text, MessageIcon icon) {
        ASSERT_EQ(user.messages.size(), 1u) << (user.messages.empty() ? "" : user.messages[0].text);
        EXPECT_EQ(user.messages[0].caption, kProgramCaption);
        EXPECT_EQ(user.messages[0].text, text);
        EXPECT_EQ(user.messages[0].icon, icon);
        EXPECT_EQ(user.messages[0].buttons, MessageButtons::Ok);
        user.messages.clear();
    }

    void ok_box() { user.answers.push_back(MessageAnswer::Ok); }

    std::vector<int> ports;
    int transfers = 0;
};

TEST_F(TransferTest, EveryResultOfAWriteHasItsMessage) {
    session.comm_port = 2;
    const struct {
        int code;
        const char* text;
    } rows[] = {{0, kWriteOk},
                {1, "The ZQ70 was not found"},
                {2, "Error while writing to the ZQ70"},
                {3, "Unknown error (3)"},
                {4, "Error opening Com 3"},
                {5, "Error while writing to the ZQ70 (N < 16)"},
                {9, "Unknown error (9)"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.code);
        use_fixed_result(row.code);
        ok_box();
        config().modified = row.code % 2 == 0;
        command(IDC_FILE_WRITE);
        expect_one_box(row.text, row.code == 0 ? MessageIcon::None : MessageIcon::Error);
        // A write never changes modified.
        EXPECT_EQ(config().modified, row.code % 2 == 0);
    }
    EXPECT_EQ(ports, std::vector<int>(7, 3)); // "Com 3" is port number 3
}

TEST_F(TransferTest, EveryFailedReadHasItsMessageAndKeepsTheConfiguration) {
    session.comm_port = 5;
    config().key_codes[0] = 17;
    const Configuration before = config();
    const struct {
        int code;
        const char* text;
    } rows[] = {{1, "The ZQ70 was not found"}, {2, "Error while reading from the ZQ70"},
                {3, "Invalid configuration"},  {4, "Error opening Com 6"},
                {5, "Unknown error (5)"},      {-1, "Unknown error (-1)"}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.code);
        use_fixed_result(row.code, image_of(sample_configuration()));
        ok_box();
        command(IDC_FILE_READ);
        expect_one_box(row.text, MessageIcon::Error);
        EXPECT_EQ(std::memcmp(&config(), &before, sizeof before), 0);
    }
}

TEST_F(TransferTest, AFailedReadLeavesUnsavedChangesUnsaved) {
    config().key_codes[0] = 17;
    config().modified = true;
    use_fixed_result(TransferFailed);
    user.answers = {MessageAnswer::No, MessageAnswer::Ok};
    command(IDC_FILE_READ);
    ASSERT_EQ(user.messages.size(), 2u);
    EXPECT_EQ(user.messages[1].text, "Error while reading from the ZQ70");
    EXPECT_TRUE(config().modified);
    EXPECT_EQ(config().key_codes[0], 17);
}

TEST_F(TransferTest, CancelAtTheQuestionStartsNoTransfer) {
    config().modified = true;
    use_fixed_result(Ok, image_of(sample_configuration()),
                     [](const Pump&) { ADD_FAILURE() << "transfer started"; });
    user.answers = {MessageAnswer::Cancel};
    command(IDC_FILE_READ);
    ASSERT_EQ(user.messages.size(), 1u);
    EXPECT_EQ(user.messages[0].buttons, MessageButtons::YesNoCancel);
    EXPECT_EQ(transfers, 0);
    EXPECT_EQ(progress_window(), nullptr);
    EXPECT_TRUE(config().modified);
}

TEST_F(TransferTest, ADoubledPinStopsAWriteBeforeAnyWindowOrTransfer) {
    choose(main.rows_box, 11); // one input on pin A, beside column 0
    use_fixed_result(Ok, {}, [](const Pump&) { ADD_FAILURE() << "transfer started"; });
    ok_box();
    command(IDC_FILE_WRITE);
    expect_one_box("Error: Pin A is used for multiple scan lines", MessageIcon::Error);
    EXPECT_EQ(transfers, 0);
}

TEST_F(TransferTest, ASuccessfulReadShowsTheDeviceConfiguration) {
    config().modified = true;
    use_fixed_result(Ok, image_of(sample_configuration()));
    user.answers = {MessageAnswer::No, MessageAnswer::Ok};
    command(IDC_FILE_READ);
    ASSERT_EQ(user.messages.size(), 2u);
    EXPECT_EQ(user.messages[1].text, kReadOk);
    EXPECT_EQ(user.messages[1].icon, MessageIcon::None);
    EXPECT_FALSE(config().modified);

    EXPECT_EQ(config().rows, 3);
    EXPECT_EQ(config().columns, 2);
    EXPECT_EQ(selection(main.rows_box), 3);
    EXPECT_EQ(selection(main.columns_box), 2);
    EXPECT_EQ(text_of(main.discretes_count), "19");
    EXPECT_EQ(checked_item(IDC_BAUD_RATE_FIRST, 7), 2);
    EXPECT_EQ(checked_item(IDC_COMPUTER_TYPE_FIRST, 2), 1);
    EXPECT_EQ(checked_item(IDC_TYPEMATIC_INTERVAL_FIRST, 32), 31);
    EXPECT_TRUE(config().macros[0].in_use);
    // Cell (1, 1) of a two-column grid is the fourth button.
    EXPECT_EQ(text_of(main.key_buttons[3]), "A");
}

TEST_F(TransferTest, ARejectedImageIsAnInvalidConfiguration) {
    DeviceImage image = image_of(sample_configuration());
    image[kRowsOffset] = 0; // rows 0 with 2 columns
    config().key_codes[5] = 44;
    const Configuration before = config();
    use_fixed_result(Ok, image);
    ok_box();
    command(IDC_FILE_READ);
    expect_one_box("Invalid configuration", MessageIcon::Error);
    EXPECT_EQ(std::memcmp(&config(), &before, sizeof before), 0);
}

TEST_F(TransferTest, TheProgressWindowLivesOnlyDuringTheTransfer) {
    HWND seen = nullptr;
    std::string caption, first_text, later_text;
    bool visible = false, has_system_menu = true;
    Transports t;
    t.serial_write = [&](int, const DeviceImage&, const ProgressSink& progress, const Pump&) {
        seen = progress_window();
        char text[128] = "";
        GetWindowTextA(seen, text, sizeof text);
        caption = text;
        visible = IsWindowVisible(seen);
        has_system_menu = (GetWindowLongA(seen, GWL_STYLE) & WS_SYSMENU) != 0;
        GetDlgItemTextA(seen, IDC_PROGRESS_TEXT, text, sizeof text);
        first_text = text;
        progress("Writing configuration - 42%");
        GetDlgItemTextA(seen, IDC_PROGRESS_TEXT, text, sizeof text);
        later_text = text;
        return Ok;
    };
    use_transports(t);
    bool gone_before_message = false;
    session.ui.message = [&](const std::string&, const std::string&, MessageIcon, MessageButtons) {
        gone_before_message = progress_window() == nullptr && !IsWindow(seen);
        return MessageAnswer::Ok;
    };
    command(IDC_FILE_WRITE);
    ASSERT_NE(seen, nullptr);
    EXPECT_EQ(caption, kProgramCaption);
    EXPECT_TRUE(visible);
    EXPECT_FALSE(has_system_menu);
    EXPECT_EQ(first_text, "Initializing...");
    EXPECT_EQ(later_text, "Writing configuration - 42%");
    EXPECT_TRUE(gone_before_message);
}

TEST_F(TransferTest, NothingTheUserDoesDuringATransferReentersTheWindow) {
    config().key_codes[0] = 17;
    config().modified = false;
    const int rows = config().rows;
    bool window_alive_during = false;
    use_fixed_result(Ok, {}, [&](const Pump& pump) {
        command(IDC_FILE_NEW);                                                 // a menu command
        SendMessageA(main.window, WM_COMMAND, MAKEWPARAM(IDC_FILE_NEW, 1), 0); // accelerator
        SendMessageA(main.window, WM_COMMAND, MAKEWPARAM(0, BN_CLICKED),
                     reinterpret_cast<LPARAM>(main.key_buttons[0])); // a grid click
        choose(main.rows_box, 3);                                    // a list change
        PostMessageA(main.window, WM_COMMAND, MAKEWPARAM(IDC_FILE_WRITE, 0), 0);
        SendMessageA(main.window, WM_CLOSE, 0, 0);
        pump(20);
        window_alive_during = IsWindow(main.window) != FALSE;
    });
    ok_box();
    command(IDC_FILE_WRITE);
    expect_one_box(kWriteOk, MessageIcon::None);
    EXPECT_TRUE(window_alive_during);
    EXPECT_EQ(transfers, 1); // the posted Write was ignored, not queued
    EXPECT_EQ(config().key_codes[0], 17);
    EXPECT_EQ(config().rows, rows);

    // The close goes through once the transfer has ended.
    flush_events(200);
    EXPECT_FALSE(IsWindow(main.window));
}

TEST_F(TransferTest, AQuitTakenByThePumpsIsPostedAgain) {
    use_fixed_result(Ok, {}, [](const Pump& pump) {
        PostQuitMessage(7);
        pump(20);
    });
    ok_box();
    command(IDC_FILE_WRITE);
    expect_one_box(kWriteOk, MessageIcon::None);
    MSG message;
    ASSERT_TRUE(PeekMessageA(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(message.wParam, 7u);
}

// The keyboard line, with the simulated device typing into the channel's platform seam.
struct SimulatedKeyboardLine {
    VirtualClock clock;
    DeviceModel device;
    SimulatedKeyboard keyboard{device, clock.clock()};

    Transports transports() {
        Transports t;
        t.keyboard_read = [this](const UserInterface& ui, DeviceImage& image,
                                 const ProgressSink& progress) {
            const KeyboardChannel channel(keyboard.platform());
            return keyboard_read(KeyboardLink{channel, ui}, image, progress);
        };
        t.keyboard_write = [this](const UserInterface& ui, const DeviceImage& image,
                                  const ProgressSink& progress) {
            const KeyboardChannel channel(keyboard.platform());
            return keyboard_write(KeyboardLink{channel, ui}, image, progress);
        };
        return t;
    }
};

TEST_F(TransferTest, KeyboardLineWriteThenReadThroughTheWindow) {
    SimulatedKeyboardLine line;
    use_transports(line.transports());
    session.comm_port = kKeyboardPort;
    session.config = sample_configuration();
    show_configuration(session);
    const DeviceImage written = image_of(config());

    ok_box();
    command(IDC_FILE_WRITE);
    expect_one_box(kWriteOk, MessageIcon::None);
    EXPECT_TRUE(std::equal(written.begin(), written.end(), line.device.memory.begin()));

    command(IDC_FILE_NEW);
    ok_box();
    command(IDC_FILE_READ);
    expect_one_box(kReadOk, MessageIcon::None);
    EXPECT_EQ(image_of(config()), written);
    EXPECT_EQ(text_of(main.key_buttons[3]), "A");
}

TEST_F(TransferTest, KeyboardLineParityErrorShowsTheDetailFirst) {
    SimulatedKeyboardLine line;
    line.device.memory = image_of(sample_configuration());
    line.device.faults.push_back({DevicePhase::ReadKey, 7, FaultKind::Corrupt});
    use_transports(line.transports());
    session.comm_port = kKeyboardPort;
    user.answers = {MessageAnswer::Ok, MessageAnswer::Ok};
    command(IDC_FILE_READ);
    ASSERT_EQ(user.messages.size(), 2u);
    EXPECT_EQ(user.messages[0].caption, "Error");
    EXPECT_EQ(user.messages[1].text, "Error while reading from the ZQ70");
    EXPECT_EQ(line.keyboard.settings().delay, 1); // the user's own settings are back
    EXPECT_EQ(line.keyboard.settings().speed, 31);
}

// The real Windows keyboard settings and message queue, with no device on the line.
TEST_F(TransferTest, NoDeviceOnTheKeyboardLine) {
    int delay = -1, speed = -1;
    SystemParametersInfoA(SPI_GETKEYBOARDDELAY, 0, &delay, 0);
    SystemParametersInfoA(SPI_GETKEYBOARDSPEED, 0, &speed, 0);
    session.comm_port = kKeyboardPort;
    ok_box();
    const DWORD start = GetTickCount();
    command(IDC_FILE_WRITE);
    const DWORD elapsed = GetTickCount() - start;
    expect_one_box("The ZQ70 was not found", MessageIcon::Error);
    // Five 150 ms pauses and the 500 ms wait, after the 100 ms pumps.
    EXPECT_GE(elapsed, 1250u - 32u);
    int delay_after = -1, speed_after = -1;
    SystemParametersInfoA(SPI_GETKEYBOARDDELAY, 0, &delay_after, 0);
    SystemParametersInfoA(SPI_GETKEYBOARDSPEED, 0, &speed_after, 0);
    EXPECT_EQ(delay_after, delay);
    EXPECT_EQ(speed_after, speed);
}

// COM1 is zq70sim, COM6 does not exist (run_with_sims.sh).
TEST_F(TransferTest, SerialWriteThenReadAgainstTheSimulator) {
    session.config = sample_configuration();
    show_configuration(session);
    const DeviceImage written = image_of(config());
    session.comm_port = 0;
    ok_box();
    command(IDC_FILE_WRITE);
    expect_one_box(kWriteOk, MessageIcon::None);

    command(IDC_FILE_NEW);
    ok_box();
    command(IDC_FILE_READ);
    expect_one_box(kReadOk, MessageIcon::None);
    EXPECT_EQ(image_of(config()), written);

    session.comm_port = 5;
    ok_box();
    command(IDC_FILE_READ);
    expect_one_box("Error opening Com 6", MessageIcon::Error);
}

// The program's ports are COM1 to COM6, port number n opening COMn; any other number is
// answered without opening anything.
TEST(ComPorts, NumbersOneToSixAreComOneToSix) {
    EXPECT_EQ(com_port_device(1), "\\\\.\\COM1");
    EXPECT_EQ(com_port_device(6), "\\\\.\\COM6");
    EXPECT_EQ(com_port_device(0), "");
    EXPECT_EQ(com_port_device(7), "");
    const Transports transports = device_transports();
    DeviceImage image{};
    EXPECT_EQ(transports.serial_read(0, image, {}, {}), PortOpenFailed);
    EXPECT_EQ(transports.serial_write(7, image, {}, {}), PortOpenFailed);
}

} // namespace
} // namespace zq70::testing
