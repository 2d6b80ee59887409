// Reading and writing all 512 bytes of the device image over a COM port, one command byte
// and one answer byte at a time. No message boxes: the caller reports the code.
#pragma once

#include "config/image.h"
#include "serial_commands.h"
#include "serial_port.h"
#include "transfer_progress.h"
#include "transfer_result.h"

namespace zq70 {

constexpr int kSerialAnswerTimeoutMs = 36;
constexpr int kSerialPumpMs = 2;

// Ok, TransferFailed or PortOpenFailed. The pump runs for 2 ms before each byte command.
TransferResult serial_read(const SerialPort& port, DeviceImage& image, const ProgressSink& progress,
                           const Pump& pump);
TransferResult serial_write(const SerialPort& port, const DeviceImage& image,
                            const ProgressSink& progress, const Pump& pump);

// What a probe of the port found.
enum class ProbeResult {
    Answered,        // a device answered the opening command
    NoAnswer,        // the port opened, but nothing (or something else) answered
    PortUnavailable, // the port cannot be opened: gone, in use, or no serial port
};

// Asks whether a device answers on the port: opens it, sends the opening command 128,
// expects '!' within the answer time, and closes it again.
ProbeResult probe_serial_device(const SerialPort& port);
// Whether a device answers; a port that cannot be opened gives false.
bool serial_probe(const SerialPort& port);

} // namespace zq70
