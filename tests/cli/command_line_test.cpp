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
#include <optional>
#include <string>
#include <vector>

#include "support/pass_runner.h"
#include "support/temp_folder.h"
#include "support/zrm_builder.h"

namespace morvane::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

const std::string kPrecious = "an older model that must survive";

// morvane-cli, and a build of it that must take the named temporary file.
const std::vector<std::string> kPrograms = {MORVANE_CLI, MORVANE_CLI_NAMED_TEMPORARY};

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
        if (!errors || !output || ::chdir(folder.c_str()) != 0 ||
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

// A count is decimal however it begins, as the window's field reads it.
TEST_F(CommandLine, StandardOutputIsExactlyTheTraceAndTheSummaryGoesToErrors) {
    writeFile(path("in.zrm"), model_);
    writeFile(path("plain.zrm"), containerHeader() + chunk(kPrim, 0, 4, payload(4)));
    fs::create_directory(path("out"));
    const ToolRun result = run({"-n", "010", "in.zrm", "out.zrm"});
    EXPECT_EQ(result.out, rewriteInMemory(model_, 10).trace);
    EXPECT_EQ(readFile(path("out.zrm")), rewriteInMemory(model_, 10).output);
    EXPECT_EQ(result.err,
              "morvane-cli: wrote 'out.zrm' (168 bytes): 2 chunks copied, 1 PRIM chunk extended "
              "with 10 volumes, 1 HAND chunk dropped, 4 bytes of unrecognised words passed over, 1 "
              "trailing byte dropped\n");
    EXPECT_EQ(run({"-q", "-n", "1000", "-d", "out", "plain.zrm"}).err,
              "morvane-cli: wrote 'out/plain.zrm' (4056 bytes): 1 chunk copied, 1 PRIM chunk "
              "extended with 1000 volumes, 0 HAND chunks dropped\n");
    // A run of unrecognised words counts every byte of it; --skip-rewritten
    // leaves out only a model that was rewritten before.
    writeFile(path("run.zrm"), containerHeader() + words({7, 8, 9}) +
                                   chunk(kPrim, 0, 4, payload(4)) + words({5, 6}));
    EXPECT_EQ(run({"-q", "-n", "1", "--skip-rewritten", "run.zrm", "run-out.zrm"}).err,
              "morvane-cli: wrote 'run-out.zrm' (60 bytes): 1 chunk copied, 1 PRIM chunk extended "
              "with 1 volume, 0 HAND chunks dropped, 20 bytes of unrecognised words passed over\n");
    EXPECT_EQ(readFile(path("run-out.zrm")), rewriteInMemory(readFile(path("run.zrm")), 1).output);
}

// The count is read as the window's field reads it: white space around it
// and one leading plus sign are taken; what the field refuses is refused.
TEST_F(CommandLine, TheCountIsReadAsTheWindowReadsIt) {
    writeFile(path("in.zrm"), model_);
    for (const std::string count : {" 3", "+3", "3\t", " +3 "}) {
        SCOPED_TRACE(count);
        fs::remove(path("out.zrm"));
        const ToolRun result = run({"-q", "-n", count, "in.zrm", "out.zrm"});
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(readFile(path("out.zrm")), rewriteInMemory(model_, 3).output);
    }
    EXPECT_EQ(run({"-q", "--volumes= +3", "in.zrm", "out.zrm"}).exitCode, 0);
    const std::string count =
        "--volumes: the number of collision volumes must be a whole number from 1 to 1000, not ";
    for (const std::string refused : {"+-3", "++3", "+ 3", "3 3", "0x3", " "}) {
        const ToolRun result = run({"-n", refused, "in.zrm", "refused.zrm"});
        EXPECT_EQ(result.exitCode, 2) << refused;
        EXPECT_EQ(result.err, "morvane-cli: " + count + "'" + refused +
                                  "'\nRun 'morvane-cli --help' for usage.\n");
    }
    EXPECT_EQ(folder_.listing(), "in.zrm out.zrm ");
}

TEST_F(CommandLine, UsageErrorsExitTwoAndSayWhatWasExpected) {
    writeFile(path("in.zrm"), model_);
    fs::create_directory(path("adir"));
    const std::string count =
        "--volumes: the number of collision volumes must be a whole number from 1 to 1000, not ";
    const std::string twoPaths = "expected INPUT and OUTPUT, got ";
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"in.zrm", "out.zrm"}, "--volumes is required"},
        {{"-n", "0", "in.zrm", "out.zrm"}, count + "'0'"},
        {{"-n", "1001", "in.zrm", "out.zrm"}, count + "'1001'"},
        {{"-n", "5\x1b", "in.zrm", "out.zrm"}, count + "'5\\x1B'"},
        {{"-n", "2", "-d", "", "in.zrm"},
         "--directory: the folder given with -d must not be empty"},
        {{"-n", "2", "--directory=", "adir", "in.zrm"},
         "--directory: the folder given with -d must not be empty"},
        {{"--volumes=", "in.zrm", "out.zrm"}, count + "''"},
        {{"-n", "2", "", "out.zrm"}, "paths: a path must not be empty"},
        {{"-n", "2"}, twoPaths + "0 paths (use -d DIR to rewrite several models)"},
        {{"-n", "2", "in.zrm"}, twoPaths + "1 path (use -d DIR to rewrite several models)"},
        {{"-n", "2", "in.zrm", "a", "b"},
         twoPaths + "3 paths (use -d DIR to rewrite several models)"},
        {{"-n", "2", "-d", "out"}, "expected one or more inputs after -d DIR"},
        {{"--list"}, "expected one or more inputs after --list"},
        {{"-n", "2", "-d", "out", "in.zrm", "out/../in.zrm"},
         "two inputs are named 'in.zrm'; with -d each model is written under its own file name"},
        {{"--list", "-n", "2", "in.zrm"}, "--volumes excludes --list"},
        {{"--list", "-d", "out", "in.zrm"}, "--directory excludes --list"},
        {{"--list", "-q", "in.zrm"}, "--quiet excludes --list"},
        {{"--list", "--skip-rewritten", "in.zrm"}, "--skip-rewritten excludes --list"},
        {{"--json", "in.zrm"}, "--json requires --list"},
    };
    for (const auto& [arguments, message] : cases) {
        const ToolRun result = run(arguments);
        EXPECT_EQ(result.exitCode, 2) << message;
        EXPECT_EQ(result.err,
                  "morvane-cli: " + message + "\nRun 'morvane-cli --help' for usage.\n");
    }
    EXPECT_THAT(run({"--help"}).out, HasSubstr("Usage: morvane-cli"));
    EXPECT_EQ(folder_.listing() + TempFolder::namesIn(path("adir")), "adir in.zrm ");
}

