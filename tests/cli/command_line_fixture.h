#pragma once

#include <fcntl.h>
#include <gmock/gmock.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <optional>
#include <string>
#include <vector>

#include "support/pass_runner.h"
#include "support/temp_folder.h"
#include "support/zrm_builder.h"

namespace morvane::testing {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

inline const std::string kPrecious = "an older model that must survive";

// morvane-cli as built, and as it runs where the file system makes no
// unnamed temporary files and the model is written under a hidden name.
inline const std::vector<std::string> kPrograms = {MORVANE_CLI, MORVANE_CLI_NAMED_TEMPORARY};

// Where the tool's standard output goes.
enum class StandardOutputTo {
    File,           // stdout.txt in the logs folder
    Nowhere,        // closed, and standard input with it
    GoneReader,     // a pipe whose reader has already gone
    StalledReader,  // a pipe that is never read: the tool waits once it is full
};

// The faults morvane-cli is to meet, set up in its process before it starts.
struct ProcessSetup {
    std::string program = MORVANE_CLI;
    // Writes that reach this many bytes into a file fail with EFBIG, as on a
    // full disk; SIGXFSZ is ignored so that the tool sees the error.
    std::optional<rlim_t> fileSizeLimit{};
    // Runs as the unprivileged user nobody, so that folder permissions bind
    // even when the tests run as root.
    bool asNobody = false;
    StandardOutputTo output = StandardOutputTo::File;
};

// morvane-cli running as a child of the test in `folder`, its standard output
// and error going to stdout.txt and stderr.txt in `logs` (stdout.txt stays
// empty when the output goes elsewhere).
class CliProcess {
public:
    CliProcess(std::vector<std::string> words, const fs::path& folder, const fs::path& logs,
               const ProcessSetup& setup) {
        words.insert(words.begin(), setup.program);
        std::vector<char*> argv;
        for (std::string& word : words) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);
        writeFile(logs / "stdout.txt", "");
        if ((pid_ = ::fork()) == 0) {
            startTool(argv, folder, logs, setup);
        }
    }
    ~CliProcess() { wait(); }

    pid_t pid() const { return pid_; }
    bool running() { return !reaped_ && !(reaped_ = ::waitpid(pid_, &status_, WNOHANG) == pid_); }
    // The raw wait status; a tool still running after a minute is killed, so
    // that a tool waiting for ever fails its test instead of hanging it.
    int wait() {
        for (int waited = 0; running() && waited < 60000; ++waited) {
            ::usleep(1000);
        }
        if (running()) {
            ::kill(pid_, SIGKILL);
            reaped_ = ::waitpid(pid_, &status_, 0) == pid_;
        }
        return status_;
    }

private:
    [[noreturn]] static void startTool(const std::vector<char*>& argv, const fs::path& folder,
                                       const fs::path& logs, const ProcessSetup& setup) {
        // As from a terminal, whatever the test's own parent ignores.
        for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
            ::signal(signal, SIG_DFL);
        }
        const rlim_t size = setup.fileSizeLimit.value_or(RLIM_INFINITY);
        const rlimit limit{size, size};
        int ends[2];
        const bool output =
            setup.output == StandardOutputTo::File ? redirect(logs / "stdout.txt", 1)
            : setup.output == StandardOutputTo::Nowhere
                ? ::close(0) == 0 && ::close(1) == 0
                : ::pipe(ends) == 0 && ::dup2(ends[1], 1) == 1 &&
                      (setup.output == StandardOutputTo::StalledReader || ::close(ends[0]) == 0);
        if (!redirect(logs / "stderr.txt", 2) || !output || ::chdir(folder.c_str()) != 0 ||
            (setup.fileSizeLimit &&
             (::signal(SIGXFSZ, SIG_IGN) == SIG_ERR || ::setrlimit(RLIMIT_FSIZE, &limit) != 0)) ||
            (setup.asNobody &&
             (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))) {
            ::_exit(125);
        }
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }

    static bool redirect(const fs::path& path, int to) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        return fd >= 0 && ::dup2(fd, to) == to;
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

class CommandLine : public ::testing::Test {
protected:
    ToolRun run(const std::vector<std::string>& arguments, const ProcessSetup& setup = {}) {
        const int status = CliProcess(arguments, folder_.path(), logs_.path(), setup).wait();
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(logs_ / "stdout.txt"),
                readFile(logs_ / "stderr.txt")};
    }
    std::string path(const std::string& name) const { return (folder_ / name).string(); }

    TempFolder folder_;
    TempFolder logs_;
    // Every kind of row: copied, dropped, unrecognised, extended, trailing.
    const std::string model_ = containerHeader() + chunk(kXyzs, 0xC0FFEE, 24, payload(24)) +
                               chunk(kHand, 0, 4, payload(4)) + words({7}) +
                               chunk(kPrim, 0, 40, payload(40)) + "a";
};

}  // namespace morvane::testing
