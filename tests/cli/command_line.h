#pragma once

// morvane-cli run as a user runs it, in a process of its own, with the faults
// it is to meet set up before it starts; the command-line tests' fixture.
#include <fcntl.h>
#include <gmock/gmock.h>
#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <array>
#include <map>
#include <nlohmann/json.hpp>
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

// morvane-cli, and a build of it that must take the named temporary file.
inline const std::vector<std::string> kPrograms = {MORVANE_CLI, MORVANE_CLI_NAMED_TEMPORARY};

enum class StandardOutputTo {
    File,           // stdout.txt in the logs folder
    Nowhere,        // closed, and standard input with it
    GoneReader,     // a pipe whose reader has already gone
    StalledReader,  // a pipe that is never read: the tool waits once it is full
};

enum class StandardErrorTo {
    File,     // stderr.txt in the logs folder
    Nowhere,  // closed
};

// The faults morvane-cli is to meet, set up in its process before it starts.
struct ProcessSetup {
    std::string program = MORVANE_CLI;
    // Writes that reach this many bytes into a file meet the file-size limit,
    // as `ulimit -f` sets it: SIGXFSZ, unless the tool takes care, then EFBIG.
    std::optional<rlim_t> fileSizeLimit{};
    // The address space the tool may have, as `ulimit -v` sets it.
    std::optional<rlim_t> addressSpaceLimit{};
    // How many files the tool may have open, and how many it finds open.
    std::optional<rlim_t> openFileLimit{};
    int inheritedFiles = 0;
    // Runs as the unprivileged user nobody, so that folder permissions bind
    // even when the tests run as root.
    bool asNobody = false;
    StandardOutputTo output = StandardOutputTo::File;
    StandardErrorTo errors = StandardErrorTo::File;
    int ignoredSignal = 0;  // as under nohup
    // What strace injects into the tool's system calls, as "rename:signal=SIGTERM":
    // the tool meets it at that very call, every time.
    std::string injected{};
    // The system calls strace notes in strace.txt in the logs folder, as "openat".
    std::string traced{};
    // Only the calls on this file, named absolute, are met.
    std::string onFile{};
    // The file standard input reads, as with `< FILE`; none: the test's own.
    std::string input{};
    // The mask new files and folders are made with, as `umask` sets it.
    std::optional<mode_t> fileMask{};
};

// morvane-cli as a child in `folder`, its output in stdout.txt and stderr.txt in `logs`.
class CliProcess {
public:
    CliProcess(std::vector<std::string> words, const fs::path& folder, const fs::path& logs,
               const ProcessSetup& setup) {
        words.insert(words.begin(), setup.program);
        if (!setup.injected.empty() || !setup.traced.empty()) {
            // The leak checker of a sanitized build cannot run under strace.
            const char* options = ::getenv("ASAN_OPTIONS");
            words.insert(
                words.begin(),
                {"/usr/bin/strace", "-qq", "-o", (logs / "strace.txt").string(), "-E",
                 "ASAN_OPTIONS=" + std::string(options != nullptr ? options : "") +
                     ":detect_leaks=0",
                 "-e",
                 setup.injected.empty() ? "trace=" + setup.traced : "inject=" + setup.injected});
            if (!setup.onFile.empty()) {
                words.insert(words.begin() + 1, {"-P", setup.onFile});
            }
        }
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
        for (int waited = 0; running(); ++waited) {
            if (waited == 60000) {
                ::kill(pid_, SIGKILL);
            }
            ::usleep(1000);
        }
        return status_;
    }

private:
    [[noreturn]] static void startTool(const std::vector<char*>& argv, const fs::path& folder,
                                       const fs::path& logs, const ProcessSetup& setup) {
        // As from a terminal, whatever the test's own parent ignores.
        for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT, SIGXFSZ}) {
            ::signal(signal, signal == setup.ignoredSignal ? SIG_IGN : SIG_DFL);
        }
        const rlim_t size = setup.fileSizeLimit.value_or(RLIM_INFINITY);
        const rlimit limit{size, size};
        for (int i = 0; i < setup.inheritedFiles; ++i) {
            ::dup(2);
        }
        // SIGQUIT would leave a core dump among the files a test looks at.
        const rlimit noCore{0, 0};
        ::setrlimit(RLIMIT_CORE, &noCore);
        const rlim_t space = setup.addressSpaceLimit.value_or(RLIM_INFINITY);
        const rlimit memory{space, space};
        const rlim_t open = setup.openFileLimit.value_or(RLIM_INFINITY);
        const rlimit files{open, open};
        int ends[2];
        const bool output =
            setup.output == StandardOutputTo::File ? redirect(logs / "stdout.txt", 1)
            : setup.output == StandardOutputTo::Nowhere
                ? ::close(0) == 0 && ::close(1) == 0
                : ::pipe(ends) == 0 && ::dup2(ends[1], 1) == 1 &&
                      (setup.output == StandardOutputTo::StalledReader || ::close(ends[0]) == 0);
        const bool errors = setup.errors == StandardErrorTo::File ? redirect(logs / "stderr.txt", 2)
                                                                  : ::close(2) == 0;
        const bool input = setup.input.empty() || readFrom(setup.input, 0);
        if (setup.fileMask) {
            ::umask(*setup.fileMask);
        }
        if (!errors || !output || !input || ::chdir(folder.c_str()) != 0 ||
            (setup.fileSizeLimit && ::setrlimit(RLIMIT_FSIZE, &limit) != 0) ||
            (setup.openFileLimit && ::setrlimit(RLIMIT_NOFILE, &files) != 0) ||
            (setup.addressSpaceLimit && ::setrlimit(RLIMIT_AS, &memory) != 0) ||
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

    static bool readFrom(const fs::path& path, int to) {
        const int fd = ::open(path.c_str(), O_RDONLY);
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
    int signal;  // that ended the tool, or 0
};

class CommandLine : public ::testing::Test {
protected:
    ToolRun run(const std::vector<std::string>& arguments, const ProcessSetup& setup = {}) {
        const int status = CliProcess(arguments, folder_.path(), logs_.path(), setup).wait();
        return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readFile(logs_ / "stdout.txt"),
                readFile(logs_ / "stderr.txt"), WIFSIGNALED(status) ? WTERMSIG(status) : 0};
    }
    std::string path(const std::string& name) const { return (folder_ / name).string(); }

    TempFolder folder_;
    TempFolder logs_;
    // Every kind of row: copied, dropped, unrecognised, extended, trailing.
    const std::string model_ = containerHeader() + chunk(kXyzs, 0xC0FFEE, 24, payload(24)) +
                               chunk(kHand, 0, 4, payload(4)) + words({7}) +
                               chunk(kPrim, 0, 40, payload(40)) + "a";
};