TEST_F(CommandLine, ListShowsEveryRowAsTableOrJsonWithTheRefusal) {
    writeFile(path("in.zrm"),
              containerHeader() + chunk(kXyzs, 0xC0FFEE, 24, payload(24)) + words({7}) + "a");
    writeFile(path("a\"b.zrm"), containerHeader() + chunk(kPrim, 0, 9, ""));
    const ToolRun table = run({"--list", "in.zrm", "a\"b.zrm"});
    EXPECT_EQ(table.exitCode, 1);
    EXPECT_EQ(table.out, R"('in.zrm'
      offset  tag   second word    size word         bytes
           0  ZRM4   0x11111111          100            12
          12  XYZS   0x00C0FFEE           24            36
          48  unrecognised words                         4
          52  trailing bytes                             1

'a"b.zrm'
      offset  tag   second word    size word         bytes
           0  ZRM4   0x11111111          100            12
)");
    EXPECT_EQ(table.err,
              "morvane-cli: 'a\"b.zrm': PRIM chunk at offset 12: the payload needs 9 bytes, only 0 "
              "remain\n");
    const ToolRun json = run({"--list", "--json", "in.zrm", "a\"b.zrm"});
    EXPECT_EQ(json.exitCode, 1);
    EXPECT_EQ(json.err, table.err);
    EXPECT_EQ(json.out, R"([
  {"file": "in.zrm", "chunks": [
    {"type":"chunk","tag":"ZRM4","offset":0,"bytes":12,"second":286331153,"size":100},
    {"type":"chunk","tag":"XYZS","offset":12,"bytes":36,"second":12648430,"size":24},
    {"type":"unrecognised","offset":48,"bytes":4},
    {"type":"trailing","offset":52,"bytes":1}
  ], "block": null, "error": null},
  {"file": "a\"b.zrm", "chunks": [
    {"type":"chunk","tag":"ZRM4","offset":0,"bytes":12,"second":286331153,"size":100}
  ], "block": null, "error": "'a\"b.zrm': PRIM chunk at offset 12: the payload needs 9 bytes, only 0 remain"}
]
)");
    EXPECT_EQ(folder_.listing(), "a\"b.zrm in.zrm ");
}

// A STRN chunk's size word is its payload's length without the padding that
// follows it, which the bytes it occupies count.
TEST_F(CommandLine, TheListingGivesAStrnChunksSizeWordAndItsPaddedBytes) {
    writeFile(path("in.zrm"),
              containerHeader() + chunk(kStrn, 3, 5, payload(5) + std::string(3, '\0')));
    const std::string row =
        R"("type":"chunk","tag":"STRN","offset":12,"bytes":20,"second":3,"size":5)";
    EXPECT_THAT(run({"--list", "--json", "in.zrm"}).out, HasSubstr("{" + row + "}"));
    EXPECT_THAT(run({"--list", "in.zrm"}).out,
                HasSubstr("          12  STRN   0x00000003            5            20\n"));
}

// A lookalike's last PRIM chunk only ends like a block.
TEST_F(CommandLine, AModelRewrittenBeforeIsListedWithItsBlockAndWarnedOf) {
    const std::string rewritten = rewriteInMemory(model_, 3).output;
    const std::string lookalike = containerHeader() +
                                  chunk(kPrim, 0, 60, payload(40) + words({4, 3, 0, 0, 0})) +
                                  closingHand(40);
    const std::string noPrim = rewriteInMemory(containerHeader(), 3).output;
    writeFile(path("old.zrm"), rewritten);
    writeFile(path("lookalike.zrm"), lookalike);
    writeFile(path("noprim.zrm"), noPrim);
    EXPECT_THAT(run({"--list", "old.zrm"}).out,
                ::testing::EndsWith("\nblock: 3 collision volumes at offset 100, in the PRIM chunk "
                                    "at offset 48 (payload offset 40); the model was rewritten "
                                    "before\n"));
    EXPECT_THAT(run({"--list", "--json", "old.zrm"}).out,
                HasSubstr(R"(], "block": {"offset":100,"prim_offset":48,)"
                          R"("payload_offset":40,"volumes":3}, "error": null})"));

    const ToolRun again = run({"-q", "-n", "2", "old.zrm", "out.zrm"});
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_EQ(again.err.substr(0, again.err.find("\nmorvane-cli: wrote")),
              "morvane-cli: warning: 'old.zrm' already carries a block of 3 collision volumes (in "
              "its last PRIM chunk, at offset 48): it was rewritten before, and this rewrite adds "
              "a second block to every PRIM chunk");
    EXPECT_EQ(readFile(path("out.zrm")), rewriteInMemory(rewritten, 2).output);
    EXPECT_EQ(run({"--skip-rewritten", "-n", "2", "old.zrm", "skipped.zrm"}).exitCode, 0);
    EXPECT_FALSE(fs::exists(path("skipped.zrm")));

    fs::create_directory(path("out"));
    const ToolRun batch = run({"-q", "-n", "2", "--skip-rewritten", "-d", "out", "old.zrm",
                               "lookalike.zrm", "noprim.zrm"});
    EXPECT_EQ(batch.exitCode, 0) << batch.err;
    EXPECT_EQ(batch.out, "");
    EXPECT_THAT(batch.err, HasSubstr("morvane-cli: left out 'old.zrm': it already carries a block "
                                     "of 3 collision volumes (in its last PRIM chunk, at offset "
                                     "48); 'out/old.zrm' was not written\n"));
    EXPECT_THAT(batch.err, ::testing::Not(HasSubstr("warning")));
    EXPECT_EQ(TempFolder::namesIn(path("out")), "lookalike.zrm noprim.zrm ");
    for (const auto& [name, model] :
         {std::pair{"lookalike.zrm", lookalike}, std::pair{"noprim.zrm", noPrim}}) {
        EXPECT_EQ(readFile(path("out/") + name), rewriteInMemory(model, 2).output) << name;
    }
}

// Wherever a model is read from, named relative or absolute, it is written
// into the folder under its own file name.
TEST_F(CommandLine, ABatchWritesEachModelIntoTheFolderUnderItsFileName) {
    fs::create_directories(path("in/deep"));
    fs::create_directory(path("out"));
    writeFile(path("in/a.zrm"), model_);
    writeFile(path("in/deep/b.zrm"), model_);
    const ToolRun result = run({"-q", "-n", "2", "-d", "out", "in/a.zrm", path("in/deep/b.zrm")});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(TempFolder::namesIn(path("out")), "a.zrm b.zrm ");
    for (const char* name : {"out/a.zrm", "out/b.zrm"}) {
        EXPECT_EQ(readFile(path(name)), rewriteInMemory(model_, 2).output) << name;
    }
}

