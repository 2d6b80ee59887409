#include "interruption.h"

#include "link/stoppable_port.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <csignal>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#endif

namespace zq70cfg {

namespace {

// Atomic and lock-free: set from a signal handler, or from the console control thread that
// Windows starts for Ctrl+C.
std::atomic<int> noted_signal{0};

constexpr int kPauseStepMs = 20;

#ifdef _WIN32
BOOL WINAPI on_console_control(DWORD event) {
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
    note_interruption(SIGINT);
    return TRUE;
}
#else
void on_signal(int signal_number) {
    note_interruption(signal_number);
}
#endif

} // namespace

void note_interruption(int signal_number) {
    int none = 0;
    noted_signal.compare_exchange_strong(none, signal_number);
}

void forget_interruption() {
    noted_signal = 0;
}

bool interrupted() {
    return noted_signal != 0;
}

int interruption_exit_code() {
    return 128 + noted_signal;
}

void catch_interruptions() {
#ifdef _WIN32
    SetConsoleCtrlHandler(on_console_control, TRUE);
#else
    struct sigaction action {};
    action.sa_handler = on_signal;
    sigemptyset(&action.sa_mask);
    // No SA_RESTART: a wait on the port returns at once and sees the note. SA_RESETHAND
    // lets a second Ctrl+C end the program outright.
    action.sa_flags = SA_RESETHAND;
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
#endif
}

zq70::SerialPort interruptible(zq70::SerialPort port) {
    return zq70::stoppable(std::move(port), interrupted);
}

bool pause_unless_interrupted(int ms) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    while (!interrupted()) {
        const auto left = end - std::chrono::steady_clock::now();
        if (left <= std::chrono::steady_clock::duration::zero()) return true;
        std::this_thread::sleep_for(std::min<std::chrono::steady_clock::duration>(
            left, std::chrono::milliseconds(kPauseStepMs)));
    }
    return false;
}

} // namespace zq70cfg
