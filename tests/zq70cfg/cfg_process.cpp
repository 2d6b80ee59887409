#include "cfg_process.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <poll.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

#include "tests/support/exec_program.h"

namespace zq70cfg::test {

namespace {

// A pseudo-terminal in raw mode (no "\n" to "\r\n"): the master for the test to read, the
// other side for the child's standard error.
bool open_terminal(int& master, int& side) {
    master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0) return false;
    const char* name = ptsname(master);
    side = name == nullptr ? -1 : open(name, O_RDWR | O_NOCTTY);
    if (side < 0) return false;
    termios settings{};
    tcgetattr(side, &settings);
    cfmakeraw(&settings);
    return tcsetattr(side, TCSANOW, &settings) == 0;
}

} // namespace

CfgProcess::CfgProcess(const std::vector<std::string>& arguments, bool stderr_on_terminal) {
    int out[2];
    int err[2] = {-1, -1};
    if (pipe(out) != 0) return;
    const bool opened = stderr_on_terminal ? open_terminal(err[0], err[1]) : pipe(err) == 0;
    if (!opened) return;
    pid_ = fork();
    if (pid_ == 0) {
        dup2(out[1], STDOUT_FILENO);
        dup2(err[1], STDERR_FILENO);
        for (int fd : {out[0], out[1], err[0], err[1]})
            close(fd);
        zq70::test::exec_program(ZQ70CFG_PATH, arguments);
    }
    close(out[1]);
    close(err[1]);
    out_fd_ = out[0];
    err_fd_ = err[0];
    for (int fd : {out_fd_, err_fd_})
        fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK);
}

CfgProcess::~CfgProcess() {
    if (pid_ > 0) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    for (int fd : {out_fd_, err_fd_})
        if (fd >= 0) close(fd);
}

bool CfgProcess::read_some(int timeout_ms) {
    pollfd watch[2] = {{out_fd_, POLLIN, 0}, {err_fd_, POLLIN, 0}};
    if (out_fd_ < 0 && err_fd_ < 0) return false;
    if (poll(watch, 2, timeout_ms) < 0 && errno != EINTR) return false;
    int* fds[2] = {&out_fd_, &err_fd_};
    std::string* texts[2] = {&out_, &err_};
    for (int i = 0; i < 2; ++i) {
        if (*fds[i] < 0 || watch[i].revents == 0) continue;
        char buffer[4096];
        const ssize_t got = read(*fds[i], buffer, sizeof buffer);
        if (got > 0) {
            texts[i]->append(buffer, static_cast<size_t>(got));
        } else if (got == 0 || (errno != EAGAIN && errno != EINTR)) {
            // End of a pipe, or EIO from a terminal whose other side is gone.
            close(*fds[i]);
            *fds[i] = -1;
        }
    }
    return out_fd_ >= 0 || err_fd_ >= 0;
}

bool CfgProcess::wait_for(Stream stream, const std::string& text, int timeout_ms) {
    const std::string& seen = stream == Stream::Out ? out_ : err_;
    const auto end = Clock::now() + std::chrono::milliseconds(timeout_ms);
    while (seen.find(text) == std::string::npos) {
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now()).count();
        if (left <= 0 || !read_some(static_cast<int>(left))) return false;
    }
    return true;
}

void CfgProcess::signal(int number) {
    signalled_ = Clock::now();
    if (pid_ > 0) kill(pid_, number);
}

int CfgProcess::finish(int timeout_ms) {
    if (pid_ <= 0) return -1;
    const auto end = Clock::now() + std::chrono::milliseconds(timeout_ms);
    int status = 0;
    for (;;) {
        read_some(10);
        const pid_t done = waitpid(pid_, &status, WNOHANG);
        if (done == pid_) break;
        if (Clock::now() >= end) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
            pid_ = -1;
            return -1;
        }
    }
    ended_ = Clock::now();
    pid_ = -1;
    // What it wrote just before the end is still in the pipes; they close with it.
    for (int i = 0; i < 100 && read_some(10); ++i) {
    }
    if (WIFSIGNALED(status)) return 1000 + WTERMSIG(status);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

double CfgProcess::seconds() const {
    return std::chrono::duration<double>(ended_ - started_).count();
}

double CfgProcess::seconds_after_signal() const {
    return std::chrono::duration<double>(ended_ - signalled_).count();
}

Finished run_cfg(const std::vector<std::string>& arguments, int timeout_ms) {
    CfgProcess process(arguments);
    Finished run;
    run.code = process.finish(timeout_ms);
    run.out = process.out();
    run.err = process.err();
    run.seconds = process.seconds();
    return run;
}

const std::string kPanel = std::string(ZQ70CFG_DATA) + "/panel.toml";

std::string temporary(const std::string& name) {
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    return testing::TempDir() + "zq70cfg-" + test->name() + "-" + std::to_string(getpid()) + "-" +
           name;
}

std::string contents(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

void put(const std::string& path, const std::string& data) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << data;
}

} // namespace zq70cfg::test