// Links in the folder may lead two outputs to one file, which would then keep
// only the later model.
TEST_F(CommandLine, TwoOutputsOfABatchThatAreOneFileAreNotBothWritten) {
    const std::vector<std::string> names = {"x.zrm", "y.zrm", "z.zrm", "a.zrm", "b.zrm"};
    std::map<std::string, std::string> models;
    std::uint32_t size = 0;
    for (const std::string& name : names) {
        size += 4;
        models[name] = containerHeader() + chunk(kPrim, 0, size, payload(size));
        writeFile(path(name), models[name]);
    }
    fs::create_directory(path("out"));
    writeFile(path("out/y.zrm"), kPrecious);
    fs::create_symlink("y.zrm", path("out/x.zrm"));
    writeFile(path("out/a.zrm"), kPrecious);
    fs::create_hard_link(path("out/a.zrm"), path("out/b.zrm"));
    std::vector<std::string> arguments = {"-q", "-n", "3", "-d", "out"};
    arguments.insert(arguments.end(), names.begin(), names.end());
    const ToolRun result = run(arguments);
    EXPECT_EQ(result.exitCode, 1);
    for (const auto& [second, first] : {std::pair{"y", "x"}, std::pair{"b", "a"}}) {
        EXPECT_THAT(result.err,
                    HasSubstr("morvane-cli: refusing to write 'out/" + std::string(second) +
                              ".zrm': it is the same file as "
                              "'out/" +
                              first +
                              ".zrm', which this run writes too, and one of the two "
                              "models would be lost\n"));
    }
    EXPECT_EQ(readFile(path("out/y.zrm")), rewriteInMemory(models["x.zrm"], 3).output);
    EXPECT_EQ(readFile(path("out/z.zrm")), rewriteInMemory(models["z.zrm"], 3).output);
    EXPECT_EQ(readFile(path("out/a.zrm")), rewriteInMemory(models["a.zrm"], 3).output);
    EXPECT_EQ(readFile(path("out/b.zrm")), kPrecious);
    EXPECT_EQ(TempFolder::namesIn(path("out")), "a.zrm b.zrm x.zrm y.zrm z.zrm ");

    // An output may also lead to a model of the batch, read before it or after.
    fs::create_directory(path("out2"));
    fs::create_symlink("../z.zrm", path("out2/x.zrm"));
    fs::create_symlink("../x.zrm", path("out2/z.zrm"));
    const ToolRun inputs = run({"-q", "-n", "3", "-d", "out2", "x.zrm", "y.zrm", "z.zrm"});
    EXPECT_EQ(inputs.exitCode, 1);
    for (const auto& [output, input] : {std::pair{"x", "z"}, std::pair{"z", "x"}}) {
        EXPECT_THAT(inputs.err, HasSubstr("morvane-cli: refusing to write 'out2/" +
                                          std::string(output) + ".zrm': it leads to '" + input +
                                          ".zrm', a model this run reads, which would be lost\n"));
        EXPECT_EQ(readFile(path(std::string(input) + ".zrm")), models[std::string(input) + ".zrm"]);
    }
    EXPECT_EQ(readFile(path("out2/y.zrm")), rewriteInMemory(models["y.zrm"], 3).output);
}

// Each line of standard error up to the name it is about.
std::vector<std::string> subjects(const std::string& err) {
    std::vector<std::string> lines;
    for (std::size_t at = 0; at < err.size(); at = err.find('\n', at) + 1) {
        lines.push_back(err.substr(at, err.find('\'', err.find('\'', at) + 1) + 1 - at));
    }
    return lines;
}

// The batch writes its models as one group, reported at its end.
TEST_F(CommandLine, ABatchReportsEachModelInOrderWithWhatIsSaidOfIt) {
    const std::string plain = containerHeader() + chunk(kPrim, 0, 4, payload(4));
    const std::string rewritten = rewriteInMemory(plain, 3).output;
    for (const auto& [name, bytes] :
         {std::pair{"1.zrm", plain}, std::pair{"2.zrm", rewritten}, std::pair{"3.zrm", plain},
          std::pair{"4.zrm", kPrecious}, std::pair{"5.zrm", rewritten}}) {
        writeFile(path(name), bytes);
    }
    fs::create_directory(path("out"));
    const std::vector<std::string> models = {"1.zrm", "2.zrm", "3.zrm", "4.zrm", "5.zrm"};
    std::vector<std::string> arguments = {"-q", "-n", "2", "-d", "out"};
    arguments.insert(arguments.end(), models.begin(), models.end());
    EXPECT_EQ(subjects(run(arguments).err),
              (std::vector<std::string>{
                  "morvane-cli: wrote 'out/1.zrm'", "morvane-cli: warning: '2.zrm'",
                  "morvane-cli: wrote 'out/2.zrm'", "morvane-cli: wrote 'out/3.zrm'",
                  "morvane-cli: '4.zrm'", "morvane-cli: warning: '5.zrm'",
                  "morvane-cli: wrote 'out/5.zrm'"}));
    arguments.insert(arguments.begin(), "--skip-rewritten");
    EXPECT_EQ(
        subjects(run(arguments).err),
        (std::vector<std::string>{"morvane-cli: wrote 'out/1.zrm'", "morvane-cli: left out '2.zrm'",
                                  "morvane-cli: wrote 'out/3.zrm'", "morvane-cli: '4.zrm'",
                                  "morvane-cli: left out '5.zrm'"}));
}

// Only the closing HAND chunk takes this rewrite past the limit. The model is
// a sparse file and costs no disk.
TEST_F(CommandLine, TheListingRefusesWhatEveryRewriteRefuses) {
    writeFile(path("big.zrm"), containerHeader() + words({kXyzs, 0, 0x7FFFFFE7u}));
    fs::resize_file(path("big.zrm"), 24 + std::uintmax_t{0x7FFFFFE7u});
    const std::string refusal =
        "morvane-cli: 'big.zrm': XYZS chunk at offset 12: the rewritten model's byte count with "
        "its closing HAND chunk (2147483667) does not fit in the format's signed 32-bit words\n";
    EXPECT_EQ(run({"--list", "big.zrm"}).err, refusal);
    const ToolRun rewrite = run({"-n", "1", "big.zrm", "out.zrm"});
    EXPECT_EQ(rewrite.err, refusal);
    EXPECT_EQ(rewrite.out.rfind("copybytes"), rewrite.out.find("copybytes, 12 bytes\n"));
    EXPECT_THAT(rewrite.out, ::testing::EndsWith("adjusted size=2147483623\n"));
    EXPECT_EQ(folder_.listing(), "big.zrm ");
}