// Each line of standard error up to the name it is about.
inline std::vector<std::string> subjects(const std::string& err) {
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < err.size(); at = err.find('\n', at) + 1) {
        lines.push_back(err.substr(at, err.find('\'', err.find('\'', at) + 1) + 1 - at));
    }
    return lines;
}

// Owner, group and mode of `file`, and its attribute and access control list.
inline std::string ownership(const std::string& file) {
    struct stat status {};
    ::stat(file.c_str(), &status);
    std::string text = std::to_string(status.st_uid) + " " + std::to_string(status.st_gid) + " " +
                       std::to_string(status.st_mode & 07777);
    for (const char* name : {"user.origin", "system.posix_acl_access"}) {
        char value[256];
        const ssize_t size = ::getxattr(file.c_str(), name, value, sizeof value);
        text += " " + (size < 0 ? "(none)" : std::string(value, static_cast<std::size_t>(size)));
    }
    return text;
}

// A small model of its own for each number, so that every output tells
// which model it came from.
inline std::string numberedModel(std::uint32_t number) {
    return containerHeader() + chunk(kXyzs, number, 4, words({number})) +
           chunk(kPrim, 0, 8, words({number, 7 * number}));
}

// The summary of a model that numberedModel made, written to `output` as
// the tool shows its name.
inline std::string wroteNumbered(const std::string& output, int volumes) {
    const std::size_t bytes = rewriteInMemory(numberedModel(1), volumes).output.size();
    return "morvane-cli: wrote '" + output + "' (" + std::to_string(bytes) +
           " bytes): 2 chunks copied, 1 PRIM chunk extended with " + std::to_string(volumes) +
           (volumes == 1 ? " volume" : " volumes") + ", 0 HAND chunks dropped";
}

// Everything under `folder`, links not followed, by its path below it: what
// it is, its mode, and a file's inode and bytes, so that a run that changed,
// replaced or made anything there shows.
inline std::map<std::string, std::string> treeOf(const fs::path& folder) {
    std::map<std::string, std::string> tree;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        struct stat status {};
        ::lstat(entry.path().c_str(), &status);
        std::string what = std::to_string(status.st_mode) + " ";
        if (S_ISREG(status.st_mode)) {
            what += std::to_string(status.st_ino) + " " + readFile(entry.path());
        } else if (S_ISLNK(status.st_mode)) {
            what += fs::read_symlink(entry.path()).string();
        }
        tree[fs::relative(entry.path(), folder).string()] = what;
    }
    return tree;
}

// The lines of a text, each without its newline.
inline std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < text.size();) {
        const std::size_t end = std::min(text.find('\n', at), text.size());
        lines.push_back(text.substr(at, end - at));
        at = end + 1;
    }
    return lines;
}

// Each line of standard output as the JSON object it must be; a line that is
// not one fails the test.
inline std::vector<nlohmann::json> jsonLines(const std::string& out) {
    std::vector<nlohmann::json> objects;
    for (const std::string& line : linesOf(out)) {
        if (!nlohmann::json::accept(line)) {
            ADD_FAILURE() << "not a line of JSON: " << line;
            continue;
        }
        objects.push_back(nlohmann::json::parse(line));
        EXPECT_TRUE(objects.back().is_object()) << line;
    }
    EXPECT_TRUE(out.empty() || out.ends_with('\n')) << out;
    return objects;
}

// A trace of several hundred kilobytes, more than any buffer or pipe holds.
inline std::string manyChunks() {
    std::string model = containerHeader();
    for (int i = 0; i < 20000; ++i) {
        model += chunk(kPrim, 0, 8, payload(8));
    }
    return model;
}

}  // namespace morvane::testing
