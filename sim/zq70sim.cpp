// zq70sim: a simulated ZQ70 on a pseudo-terminal or serial device. See kUsage.
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <deque>
#include <fstream>
#include <iostream>
#include <poll.h>
#include <unistd.h>

#include "config/durable_file.h"
#include "sim/device_model.h"
#include "sim_options.h"
#include "sim_terminal.h"
#include "version.h"

namespace {

volatile std::sig_atomic_t stop_requested = 0;

void request_stop(int) {
    stop_requested = 1;
}

// A device taken off the line and another one put on it, as a programming bench sees it.
volatile std::sig_atomic_t unplug_requested = 0;
volatile std::sig_atomic_t plug_requested = 0;

void request_unplug(int) {
    unplug_requested = 1;
}

void request_plug(int) {
    plug_requested = 1;
}

using Clock = std::chrono::steady_clock;

struct PendingAnswer {
    Clock::time_point due;
    uint8_t byte;
};

void load_memory(const std::string& path, zq70::DeviceImage& memory) {
    std::ifstream file(path, std::ios::binary);
    if (file) file.read(reinterpret_cast<char*>(memory.data()), memory.size());
}

// Through the project's durable replace, so that a stop in the middle never leaves half a
// memory.
bool save_memory(const std::string& path, const zq70::DeviceImage& memory) {
    return zq70::replace_file(path, memory.data(), memory.size());
}

class Log {
  public:
    explicit Log(const zq70sim::Options& options) {
        if (!options.log) return;
        if (options.log_file == "-") {
            out_ = stderr;
        } else {
            out_ = std::fopen(options.log_file.c_str(), "a");
            owned_ = out_ != nullptr;
        }
    }
    ~Log() {
        if (owned_) std::fclose(out_);
    }
    void byte(const char* direction, int value) {
        if (out_ == nullptr) return;
        std::fprintf(out_, "%s %3d 0x%02X\n", direction, value, value);
        std::fflush(out_);
    }
    void line(const std::string& text) {
        if (out_ == nullptr) return;
        std::fprintf(out_, "%s\n", text.c_str());
        std::fflush(out_);
    }

  private:
    std::FILE* out_ = nullptr;
    bool owned_ = false;
};

void write_answer(int fd, uint8_t byte) {
    while (write(fd, &byte, 1) < 0 && errno == EINTR) {
    }
}

// A device as the options make it: its faults and timing, a memory still to be filled.
zq70::DeviceModel new_device(const zq70sim::Options& options) {
    zq70::DeviceModel device;
    device.silent = options.silent;
    device.answer_delay_ms = options.answer_delay_ms;
    device.faults = options.faults;
    return device;
}

int run(const zq70sim::Options& options, zq70sim::Terminal& terminal) {
    zq70::DeviceModel device = new_device(options);
    if (!options.memory_file.empty()) load_memory(options.memory_file, device.memory);
    bool plugged = !options.start_unplugged;
    Log log(options);
    std::deque<PendingAnswer> pending;
    while (!stop_requested) {
        if (unplug_requested) {
            unplug_requested = 0;
            plugged = false;
            pending.clear();
            log.line("unplugged");
        }
        if (plug_requested) {
            plug_requested = 0;
            // A new device: whatever command the old one was in the middle of is gone.
            const zq70::DeviceImage memory =
                options.fresh_memory ? zq70::DeviceImage{} : device.memory;
            device = new_device(options);
            device.memory = memory;
            plugged = true;
            pending.clear();
            if (options.fresh_memory && !options.memory_file.empty())
                save_memory(options.memory_file, device.memory);
            log.line("plugged in");
        }
        int wait_ms = 200;
        if (!pending.empty()) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                pending.front().due - Clock::now());
            wait_ms = static_cast<int>(std::max<long long>(0, left.count()));
        }
        pollfd watch{terminal.fd, POLLIN, 0};
        const int ready = poll(&watch, 1, wait_ms);
        if (ready < 0 && errno != EINTR) return 1;
        while (!pending.empty() && pending.front().due <= Clock::now()) {
            write_answer(terminal.fd, pending.front().byte);
            log.byte("->", pending.front().byte);
            pending.pop_front();
        }
        if (ready <= 0) continue;
        if ((watch.revents & POLLIN) == 0) {
            // Nobody on the other side of a serial device: wait for someone.
            usleep(10000);
            continue;
        }
        uint8_t buffer[256];
        const ssize_t got = read(terminal.fd, buffer, sizeof buffer);
        if (got < 0 && errno != EINTR && errno != EAGAIN && errno != EIO) return 1;
        if (!plugged) {
            if (got > 0) log.line("no device: " + std::to_string(got) + " bytes lost");
            continue;
        }
        for (ssize_t i = 0; i < got; ++i) {
            log.byte("<-", buffer[i]);
            const zq70::DeviceAnswer answer = device.serial_byte(buffer[i]);
            if (answer.value >= 0) {
                const uint8_t byte = static_cast<uint8_t>(answer.value);
                if (answer.delay_ms == 0 && pending.empty()) {
                    write_answer(terminal.fd, byte);
                    log.byte("->", byte);
                } else {
                    pending.push_back(
                        {Clock::now() + std::chrono::milliseconds(answer.delay_ms), byte});
                }
            }
            if (device.take_completed_write() && !options.memory_file.empty()) {
                const bool saved = save_memory(options.memory_file, device.memory);
                log.line(saved ? "memory saved" : "memory could not be saved");
            }
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    zq70sim::Options options;
    std::string error;
    if (!zq70sim::parse_options(argc, argv, options, error)) {
        std::cerr << "zq70sim: " << error << "\nTry 'zq70sim --help'.\n";
        return 2;
    }
    if (options.help) {
        std::cout << zq70sim::kUsage;
        return 0;
    }
    if (options.version) {
        std::cout << "zq70sim " ZQ70_VERSION "\n";
        return 0;
    }
    struct sigaction action {};
    action.sa_handler = request_stop;
    sigemptyset(&action.sa_mask);
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
    action.sa_handler = request_unplug;
    sigaction(SIGUSR1, &action, nullptr);
    action.sa_handler = request_plug;
    sigaction(SIGUSR2, &action, nullptr);
    std::signal(SIGPIPE, SIG_IGN);

    zq70sim::Terminal terminal;
    const bool opened = options.device.empty()
                            ? zq70sim::open_pseudo_terminal(terminal, error)
                            : zq70sim::open_serial_device(options.device, terminal, error);
    if (!opened ||
        (!options.wine_prefix.empty() &&
         !zq70sim::register_wine_port(options.wine_prefix, options.com, terminal.path, error))) {
        std::cerr << "zq70sim: " << error << "\n";
        zq70sim::close_terminal(terminal);
        return 1;
    }
    std::cout << terminal.path << std::endl;
    const int status = run(options, terminal);
    if (!options.wine_prefix.empty())
        zq70sim::unregister_wine_port(options.wine_prefix, options.com, terminal.path);
    zq70sim::close_terminal(terminal);
    return status;
}