// With standard input and output closed, the tool's own files must not
// become them: the model would take in the trace; nor standard error, whose
// messages would land in a model.
TEST_F(CommandLine, NamesAreWrittenAndShownSafely) {
    writeFile(path("in.zrm"), model_);
    const std::string longest = std::string(251, 'm') + ".zrm";
    for (const std::string& program : kPrograms) {
        const ProcessSetup closed{.program = program, .output = StandardOutputTo::Nowhere};
        EXPECT_EQ(run({"-n", "1", "in.zrm", longest}, closed).exitCode, 0) << program;
        EXPECT_EQ(readFile(path(longest)), rewriteInMemory(model_, 1).output) << program;
        const ProcessSetup noErrors{
            .program = program, .errors = StandardErrorTo::Nowhere, .traced = "openat"};
        EXPECT_EQ(run({"-q", "-n", "2", "in.zrm", "new.zrm"}, noErrors).exitCode, 0);
        EXPECT_EQ(readFile(path("new.zrm")), rewriteInMemory(model_, 2).output) << program;
        // The tool's own opens, once the system's loader is done with its own.
        const std::string opened = readFile(logs_ / "strace.txt");
        const std::string own = opened.substr(std::min(opened.find("\"in.zrm\""), opened.size()));
        EXPECT_THAT(own, ::testing::StartsWith("\"in.zrm\"")) << opened;
        EXPECT_THAT(own, ::testing::Not(::testing::ContainsRegex("\\) += 2\n"))) << opened;
    }
    EXPECT_EQ(run({"-n", "1", "two\nlines\t\x1b.zrm", "out.zrm"}).err,
              "morvane-cli: cannot open the model 'two\\nlines\\t\\x1B.zrm': No such file or "
              "directory\n");
    EXPECT_EQ(run({"-n", "1",
                   "c1\xC2\x9B"
                   "31m.zrm",
                   "out.zrm"})
                  .err,
              "morvane-cli: cannot open the model 'c1\\u009B31m.zrm': No such file or directory\n");
    writeFile(path("byte\x9B"
                   "31m.zrm"),
              model_);
    EXPECT_THAT(run({"--list",
                     "byte\x9B"
                     "31m.zrm"})
                    .out,
                ::testing::StartsWith("'byte\\x9B31m.zrm'\n"));
    writeFile(path("caf\xe9.zrm"), model_);
    EXPECT_THAT(run({"--list", "--json", "caf\xe9.zrm"}).out, HasSubstr("\"caf\xEF\xBF\xBD.zrm\""));
}

// A named pipe with no writer must not make the tool wait. Under root the
// tool runs as nobody, so that the locked folder binds and a file of root's
// in a folder open to all cannot be replaced by a file of nobody's.
TEST_F(CommandLine, UnusablePathsAreRefusedEachWithItsOwnMessage) {
    const bool root = ::geteuid() == 0;
    writeFile(path("in.zrm"), model_);
    for (const char* folder : {"adir", "locked", "open"}) {
        fs::create_directory(path(folder));
    }
    fs::create_symlink("in.zrm", path("link.zrm"));
    fs::create_hard_link(path("in.zrm"), path("hard.zrm"));
    fs::create_symlink("gone/out.zrm", path("dangling"));
    ASSERT_EQ(::mkfifo(path("pipe").c_str(), 0666), 0);
    ASSERT_EQ(::mknod(path("socket").c_str(), S_IFSOCK | 0666, 0), 0);
    writeFile(path("open/out.zrm"), kPrecious);
    fs::permissions(path("open/out.zrm"), fs::perms(0666));
    writeFile(path("open/theirs.zrm"), kPrecious);
    writeFile(path("readonly.zrm"), kPrecious);
    fs::permissions(path("readonly.zrm"), fs::perms(0444));
    fs::permissions(path("open"), fs::perms(0777));
    fs::permissions(path("locked"), fs::perms(0505));
    fs::permissions(folder_.path(), fs::perms(0505), fs::perm_options::add);
    std::vector<std::array<std::string, 3>> cases = {
        {"pipe", "out.zrm", "'pipe' is a named pipe (FIFO), not a model file"},
        {"/proc/self/status", "out.zrm", "is a file of the system's own information"},
        {"in.zrm", "adir", "'adir' is a folder, not a model file"},
        {"in.zrm", "locked/out.zrm", "cannot write in the folder 'locked': Permission denied"},
        {"in.zrm", "pipe", "'pipe' is a named pipe (FIFO), not a model file"},
        {"in.zrm", "socket", "'socket' is a socket, not a model file"},
        {"in.zrm", "dangling",
         "'dangling' is a symbolic link to 'gone/out.zrm', which does not exist"},
        {"in.zrm", "in.zrm", "it is the input model itself"},
        {"in.zrm", "link.zrm", "it is the input model itself"},
        {"in.zrm", "hard.zrm", "it is the input model itself"},
        {"in.zrm", "readonly.zrm", "'readonly.zrm' is read-only; make it writable to replace it"},
    };
    if (root) {
        ASSERT_EQ(::mknod(path("null").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
        ASSERT_EQ(::mknod(path("disk").c_str(), S_IFBLK | 0600, makedev(7, 200)), 0);
        cases.push_back({"in.zrm", "null", "'null' is a character device, not a model file"});
        cases.push_back({"in.zrm", "disk", "'disk' is a block device, not a model file"});
        cases.push_back({"in.zrm", "open/out.zrm",
                         "cannot replace 'open/out.zrm' with a file of the same owner and group "
                         "(user 0, group 0): Operation not permitted"});
        cases.push_back({"in.zrm", "open/theirs.zrm", "'open/theirs.zrm' is read-only"});
    }
    const std::string before = folder_.listing() + TempFolder::namesIn(path("open"));
    for (const std::string& program : kPrograms) {
        for (const auto& [input, output, message] : cases) {
            SCOPED_TRACE(program + " " + input + " " + output);
            const ToolRun result =
                run({"-n", "3", input, output}, {.program = program, .asNobody = root});
            EXPECT_EQ(result.exitCode, 1);
            EXPECT_THAT(result.err, HasSubstr(message));
            EXPECT_EQ(folder_.listing() + TempFolder::namesIn(path("open")), before);
        }
    }
    // Root may write to any file, but not replace one that no one may write to.
    EXPECT_THAT(run({"-n", "3", "in.zrm", "readonly.zrm"}).err, HasSubstr("is read-only"));
    EXPECT_EQ(fs::status(path("readonly.zrm")).permissions(), fs::perms(0444));
    EXPECT_EQ(readFile(path("in.zrm")), model_);
    EXPECT_EQ(readFile(path("open/out.zrm")), kPrecious);
    EXPECT_EQ(readFile(path("readonly.zrm")), kPrecious);
    EXPECT_THAT(run({"--list", "pipe"}).err, HasSubstr("'pipe' is a named pipe (FIFO), not a"));
}

// Where the system does not refuse it itself, a link that another user made in
// a folder open to all, as /tmp is, may lead to any file of the runner's.
TEST_F(CommandLine, ALinkAnotherUserMadeInAFolderOpenToAllIsNotFollowed) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "a link of another user's takes root";
    }
    writeFile(path("in.zrm"), model_);
    writeFile(path("precious.txt"), kPrecious);
    fs::create_directory(path("tmp"));
    fs::permissions(path("tmp"), fs::perms(01777));
    fs::create_symlink(path("precious.txt"), path("tmp/out.zrm"));
    ASSERT_EQ(::lchown(path("tmp/out.zrm").c_str(), 65534, 65534), 0);
    const ToolRun planted = run({"-q", "-n", "3", "in.zrm", "tmp/out.zrm"});
    EXPECT_EQ(planted.exitCode, 1);
    EXPECT_EQ(planted.err,
              "morvane-cli: refusing to write through 'tmp/out.zrm': it is a symbolic link that "
              "another user (user 65534) made in 'tmp', a folder that everyone may write to\n");
    EXPECT_EQ(readFile(path("precious.txt")), kPrecious);
    EXPECT_TRUE(fs::is_symlink(path("tmp/out.zrm")));
    // The folder's owner may have made it, as may the runner.
    for (const uid_t owner : {uid_t{65534}, uid_t{0}}) {
        ASSERT_EQ(::chown(path("tmp").c_str(), owner, 0), 0);
        ASSERT_EQ(::lchown(path("tmp/out.zrm").c_str(), owner, 0), 0);
        const ToolRun followed = run({"-q", "-n", "3", "in.zrm", "tmp/out.zrm"});
        EXPECT_EQ(followed.exitCode, 0) << followed.err;
        EXPECT_THAT(followed.err, ::testing::StartsWith("morvane-cli: wrote 'tmp/out.zrm' (through "
                                                        "the link, to '" +
                                                        path("precious.txt") + "') (140 bytes): "));
        EXPECT_EQ(readFile(path("precious.txt")), rewriteInMemory(model_, 3).output);
    }
}

