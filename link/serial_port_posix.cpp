#include "serial_port_posix.h"

#include <cerrno>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace zq70 {

namespace {

struct PosixPort {
    std::string path;
    int fd = -1;
    bool exclusive = false;
    // The read time-outs of termios, put back at close like the Win32 time-outs.
    cc_t saved_min = 0;
    cc_t saved_time = 0;
    bool saved_valid = false;
    // The bytes of one command, sent together when its answer is awaited: one write and
    // one wake-up of the other side per command instead of one per byte.
    std::vector<uint8_t> outgoing;
    // A write or flush that failed: the answer awaited next is taken as missing at once.
    bool failed = false;

    ~PosixPort() { close(); }

    bool open() {
        fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (fd < 0) return false;
        failed = false;
        // TIOCEXCL keeps other processes out (root aside); the lock also keeps out another
        // program of ours that runs as root.
        exclusive = ioctl(fd, TIOCEXCL) == 0;
        if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
            close();
            return false;
        }
        return true;
    }

    bool configure() {
        termios settings{};
        if (tcgetattr(fd, &settings) != 0) return false;
        saved_min = settings.c_cc[VMIN];
        saved_time = settings.c_cc[VTIME];
        saved_valid = true;
        cfmakeraw(&settings);
        settings.c_cflag &= ~(CSIZE | PARENB | CSTOPB | CRTSCTS | HUPCL);
        settings.c_cflag |= CS8 | CREAD | CLOCAL;
        settings.c_iflag &= ~(IXON | IXOFF | IXANY);
        settings.c_cc[VMIN] = 0;
        settings.c_cc[VTIME] = 0;
        if (cfsetispeed(&settings, B9600) != 0 || cfsetospeed(&settings, B9600) != 0 ||
            tcsetattr(fd, TCSANOW, &settings) != 0)
            return false;
        // A pseudo-terminal has no modem lines; a real port must take DTR and RTS off.
        int lines = TIOCM_DTR | TIOCM_RTS;
        return ioctl(fd, TIOCMBIC, &lines) == 0 || errno == ENOTTY || errno == EINVAL;
    }

    void send_byte(uint8_t byte) { outgoing.push_back(byte); }

    void flush_outgoing() {
        size_t sent = 0;
        while (sent < outgoing.size()) {
            const ssize_t n = ::write(fd, outgoing.data() + sent, outgoing.size() - sent);
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                failed = true;
                break;
            }
            sent += static_cast<size_t>(n);
        }
        outgoing.clear();
    }

    int receive_byte(int timeout_ms) {
        flush_outgoing();
        if (failed) {
            failed = false;
            return -1;
        }
        // The limit of a Win32 one-byte read with all three read time-outs at timeout_ms.
        const int limit = 2 * timeout_ms;
        timespec start{};
        clock_gettime(CLOCK_MONOTONIC, &start);
        for (;;) {
            timespec now{};
            clock_gettime(CLOCK_MONOTONIC, &now);
            const long elapsed =
                (now.tv_sec - start.tv_sec) * 1000 + (now.tv_nsec - start.tv_nsec) / 1000000;
            if (elapsed >= limit) return -1;
            pollfd watch{fd, POLLIN, 0};
            const int ready = poll(&watch, 1, static_cast<int>(limit - elapsed));
            if (ready < 0 && errno == EINTR) continue;
            if (ready <= 0 || (watch.revents & POLLIN) == 0) return -1;
            uint8_t byte = 0;
            const ssize_t got = ::read(fd, &byte, 1);
            if (got == 1) return byte;
            if (got < 0 && (errno == EINTR || errno == EAGAIN)) continue;
            return -1;
        }
    }

    void discard_input() {
        if (tcflush(fd, TCIFLUSH) != 0) failed = true;
    }

    void close() {
        if (fd < 0) return;
        flush_outgoing();
        termios settings{};
        if (saved_valid && tcgetattr(fd, &settings) == 0) {
            settings.c_cc[VMIN] = saved_min;
            settings.c_cc[VTIME] = saved_time;
            tcsetattr(fd, TCSANOW, &settings);
        }
        // The exclusive mode belongs to the terminal, not to our descriptor: give it back
        // so that the next program can open the port.
        if (exclusive) ioctl(fd, TIOCNXCL);
        ::close(fd);
        fd = -1;
        exclusive = saved_valid = false;
    }
};

} // namespace

SerialPort make_posix_serial_port(const std::string& path) {
    auto state = std::make_shared<PosixPort>();
    state->path = path;
    return bind_serial_port(state);
}

} // namespace zq70
