#pragma once

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "temp_folder.h"

namespace morvane::testing {

// Where the tool's standard output goes.
enum class StandardOutputTo {
    Log,         // stdout.txt in the logs folder
    Nowhere,     // closed, and standard input with it
    GoneReader,  // a pipe whose reader has already gone
    File,        // ProcessSetup::outputFile, for example a device node the test made
};

// The faults morvane-cli is to meet, set up in its process before it starts.
struct ProcessSetup {
    // The tool to run: morvane-cli, or a build of it that meets a file system
    // without unnamed temporary files.
    std::string program = MORVANE_CLI;
    std::filesystem::path workingFolder{};  // empty: the test's own
    // Writes that reach this many bytes into a file fail with EFBIG, as on a
    // full disk; SIGXFSZ is ignored so that the tool sees the error.
    std::optional<rlim_t> fileSizeLimit{};
    // Runs as the unprivileged user nobody, so that folder permissions bind
    // even when the tests run as root.
    bool asNobody = false;
    StandardOutputTo output = StandardOutputTo::Log;
    std::filesystem::path outputFile{};
};

// morvane-cli running as a child of the test, its standard output and error
// kept in stdout.txt and stderr.txt in the folder `logs`.
class CliProcess {
public:
    CliProcess(const std::vector<std::string>& arguments, const std::filesystem::path& logs,
               const ProcessSetup& setup = {}) {
        std::vector<std::string> words{setup.program};
        words.insert(words.end(), arguments.begin(), arguments.end());
        std::vector<char*> argv;
        for (std::string& word : words) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);
        pid_ = ::fork();
        if (pid_ == 0) {
            startTool(argv, logs, setup);
        }
    }
    CliProcess(const CliProcess&) = delete;
    CliProcess& operator=(const CliProcess&) = delete;
    ~CliProcess() {
        if (pid_ > 0 && !reaped_) {
            ::kill(pid_, SIGKILL);
            wait();
        }
    }

    pid_t pid() const { return pid_; }

    // Whether the tool is still running; reaps it when it has ended.
    bool running() {
        if (!reaped_ && ::waitpid(pid_, &status_, WNOHANG) == pid_) {
            reaped_ = true;
        }
        return !reaped_;
    }

    // The raw wait status once the tool has ended.
    int wait() {
        if (!reaped_) {
            ::waitpid(pid_, &status_, 0);
            reaped_ = true;
        }
        return status_;
    }

private:
    [[noreturn]] static void startTool(const std::vector<char*>& argv,
                                       const std::filesystem::path& logs,
                                       const ProcessSetup& setup) {
        const int err = ::open((logs / "stderr.txt").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        const rlim_t size = setup.fileSizeLimit.value_or(RLIM_INFINITY);
        const rlimit limit{size, size};
        if (err < 0 || ::dup2(err, 2) < 0 || !redirectOutput(setup, logs) ||
            (!setup.workingFolder.empty() && ::chdir(setup.workingFolder.c_str()) != 0) ||
            (setup.fileSizeLimit &&
             (::signal(SIGXFSZ, SIG_IGN) == SIG_ERR || ::setrlimit(RLIMIT_FSIZE, &limit) != 0)) ||
            (setup.asNobody &&
             (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))) {
            ::_exit(125);
        }
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }

    static bool redirectOutput(const ProcessSetup& setup, const std::filesystem::path& logs) {
        switch (setup.output) {
            case StandardOutputTo::Log:
                return redirectTo(logs / "stdout.txt", O_WRONLY | O_CREAT | O_TRUNC);
            case StandardOutputTo::File:
                // Left untouched, so that a test can see it still holds nothing.
                std::ofstream(logs / "stdout.txt", std::ios::trunc);
                return redirectTo(setup.outputFile, O_WRONLY);
            case StandardOutputTo::Nowhere:
                std::ofstream(logs / "stdout.txt", std::ios::trunc);
                return ::close(0) == 0 && ::close(1) == 0;
            case StandardOutputTo::GoneReader: {
                std::ofstream(logs / "stdout.txt", std::ios::trunc);
                int ends[2];
                return ::pipe(ends) == 0 && ::close(ends[0]) == 0 && ::dup2(ends[1], 1) == 1;
            }
        }
        return false;
    }

    static bool redirectTo(const std::filesystem::path& path, int flags) {
        const int fd = ::open(path.c_str(), flags, 0644);
        return fd >= 0 && ::dup2(fd, 1) == 1;
    }

    pid_t pid_ = -1;
    bool reaped_ = false;
    int status_ = 0;
};

struct ToolRun {
    int exitCode;  // -1 when a signal ended the tool
    std::string out;
    std::string err;
};

// A run that outlasts a minute is ended, so that a tool waiting for ever
// fails its test instead of hanging it.
inline ToolRun runCli(const std::vector<std::string>& arguments, const std::filesystem::path& logs,
                      const ProcessSetup& setup = {}) {
    CliProcess tool(arguments, logs, setup);
    for (int waited = 0; tool.running() && waited < 60000; ++waited) {
        ::usleep(1000);
    }
    if (tool.running()) {
        ::kill(tool.pid(), SIGKILL);
    }
    const int status = tool.wait();
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(logs / "stdout.txt"),
            readFile(logs / "stderr.txt")};
}

}  // namespace morvane::testing