// A folder reached through a link is that folder: a new name there is a new
// name, and a file there is written under its own name, not "through the
// link"; only the output's own link leads anywhere.
TEST_F(CommandLine, AFolderReachedThroughALinkIsThatFolder) {
    writeFile(path("in.zrm"), model_);
    fs::create_directory(path("real"));
    fs::create_directory_symlink("real", path("linked"));
    writeFile(path("real/old.zrm"), kPrecious);
    fs::create_symlink("nowhere.zrm", path("real/dangling.zrm"));
    const std::string rewritten = rewriteInMemory(model_, 2).output;
    const ToolRun created = run({"-q", "-n", "2", "in.zrm", "linked/new.zrm"});
    EXPECT_EQ(created.exitCode, 0) << created.err;
    EXPECT_THAT(created.err, ::testing::StartsWith("morvane-cli: wrote 'linked/new.zrm' (136 "));
    const ToolRun replaced = run({"-q", "-n", "2", "in.zrm", "linked/old.zrm"});
    EXPECT_THAT(replaced.err, ::testing::StartsWith("morvane-cli: wrote 'linked/old.zrm' (136 "));
    const ToolRun batch = run({"-q", "-n", "2", "-d", "linked", "in.zrm"});
    EXPECT_THAT(batch.err, ::testing::StartsWith("morvane-cli: wrote 'linked/in.zrm' (136 "));
    for (const char* name : {"new.zrm", "old.zrm", "in.zrm"}) {
        EXPECT_EQ(readFile(path("real/") + name), rewritten) << name;
    }
    EXPECT_EQ(run({"-q", "-n", "2", "in.zrm", "linked/dangling.zrm"}).err,
              "morvane-cli: 'linked/dangling.zrm' is a symbolic link to 'nowhere.zrm', which does "
              "not exist; refusing to replace the link\n");
    EXPECT_EQ(TempFolder::namesIn(path("real")), "dangling.zrm in.zrm new.zrm old.zrm ");
}

// The rule holds at every link on the way: the runner's own link may lead
// through another user's, to a file or to a folder.
TEST_F(CommandLine, AChainOfLinksIsNotFollowedThroughAnotherUsersLink) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "a link of another user's takes root";
    }
    writeFile(path("in.zrm"), model_);
    writeFile(path("precious.zrm"), kPrecious);
    for (const char* folder : {"home", "shared", "private"}) {
        fs::create_directory(path(folder));
    }
    fs::permissions(path("shared"), fs::perms(01777));
    writeFile(path("private/out.zrm"), kPrecious);
    fs::create_symlink("../precious.zrm", path("shared/hop.zrm"));
    fs::create_directory_symlink("../private", path("shared/dir"));
    fs::create_symlink("../shared/hop.zrm", path("home/out.zrm"));
    fs::create_symlink(path("shared/dir/out.zrm"), path("home/deep.zrm"));
    fs::create_symlink("deep.zrm", path("home/deeper.zrm"));
    for (const char* planted : {"shared/hop.zrm", "shared/dir"}) {
        ASSERT_EQ(::lchown(path(planted).c_str(), 65534, 65534), 0);
    }
    const std::string refusal = "morvane-cli: refusing to write through '";
    const std::string madeBy = "': it is a symbolic link that another user (user 65534) made in '";
    const std::string everyone = "', a folder that everyone may write to\n";
    const std::pair<std::string, std::string> chains[] = {
        {"home/out.zrm", refusal + "shared/hop.zrm" + madeBy + "shared" + everyone},
        {"home/deep.zrm", refusal + path("shared/dir") + madeBy + path("shared") + everyone},
        {"home/deeper.zrm", refusal + path("shared/dir") + madeBy + path("shared") + everyone}};
    for (const auto& [output, message] : chains) {
        const ToolRun result = run({"-q", "-n", "3", "in.zrm", output});
        EXPECT_EQ(result.exitCode, 1) << output;
        EXPECT_EQ(result.err, message);
    }
    EXPECT_EQ(readFile(path("precious.zrm")), kPrecious);
    EXPECT_EQ(readFile(path("private/out.zrm")), kPrecious);
    // A link of the runner's own in that folder is followed as before.
    ASSERT_EQ(::lchown(path("shared/hop.zrm").c_str(), 0, 0), 0);
    const ToolRun followed = run({"-q", "-n", "3", "in.zrm", "home/out.zrm"});
    EXPECT_EQ(followed.exitCode, 0) << followed.err;
    EXPECT_THAT(followed.err,
                ::testing::StartsWith("morvane-cli: wrote 'home/out.zrm' (through the "
                                      "link, to '" +
                                      path("precious.zrm") + "') (140 bytes): "));
    EXPECT_EQ(readFile(path("precious.zrm")), rewriteInMemory(model_, 3).output);
}

