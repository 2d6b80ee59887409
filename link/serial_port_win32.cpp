#include "serial_port_win32.h"

#include <memory>
#include <string>
#include <windows.h>

namespace zq70 {

namespace {

struct Win32Port {
    std::string device;
    HANDLE handle = INVALID_HANDLE_VALUE;
    COMMTIMEOUTS saved{};
    bool saved_valid = false;
    // A write or purge that failed: the answer awaited next is taken as missing at once.
    bool failed = false;

    ~Win32Port() { close(); }

    bool open() {
        // No sharing: the port is ours alone for the transfer.
        handle = CreateFileA(device.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                             OPEN_EXISTING, 0, nullptr);
        saved_valid = failed = false;
        return handle != INVALID_HANDLE_VALUE;
    }

    bool configure() {
        DCB dcb{};
        dcb.DCBlength = sizeof dcb;
        if (!GetCommState(handle, &dcb)) return false;
        // Everything not named here is zero: no flow control, DTR and RTS held off, no
        // parity checking, no special characters, no abort on error.
        dcb = DCB{};
        dcb.DCBlength = sizeof dcb;
        dcb.BaudRate = CBR_9600;
        dcb.fBinary = TRUE;
        dcb.ByteSize = 8;
        dcb.Parity = NOPARITY;
        dcb.StopBits = ONESTOPBIT;
        if (!SetCommState(handle, &dcb)) return false;
        if (!GetCommTimeouts(handle, &saved)) return false;
        saved_valid = true;
        return true;
    }

    void send_byte(uint8_t byte) {
        DWORD written = 0;
        if (!WriteFile(handle, &byte, 1, &written, nullptr) || written != 1) failed = true;
    }

    int receive_byte(int timeout_ms) {
        if (failed) {
            failed = false;
            return -1;
        }
        COMMTIMEOUTS timeouts{};
        if (!GetCommTimeouts(handle, &timeouts)) return -1;
        timeouts.ReadIntervalTimeout = static_cast<DWORD>(timeout_ms);
        timeouts.ReadTotalTimeoutMultiplier = static_cast<DWORD>(timeout_ms);
        timeouts.ReadTotalTimeoutConstant = static_cast<DWORD>(timeout_ms);
        if (!SetCommTimeouts(handle, &timeouts)) return -1;
        uint8_t byte = 0;
        DWORD got = 0;
        if (!ReadFile(handle, &byte, 1, &got, nullptr) || got != 1) return -1;
        return byte;
    }

    void discard_input() {
        if (!PurgeComm(handle, PURGE_RXCLEAR)) failed = true;
    }

    void close() {
        if (handle == INVALID_HANDLE_VALUE) return;
        if (saved_valid) SetCommTimeouts(handle, &saved);
        CloseHandle(handle);
        handle = INVALID_HANDLE_VALUE;
        saved_valid = false;
    }
};

} // namespace

SerialPort make_win32_serial_port(const std::string& device) {
    auto state = std::make_shared<Win32Port>();
    state->device = device;
    return bind_serial_port(state);
}

} // namespace zq70
