// zq70sim started as a child process for an end-to-end test, stopped when it goes.
#pragma once

#include <string>
#include <vector>

namespace zq70::test {

class SimProcess {
  public:
    // Starts zq70sim with the arguments and waits for the terminal path it prints.
    explicit SimProcess(const std::vector<std::string>& arguments);
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    const std::string& path() const { return path_; }
    // For signals: SIGUSR1 unplugs the simulated device, SIGUSR2 plugs one in.
    int pid() const { return pid_; }
    // Sends SIGTERM and returns the exit status (-1 when it did not exit normally).
    int stop();

  private:
    int pid_ = -1;
    std::string path_;
};

} // namespace zq70::test