// Owner, group and mode of `file`, and its attribute and access control list.
std::string ownership(const std::string& file) {
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

// Root replaces another user's file: the owner must still read it, and a
// set-user-ID file must not become root's.
TEST_F(CommandLine, AReplacedFileKeepsOwnerGroupModeAndAttributes) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "giving a file to another user takes root";
    }
    writeFile(path("in.zrm"), model_);
    const std::string out = path("out.zrm");
    // As the system stores it: the owner may read and write; the user
    // nobody, the owning group and the mask may read; others nothing.
    const std::string acl =
        words({2, 0x60001, ~0u, 0x40002, 65534, 0x40004, ~0u, 0x40010, ~0u, 0x20, ~0u});
    for (const mode_t mode : {mode_t{0600}, mode_t{04755}, mode_t{02750}}) {
        SCOPED_TRACE(mode);
        writeFile(out, kPrecious);
        ASSERT_EQ(::chown(out.c_str(), 65534, 65535), 0);
        ASSERT_EQ(::setxattr(out.c_str(), "user.origin", "scan 7", 6, 0), 0);
        ASSERT_EQ(::setxattr(out.c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0), 0);
        ASSERT_EQ(::chmod(out.c_str(), mode), 0);
        const std::string before = ownership(out);
        const ToolRun result = run({"-q", "-n", "2", "in.zrm", "out.zrm"});
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(readFile(out), rewriteInMemory(model_, 2).output);
        EXPECT_EQ(ownership(out), before);
        EXPECT_EQ(folder_.listing(), "in.zrm out.zrm ");
    }
}

// The disk fills, or the file-size limit is met, in the middle of old's copy,
// and for new only at the last flush, 100 bytes past the room.
TEST_F(CommandLine, DiskFullLeavesEachOutputNameAsItWasAndTheBatchGoesOn) {
    constexpr rlim_t kRoom = 1024 * 1024;
    const std::string small = containerHeader() + chunk(kPrim, 0, 16, payload(16));
    writeFile(path("old.zrm"), containerHeader() + chunk(kXyzs, 0, 4 * kRoom, payload(4 * kRoom)) +
                                   chunk(kPrim, 0, 16, payload(16)));
    writeFile(path("new.zrm"),
              containerHeader() + chunk(kXyzs, 0, kRoom + 56, payload(kRoom + 56)));
    writeFile(path("small.zrm"), small);
    for (const std::string& program : kPrograms) {
        SCOPED_TRACE(program);
        TempFolder out;
        writeFile(out / "old.zrm", kPrecious);
        const ToolRun result =
            run({"-n", "5", "-d", out.path().string(), "old.zrm", "new.zrm", "small.zrm"},
                {.program = program, .fileSizeLimit = kRoom});
        EXPECT_EQ(result.exitCode, 1) << result.signal;
        const std::string to = "morvane-cli: cannot write the model '";
        EXPECT_THAT(result.err, HasSubstr(to + "old.zrm' to '" + (out / "old.zrm").string() +
                                          "': File too large\n"));
        EXPECT_THAT(result.err, HasSubstr(to + "new.zrm' to '" + (out / "new.zrm").string() +
                                          "': File too large\n"));
        EXPECT_EQ(readFile(out / "old.zrm"), kPrecious);
        EXPECT_EQ(readFile(out / "small.zrm"), rewriteInMemory(small, 5).output);
        EXPECT_EQ(out.listing(), "old.zrm small.zrm ");
    }
    // The pass stops at the failed write: what is wrong further on is not
    // what the user must mend.
    writeFile(path("cut.zrm"), containerHeader() + chunk(kXyzs, 0, 2 * kRoom, payload(2 * kRoom)) +
                                   chunk(kNorm, 0, 64, payload(8)));
    const ToolRun cut = run({"-n", "5", "cut.zrm", "cut-out.zrm"}, {.fileSizeLimit = kRoom});
    EXPECT_EQ(cut.err,
              "morvane-cli: cannot write the model 'cut.zrm' to 'cut-out.zrm': File too large\n");
    EXPECT_FALSE(fs::exists(path("cut-out.zrm")));
}

