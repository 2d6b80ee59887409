#include "sim_terminal.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace zq70sim {

namespace {

// Raw 9600 8N1: no echo (the device's answers must not come back to it as commands), no
// translation of any byte.
bool make_raw(int fd) {
    termios settings{};
    if (tcgetattr(fd, &settings) != 0) return false;
    cfmakeraw(&settings);
    settings.c_cflag |= CLOCAL | CREAD;
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
    cfsetispeed(&settings, B9600);
    cfsetospeed(&settings, B9600);
    return tcsetattr(fd, TCSANOW, &settings) == 0;
}

std::string system_error(const std::string& what) {
    return what + ": " + std::strerror(errno);
}

std::string port_link(const std::string& prefix, int com) {
    return prefix + "/dosdevices/com" + std::to_string(com);
}

} // namespace

bool open_pseudo_terminal(Terminal& terminal, std::string& error) {
    terminal.fd = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (terminal.fd < 0 || grantpt(terminal.fd) != 0 || unlockpt(terminal.fd) != 0) {
        error = system_error("cannot open a pseudo-terminal");
        return false;
    }
    const char* name = ptsname(terminal.fd);
    if (name == nullptr) {
        error = system_error("cannot name the pseudo-terminal");
        return false;
    }
    terminal.path = name;
    terminal.held_fd = open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (terminal.held_fd < 0 || !make_raw(terminal.held_fd)) {
        error = system_error("cannot set up " + terminal.path);
        return false;
    }
    return true;
}

bool open_serial_device(const std::string& path, Terminal& terminal, std::string& error) {
    terminal.path = path;
    terminal.fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (terminal.fd < 0 || !make_raw(terminal.fd)) {
        error = system_error("cannot open " + path);
        return false;
    }
    return true;
}

void close_terminal(Terminal& terminal) {
    if (terminal.held_fd >= 0) close(terminal.held_fd);
    if (terminal.fd >= 0) close(terminal.fd);
    terminal.fd = terminal.held_fd = -1;
}

bool register_wine_port(const std::string& prefix, int com, const std::string& path,
                        std::string& error) {
    const std::string value = "COM" + std::to_string(com);
    const pid_t child = fork();
    if (child < 0) {
        error = system_error("cannot start wine");
        return false;
    }
    if (child == 0) {
        setenv("WINEPREFIX", prefix.c_str(), 1);
        const int quiet = open("/dev/null", O_WRONLY);
        if (quiet >= 0) {
            dup2(quiet, STDOUT_FILENO);
            dup2(quiet, STDERR_FILENO);
        }
        execlp("wine", "wine", "reg", "add", "HKLM\\Software\\Wine\\Ports", "/v", value.c_str(),
               "/d", path.c_str(), "/f", static_cast<char*>(nullptr));
        _exit(127);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        error = "wine reg add " + value + " failed";
        return false;
    }
    const std::string link = port_link(prefix, com);
    unlink(link.c_str());
    if (symlink(path.c_str(), link.c_str()) != 0) {
        error = system_error("cannot link " + link);
        return false;
    }
    return true;
}

void unregister_wine_port(const std::string& prefix, int com, const std::string& path) {
    const std::string link = port_link(prefix, com);
    char target[PATH_MAX];
    const ssize_t length = readlink(link.c_str(), target, sizeof target - 1);
    if (length < 0) return;
    target[length] = '\0';
    if (path == target) unlink(link.c_str());
}

} // namespace zq70sim
