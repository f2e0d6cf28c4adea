#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace torva::test {

// torvactl's exit statuses, as the tests expect them.
constexpr int kOk = 0;
constexpr int kRefused = 1;
constexpr int kUsage = 2;
constexpr int kNoController = 3;

// A file's whole content as bytes ("" when it cannot be read).
std::string readFileText(const std::string& path);

// What one run of torvactl left behind.
struct SToolRun {
    // Exit status; 128 + the signal when a signal ended it; -1 when it had not ended in time.
    int status = -1;
    std::string out;
    std::string err;
    long maxResidentKb = 0; // the child's peak memory
};

// torvactl (or another program) as a child process, with its own home folder (so the remembered
// port, the settings folder and the backups stay inside home) and an English locale.
class CToolProcess {
public:
    // stdoutFd, when given, is the child's standard output instead of a file in home.
    CToolProcess(std::string home, std::vector<std::string> arguments,
                 std::string program = TORVACTL_PROGRAM, std::string outputName = "torvactl",
                 int stdoutFd = -1);
    ~CToolProcess();
    CToolProcess(const CToolProcess&) = delete;
    CToolProcess& operator=(const CToolProcess&) = delete;

    // Waits until the child has written something on stdout; false on time-out.
    bool waitForOutput(int timeoutMs) const;
    // Ends the child at once, as a pulled plug would.
    void kill();
    // Waits for the exit (killing the child after timeoutMs) and collects its output.
    SToolRun finish(int timeoutMs);

private:
    pid_t m_pid = -1;
    std::string m_outPath;
    std::string m_errPath;
};

// Runs torvactl to its end.
SToolRun runTool(const std::string& home, std::vector<std::string> arguments,
                 int timeoutMs = 20000);
// The same with standard output on stdoutFd (a full device, a pipe nobody reads).
SToolRun runToolWritingTo(int stdoutFd, const std::string& home, std::vector<std::string> arguments,
                          int timeoutMs = 20000);

} // namespace torva::test
