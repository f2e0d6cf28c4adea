#include "torvactl_process.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace torva::test {

std::string readFileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

namespace {

std::string readFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<std::string> childEnvironment(const std::string& home) {
    std::vector<std::string> environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        const std::string name = text.substr(0, text.find('='));
        if (name == "HOME" || name == "XDG_CONFIG_HOME" || name == "XDG_DOCUMENTS_DIR" ||
            name == "LANGUAGE" || name == "LC_ALL" || name == "LC_MESSAGES" || name == "LANG")
            continue;
        environment.push_back(text);
    }
    environment.push_back("HOME=" + home);
    environment.push_back("XDG_CONFIG_HOME=" + home + "/.config");
    environment.push_back("LANG=en_GB.UTF-8");
    return environment;
}

} // namespace

CToolProcess::CToolProcess(std::string home, std::vector<std::string> arguments,
                           std::string program, std::string outputName, int stdoutFd)
    : m_outPath(home + "/." + outputName + ".stdout"),
      m_errPath(home + "/." + outputName + ".stderr") {
    arguments.insert(arguments.begin(), std::move(program));
    std::vector<char*> argv;
    for (std::string& argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    std::vector<std::string> environment = childEnvironment(home);
    std::vector<char*> envp;
    for (std::string& entry : environment)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (stdoutFd >= 0)
        posix_spawn_file_actions_adddup2(&actions, stdoutFd, STDOUT_FILENO);
    else
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, m_outPath.c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, m_errPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int result = posix_spawn(&m_pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (result != 0)
        throw std::runtime_error(std::string("cannot start ") + argv[0]);
}

void CToolProcess::kill() {
    if (m_pid > 0) {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
        m_pid = -1;
    }
}

CToolProcess::~CToolProcess() {
    if (m_pid > 0) {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
    }
}

bool CToolProcess::waitForOutput(int timeoutMs) const {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (std::chrono::steady_clock::now() < deadline) {
        std::error_code error;
        if (std::filesystem::file_size(m_outPath, error) > 0 && !error)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

SToolRun CToolProcess::finish(int timeoutMs) {
    SToolRun run;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    int status = 0;
    pid_t done = 0;
    rusage usage{};
    while ((done = ::wait4(m_pid, &status, WNOHANG, &usage)) == 0 &&
           std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    run.maxResidentKb = usage.ru_maxrss;
    if (done == 0) {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, &status, 0);
    } else if (WIFEXITED(status)) {
        run.status = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        run.status = 128 + WTERMSIG(status); // a crash, told apart from a hang
    }
    m_pid = -1;
    run.out = readFile(m_outPath);
    run.err = readFile(m_errPath);
    return run;
}

SToolRun runTool(const std::string& home, std::vector<std::string> arguments, int timeoutMs) {
    CToolProcess process(home, std::move(arguments));
    return process.finish(timeoutMs);
}

SToolRun runToolWritingTo(int stdoutFd, const std::string& home, std::vector<std::string> arguments,
                          int timeoutMs) {
    CToolProcess process(home, std::move(arguments), TORVACTL_PROGRAM, "torvactl", stdoutFd);
    return process.finish(timeoutMs);
}

} // namespace torva::test