// Whatever memory the tool may have, it ends by itself: a model it cannot
// rewrite or list for want of memory is named, its output name keeps what it
// held, and the other models still get their chance. The large model needs
// a larger read block than the small one, so some limits leave room for the
// small one alone.
TEST_F(CommandLine, RunningOutOfMemoryIsReportedWithEachModelsName) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reserves more address space than any limit leaves";
#endif
    const std::string big = containerHeader() + chunk(kXyzs, 0, 1 << 20, payload(1 << 20)) +
                            chunk(kPrim, 0, 8, payload(8));
    const std::string small = containerHeader() + chunk(kPrim, 0, 8, payload(8));
    writeFile(path("big.zrm"), big);
    writeFile(path("small.zrm"), small);
    fs::create_directory(path("out"));
    const std::map<std::string, std::string> models = {{"big.zrm", big}, {"small.zrm", small}};
    bool someLeftOut = false;
    bool smallAloneWritten = false;
    bool allWritten = false;
    // Below this the system cannot even load the program.
    rlim_t starts = 1 << 20;
    while (starts < 256 << 20 && run({"--version"}, {.addressSpaceLimit = starts}).exitCode != 0) {
        starts += 256 << 10;
    }
    for (rlim_t limit = starts; limit <= 256 << 20 && !allWritten; limit += 64 << 10) {
        SCOPED_TRACE(std::to_string(limit) + " bytes of address space");
        fs::remove_all(path("out"));
        fs::create_directory(path("out"));
        const ToolRun batch = run({"-q", "-n", "2", "-d", "out", "big.zrm", "small.zrm"},
                                  {.addressSpaceLimit = limit});
        ASSERT_EQ(batch.signal, 0) << batch.err;
        if (batch.err == "morvane-cli: out of memory\n") {
            EXPECT_EQ(batch.exitCode, 1);
            EXPECT_EQ(TempFolder::namesIn(path("out")), "");
            continue;
        }
        std::map<std::string, bool> written;
        for (const auto& [name, model] : models) {
            const std::string output = "out/" + name;
            const bool wrote =
                batch.err.find("morvane-cli: wrote '" + output + "' (") != std::string::npos;
            const bool outOfMemory =
                batch.err.find("morvane-cli: cannot rewrite '" + name + "': out of memory; '" +
                               output + "' was left as it was\n") != std::string::npos;
            EXPECT_NE(wrote, outOfMemory) << batch.err;
            EXPECT_EQ(fs::exists(path(output)), wrote);
            if (wrote) {
                EXPECT_EQ(readFile(path(output)), rewriteInMemory(model, 2).output);
            }
            written[name] = wrote;
        }
        EXPECT_EQ(std::ranges::count(batch.err, '\n'), 2) << batch.err;
        EXPECT_EQ(batch.exitCode, written["big.zrm"] && written["small.zrm"] ? 0 : 1);
        EXPECT_EQ(TempFolder::namesIn(path("out")),
                  std::string(written["big.zrm"] ? "big.zrm " : "") +
                      (written["small.zrm"] ? "small.zrm " : ""));
        someLeftOut = someLeftOut || !written["big.zrm"] || !written["small.zrm"];
        smallAloneWritten = smallAloneWritten || (!written["big.zrm"] && written["small.zrm"]);
        allWritten = written["big.zrm"] && written["small.zrm"];

        const ToolRun listing =
            run({"--list", "big.zrm", "small.zrm"}, {.addressSpaceLimit = limit});
        ASSERT_EQ(listing.signal, 0) << listing.err;
        EXPECT_THAT(
            listing.err,
            ::testing::MatchesRegex("(morvane-cli: (out of memory|cannot list '(big|small)\\.zrm': "
                                    "out of memory)\n)*"));
        EXPECT_EQ(listing.exitCode, listing.err.empty() ? 0 : 1);
    }
    EXPECT_TRUE(someLeftOut);
    EXPECT_TRUE(smallAloneWritten);
    EXPECT_TRUE(allWritten);
    EXPECT_EQ(folder_.listing(), "big.zrm out small.zrm ");
}

// The group of models that wait for their names together fits in the files
// the tool may still open, however many it was handed open.
TEST_F(CommandLine, ABatchWritesEveryModelWithFewFilesLeftToOpen) {
    const std::string small = containerHeader() + chunk(kPrim, 0, 4, payload(4));
    fs::create_directory(path("in"));
    fs::create_directory(path("out"));
    std::vector<std::string> arguments = {"-q", "-n", "1", "-d", "out"};
    for (int i = 0; i < 300; ++i) {
        arguments.push_back("in/" + std::to_string(i) + ".zrm");
        writeFile(path(arguments.back()), small);
    }
    const ToolRun result = run(arguments, {.openFileLimit = 64, .inheritedFiles = 40});
    EXPECT_EQ(result.exitCode, 0) << result.err.substr(0, 1000);
    EXPECT_EQ(std::ranges::count(result.err, '\n'), 300);
    EXPECT_EQ(readFile(path("out/299.zrm")), rewriteInMemory(small, 1).output);
}

// A trace of several hundred kilobytes, more than any buffer or pipe holds.
std::string manyChunks() {
    std::string model = containerHeader();
    for (int i = 0; i < 20000; ++i) {
        model += chunk(kPrim, 0, 8, payload(8));
    }
    return model;
}

// Whether the tool has the model it writes open in `folder`.
bool writing(pid_t pid, const fs::path& folder) {
    std::error_code error;
    for (const auto& entry :
         fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", error)) {
        const fs::path target = fs::read_symlink(entry.path(), error);
        if (!error && target.parent_path() == folder && target.filename() != "in.zrm") {
            return true;
        }
    }
    return false;
}

// A read of the model that a signal cuts short is only tried again.
TEST_F(CommandLine, AReadCutShortByASignalIsTriedAgain) {
    writeFile(path("in.zrm"), model_);
    const ToolRun result = run({"-q", "-n", "2", "in.zrm", "out.zrm"},
                               {.injected = "read:error=EINTR:when=2", .onFile = path("in.zrm")});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(readFile(path("out.zrm")), rewriteInMemory(model_, 2).output);
    EXPECT_THAT(readFile(logs_ / "strace.txt"), HasSubstr("EINTR"));
}

// SIGKILL cannot be caught: only a file without a name is safe from it. The
// tool is caught mid-rewrite waiting for a reader of its trace that never reads.
TEST_F(CommandLine, ASignalMidRewriteLeavesNothingOrTheOldOutputAndNoTemporaryFile) {
    writeFile(path("in.zrm"), manyChunks());
    writeFile(path("out.zrm"), kPrecious);
    const std::tuple<std::string, int, bool> cases[] = {
        {MORVANE_CLI, SIGKILL, false},
        {MORVANE_CLI_NAMED_TEMPORARY, SIGINT, false},
        {MORVANE_CLI_NAMED_TEMPORARY, SIGTERM, false},
        {MORVANE_CLI_NAMED_TEMPORARY, SIGQUIT, false},
        {MORVANE_CLI_NAMED_TEMPORARY, SIGHUP, false},
        {MORVANE_CLI_NAMED_TEMPORARY, SIGHUP, true}};
    for (const auto& [program, signal, ignored] : cases) {
        SCOPED_TRACE(program + " " + std::to_string(signal) + (ignored ? " ignored" : ""));
        CliProcess tool({"-n", "9", "in.zrm", "out.zrm"}, folder_.path(), logs_.path(),
                        {.program = program,
                         .output = StandardOutputTo::StalledReader,
                         .ignoredSignal = ignored ? signal : 0});
        for (int waited = 0;
             !writing(tool.pid(), folder_.path()) && tool.running() && waited < 60000; ++waited) {
            ::usleep(1000);
        }
        if (tool.running()) {
            ::kill(tool.pid(), signal);
        }
        if (ignored) {
            ::usleep(100000);
            EXPECT_TRUE(tool.running()) << "the ignored signal ended the rewrite";
            EXPECT_NE(folder_.listing(), "in.zrm out.zrm ") << "it took the temporary file";
            ::kill(tool.pid(), SIGTERM);
        }
        const int status = tool.wait();
        const int ending = ignored ? SIGTERM : signal;
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == ending)
            << "the rewrite did not end by the signal: " << readFile(logs_ / "stderr.txt");
        EXPECT_EQ(folder_.listing(), "in.zrm out.zrm ");
        EXPECT_EQ(readFile(path("out.zrm")), kPrecious);
    }
}

