#include "sim_process.h"

#include <csignal>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/support/exec_program.h"

namespace zq70::test {

SimProcess::SimProcess(const std::vector<std::string>& arguments) {
    int out[2];
    if (pipe(out) != 0) return;
    pid_ = fork();
    if (pid_ == 0) {
        dup2(out[1], STDOUT_FILENO);
        close(out[0]);
        close(out[1]);
        exec_program(ZQ70SIM_PATH, arguments);
    }
    close(out[1]);
    char c = 0;
    while (read(out[0], &c, 1) == 1 && c != '\n')
        path_ += c;
    close(out[0]);
}

SimProcess::~SimProcess() {
    stop();
}

int SimProcess::stop() {
    if (pid_ <= 0) return -1;
    kill(pid_, SIGTERM);
    int status = 0;
    waitpid(pid_, &status, 0);
    pid_ = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace zq70::test
