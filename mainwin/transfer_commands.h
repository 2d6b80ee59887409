// File > Write to ZQ70 and File > Read from ZQ70: encode or query, progress window,
// transport chosen by the communication port, one result message.
#pragma once

#include <windows.h>

#include <functional>

#include "config/image.h"
#include "config/session.h"
#include "link/transfer_progress.h"
#include "link/transfer_result.h"

namespace zq70 {

// The four transports. The program uses device_transports(); tests put a simulated device
// or a fixed result in their place.
struct Transports {
    std::function<TransferResult(const UserInterface&, DeviceImage&, const ProgressSink&)>
        keyboard_read;
    std::function<TransferResult(const UserInterface&, const DeviceImage&, const ProgressSink&)>
        keyboard_write;
    std::function<TransferResult(int port_number, DeviceImage&, const ProgressSink&, const Pump&)>
        serial_read;
    std::function<TransferResult(int port_number, const DeviceImage&, const ProgressSink&,
                                 const Pump&)>
        serial_write;
};

// The keyboard line through the Windows typematic settings and the thread's message queue,
// and the COM ports through the Win32 serial back-end.
Transports device_transports();

// The program's serial ports: port number 1..6 (comm_port + 1) is COM1..COM6.
constexpr int kFirstPortNumber = 1;
constexpr int kLastPortNumber = 6;
// The device name of port number 1..6 ("\\.\COM3"), or "" for any other number, which the
// serial transports answer with PortOpenFailed without opening anything.
std::string com_port_device(int port_number);

struct TransferCommand {
    Session& session;
    HINSTANCE instance; // holds dialog 1600
    HWND owner;         // the main window
    const Transports& transports;
};

void write_to_device(const TransferCommand& command);
void read_from_device(const TransferCommand& command);

// The result message of each command for a transport's code.
struct ResultMessage {
    std::string text;
    MessageIcon icon;
};
ResultMessage write_result_message(int code, int comm_port);
ResultMessage read_result_message(int code, int comm_port);

} // namespace zq70
