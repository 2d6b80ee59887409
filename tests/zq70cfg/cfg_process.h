// zq70cfg run as a child process, as a script or a shell runs it: its exit code and its
// output are the contract under test.
#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace zq70cfg::test {

enum class Stream { Out, Err };

class CfgProcess {
  public:
    // Starts zq70cfg with the arguments; standard error goes to a pseudo-terminal when
    // stderr_on_terminal is set, to a pipe otherwise.
    explicit CfgProcess(const std::vector<std::string>& arguments, bool stderr_on_terminal = false);
    // Kills the program if it still runs.
    ~CfgProcess();
    CfgProcess(const CfgProcess&) = delete;
    CfgProcess& operator=(const CfgProcess&) = delete;

    // Reads output until the stream holds text; false when timeout_ms pass first or the
    // program has closed its output without it.
    bool wait_for(Stream stream, const std::string& text, int timeout_ms);
    void signal(int number);
    // Waits for the end: the exit code, 1000 + the signal number when a signal killed it,
    // or -1 when it was still running after timeout_ms (it is killed then).
    int finish(int timeout_ms);
    // Seconds from the start, or from the last signal sent, to the end.
    double seconds() const;
    double seconds_after_signal() const;

    const std::string& out() const { return out_; }
    const std::string& err() const { return err_; }

  private:
    // Takes what arrives within timeout_ms; false once both streams are closed.
    bool read_some(int timeout_ms);

    using Clock = std::chrono::steady_clock;
    int pid_ = -1;
    int out_fd_ = -1;
    int err_fd_ = -1;
    std::string out_;
    std::string err_;
    Clock::time_point started_ = Clock::now();
    Clock::time_point signalled_ = started_;
    Clock::time_point ended_ = started_;
};

struct Finished {
    int code = -1;
    std::string out;
    std::string err;
    double seconds = 0;
};

// Runs zq70cfg to its end (killed after timeout_ms).
Finished run_cfg(const std::vector<std::string>& arguments, int timeout_ms = 30000);

// The configuration text that the command tests write and compare.
extern const std::string kPanel;

// A file name of the running test's own in the temporary folder.
std::string temporary(const std::string& name);
std::string contents(const std::string& path);
void put(const std::string& path, const std::string& data);

} // namespace zq70cfg::test