// A signal that comes while the model takes its name waits: the tool ends
// either with the model named and reported, or by the signal with the old
// file in place. In a batch, the group being named is named and reported.
TEST_F(CommandLine, AnEndingSignalAtTheRenameEndsTheToolOnlyWhereNothingWasNamed) {
    writeFile(path("in.zrm"), model_);
    const std::string rewritten = rewriteInMemory(model_, 2).output;
    for (const char* signal : {"SIGTERM", "SIGINT", "SIGQUIT"}) {
        SCOPED_TRACE(signal);
        writeFile(path("out.zrm"), kPrecious);
        const ToolRun named = run({"-q", "-n", "2", "in.zrm", "out.zrm"},
                                  {.injected = "rename:signal=" + std::string(signal)});
        EXPECT_EQ(named.exitCode, 0) << named.signal;
        EXPECT_THAT(named.err, ::testing::StartsWith("morvane-cli: wrote 'out.zrm' ("));
        EXPECT_EQ(readFile(path("out.zrm")), rewritten);
        writeFile(path("out.zrm"), kPrecious);
        const ToolRun failed =
            run({"-q", "-n", "2", "in.zrm", "out.zrm"},
                {.injected = "rename:error=EACCES:signal=" + std::string(signal)});
        EXPECT_NE(failed.signal, 0) << failed.err;
        EXPECT_EQ(readFile(path("out.zrm")), kPrecious);
        EXPECT_EQ(folder_.listing(), "in.zrm out.zrm ");
    }
    EXPECT_EQ(
        run({"-q", "-n", "2", "in.zrm", "new.zrm"}, {.injected = "linkat:signal=SIGTERM"}).exitCode,
        0);
    EXPECT_EQ(readFile(path("new.zrm")), rewritten);
    // A group is four models where each has a name while it is written.
    fs::create_directory(path("out"));
    std::vector<std::string> arguments = {"-q", "-n", "2", "-d", "out"};
    for (const char* name : {"1.zrm", "2.zrm", "3.zrm", "4.zrm", "5.zrm", "6.zrm"}) {
        writeFile(path(name), model_);
        arguments.push_back(name);
    }
    const ToolRun batch = run(arguments, {.program = MORVANE_CLI_NAMED_TEMPORARY,
                                          .injected = "rename:signal=SIGTERM:when=1"});
    EXPECT_EQ(batch.signal, SIGTERM);
    EXPECT_EQ(TempFolder::namesIn(path("out")), "1.zrm 2.zrm 3.zrm 4.zrm ");
    EXPECT_EQ(subjects(batch.err),
              (std::vector<std::string>{
                  "morvane-cli: wrote 'out/1.zrm'", "morvane-cli: wrote 'out/2.zrm'",
                  "morvane-cli: wrote 'out/3.zrm'", "morvane-cli: wrote 'out/4.zrm'"}));
}

// SIGKILL cannot be made to wait. A model that replaces a file must have a
// name to be renamed to the file's: it holds a hidden one, complete and
// synced, for the few steps before the rename. A new name needs none.
TEST_F(CommandLine, SIGKILLAtTheNamingLeavesAtMostTheWholeModelUnderAHiddenName) {
    writeFile(path("in.zrm"), model_);
    writeFile(path("out.zrm"), kPrecious);
    const ToolRun replacing =
        run({"-q", "-n", "2", "in.zrm", "out.zrm"}, {.injected = "rename:signal=SIGKILL"});
    EXPECT_EQ(replacing.signal, SIGKILL);
    EXPECT_EQ(readFile(path("out.zrm")), kPrecious);
    std::vector<fs::path> hidden;
    for (const auto& entry : fs::directory_iterator(folder_.path())) {
        if (entry.path().filename().string().starts_with(".morvane-")) {
            hidden.push_back(entry.path());
        }
    }
    ASSERT_EQ(hidden.size(), 1u) << folder_.listing();
    EXPECT_EQ(readFile(hidden[0]), rewriteInMemory(model_, 2).output);
    fs::remove(hidden[0]);
    const ToolRun newName =
        run({"-q", "-n", "2", "in.zrm", "new.zrm"}, {.injected = "rename:signal=SIGKILL"});
    EXPECT_EQ(newName.exitCode, 0);
    EXPECT_EQ(folder_.listing(), "in.zrm new.zrm out.zrm ");
}

// A batch or listing stops at the first model whose output is lost: every
// later one would fail the same way.
TEST_F(CommandLine, StandardOutputThatCannotBeWrittenIsAnError) {
    writeFile(path("in.zrm"), manyChunks());
    writeFile(path("out.zrm"), kPrecious);
    fs::create_directory(path("batch"));
    const ProcessSetup gone{.output = StandardOutputTo::GoneReader};
    const std::string lost =
        "morvane-cli: cannot write the trace to standard output: Broken pipe; '";
    const ToolRun rewrite = run({"-n", "2", "in.zrm", "out.zrm"}, gone);
    EXPECT_EQ(rewrite.exitCode, 1);
    EXPECT_EQ(rewrite.err, lost + "out.zrm' was left as it was\n");
    const ToolRun batch = run({"-n", "2", "-d", "batch", "in.zrm", "out.zrm"}, gone);
    EXPECT_EQ(batch.exitCode, 1);
    EXPECT_EQ(batch.err, lost + "batch/in.zrm' was left as it was\n");
    // A small model's trace fails only as the model ends, once it is written.
    writeFile(path("small.zrm"), model_);
    const ToolRun small = run({"-n", "2", "-d", "batch", "small.zrm"}, gone);
    EXPECT_EQ(small.exitCode, 1);
    EXPECT_EQ(small.err, lost + "batch/small.zrm' was left as it was\n");
    for (const char* format : {"--list", "--json"}) {
        const ToolRun listing = run({"--list", format, "in.zrm", "missing.zrm"}, gone);
        EXPECT_EQ(listing.exitCode, 1) << format;
        EXPECT_EQ(listing.err,
                  "morvane-cli: cannot write the listing to standard output: Broken pipe\n");
    }
    EXPECT_EQ(readFile(path("out.zrm")), kPrecious);
    EXPECT_EQ(folder_.listing() + TempFolder::namesIn(path("batch")),
              "batch in.zrm out.zrm small.zrm ");
}

}  // namespace
}  // namespace morvane::testing
