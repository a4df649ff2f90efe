#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <array>
#include <fstream>

#include "support/cli_process.h"
#include "support/pass_runner.h"
#include "support/zrm_builder.h"

namespace morvane::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

const std::string kPrecious = "an older model that must survive";

class CommandLine : public ::testing::Test {
protected:
    ToolRun run(const std::vector<std::string>& arguments) {
        return runCli(arguments, logs_.path());
    }
    std::string path(const std::string& name) const { return (folder_ / name).string(); }

    TempFolder folder_;
    TempFolder logs_;
    // Every kind of row: copied, dropped, unrecognised, extended, trailing.
    const std::string model_ = containerHeader() + chunk(kXyzs, 0, 24, payload(24)) +
                               chunk(kHand, 0, 4, payload(4)) + words({7}) +
                               chunk(kPrim, 0, 40, payload(40)) + "ab";
};

TEST_F(CommandLine, StandardOutputIsExactlyTheTraceAndTheSummaryGoesToErrors) {
    writeFile(path("in.zrm"), model_);
    const ToolRun result = run({"-n", "3", path("in.zrm"), path("out.zrm")});
    const Rewritten expected = rewriteInMemory(model_, 3);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, expected.trace);
    EXPECT_EQ(readFile(path("out.zrm")), expected.output);
    EXPECT_EQ(result.err, "morvane-cli: wrote '" + path("out.zrm") + "' (" +
                              std::to_string(expected.output.size()) +
                              " bytes): 2 chunks copied, 1 PRIM chunk extended with 3 volumes, 1 "
                              "HAND chunk dropped, 4 bytes of unrecognised words passed over, 2 "
                              "trailing bytes dropped\n");
}

TEST_F(CommandLine, QuietBatchWritesEveryGoodModelAndReportsTheBadOnes) {
    writeFile(path("a.zrm"), model_);
    writeFile(path("bad.zrm"), containerHeader() + chunk(kNorm, 0, 99, ""));
    writeFile(path("c.zrm"), model_);
    fs::create_directory(path("out"));
    const ToolRun result =
        run({"-q", "-n", "2", "-d", path("out"), path("a.zrm"), path("bad.zrm"), path("c.zrm")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(readFile(path("out/a.zrm")), rewriteInMemory(model_, 2).output);
    EXPECT_EQ(readFile(path("out/c.zrm")), rewriteInMemory(model_, 2).output);
    EXPECT_FALSE(fs::exists(path("out/bad.zrm")));
    EXPECT_THAT(result.err, HasSubstr("NORM chunk at offset 12"));
}

TEST_F(CommandLine, UsageErrorsExitTwoAndSayWhatWasExpected) {
    writeFile(path("in.zrm"), model_);
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{path("in.zrm"), path("out.zrm")}, "--volumes is required"},
        {{"-n", "0", path("in.zrm"), path("out.zrm")}, "from 1 to 1000, not '0'"},
        {{"-n", "1001", path("in.zrm"), path("out.zrm")}, "from 1 to 1000, not '1001'"},
        {{"-n", "abc", path("in.zrm"), path("out.zrm")}, "from 1 to 1000, not 'abc'"},
        {{"-n", "2", path("in.zrm")}, "expected INPUT and OUTPUT, got 1 path"},
        {{"-n", "2", path("in.zrm"), path("a"), path("b")}, "got 3 paths"},
        {{"-n", "2", "-d", path("out"), path("in.zrm"), path("out/../in.zrm")},
         "two inputs are named 'in.zrm'"},
        {{"--list", "-n", "2", path("in.zrm")}, "--volumes excludes --list"},
        {{"--json", path("in.zrm")}, "--json requires --list"},
    };
    for (const auto& [arguments, message] : cases) {
        const ToolRun result = run(arguments);
        EXPECT_EQ(result.exitCode, 2) << message;
        EXPECT_THAT(result.err, HasSubstr(message));
    }
    EXPECT_EQ(folder_.listing(), "in.zrm ");
}

TEST_F(CommandLine, ListShowsEveryRowAsTableOrJsonWithTheRefusal) {
    writeFile(path("in.zrm"), model_);
    const ToolRun table = run({"--list", path("in.zrm")});
    EXPECT_EQ(table.exitCode, 0) << table.err;
    EXPECT_EQ(table.out, "'" + path("in.zrm") +
                             "'\n"
                             "      offset  tag   second word    size word         bytes\n"
                             "           0  ZRM4   0x11111111          100            12\n"
                             "          12  XYZS   0x00000000           24            36\n"
                             "          48  HAND   0x00000000            4            16\n"
                             "          64  unrecognised words                         4\n"
                             "          68  PRIM   0x00000000           40            52\n"
                             "         120  trailing bytes                             2\n");

    writeFile(path("bad\"name.zrm"), containerHeader() + chunk(kPrim, 0, 9, ""));
    const ToolRun json = run({"--list", "--json", path("in.zrm"), path("bad\"name.zrm")});
    EXPECT_EQ(json.exitCode, 1);
    for (const std::string part :
         {"{\"type\":\"chunk\",\"tag\":\"PRIM\",\"offset\":68,\"bytes\":52,\"second\":0,"
          "\"size\":40}",
          "bad\\\"name.zrm", "\"error\": \"'",
          "PRIM chunk at offset 12: the payload needs 9 bytes, only 0 remain\"}\n]\n"}) {
        EXPECT_THAT(json.out, HasSubstr(part));
    }
    EXPECT_THAT(json.err, HasSubstr("PRIM chunk at offset 12"));
    EXPECT_EQ(folder_.listing(), "bad\"name.zrm in.zrm ");
}

TEST_F(CommandLine, HelpAndVersion) {
    EXPECT_THAT(run({"--help"}).out, HasSubstr("Usage: morvane-cli"));
    const ToolRun version = run({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "morvane-cli 1.0.0.1\n");
}

// Where the world misbehaves: a full disk, a kill mid-write and paths the
// tool cannot use must never cost the user a file.

TEST_F(CommandLine, DiskFullLeavesEachOutputNameAsItWasAndTheBatchGoesOn) {
    constexpr rlim_t kRoom = 1024 * 1024;
    // The disk fills in the middle of big's copy, and only at the last flush
    // of edge's output, which ends 100 bytes past the room.
    const std::string big = containerHeader() + chunk(kXyzs, 0, 4 * kRoom, payload(4 * kRoom)) +
                            chunk(kPrim, 0, 16, payload(16));
    const std::string edge = containerHeader() + chunk(kXyzs, 0, kRoom + 56, payload(kRoom + 56));
    const std::string small = containerHeader() + chunk(kPrim, 0, 16, payload(16));
    writeFile(path("old.zrm"), big);
    writeFile(path("new.zrm"), edge);
    writeFile(path("small.zrm"), small);
    TempFolder out;
    writeFile(out / "old.zrm", kPrecious);
    const ToolRun result = runCli(
        {"-n", "5", "-d", out.path().string(), path("old.zrm"), path("new.zrm"), path("small.zrm")},
        logs_.path(), {.fileSizeLimit = kRoom});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_THAT(result.err, HasSubstr("old.zrm': File too large"));
    EXPECT_THAT(result.err, HasSubstr("new.zrm': File too large"));
    EXPECT_EQ(readFile(out / "old.zrm"), kPrecious);
    EXPECT_EQ(readFile(out / "small.zrm"), rewriteInMemory(small, 5).output);
    EXPECT_EQ(out.listing(), "old.zrm small.zrm ");
    EXPECT_EQ(readFile(path("old.zrm")), big);
}

// The file the tool has open in `folder` as the system names it ("(deleted)"
// while it has no name) once it holds 64 MiB; "" before.
std::string bigFileBeingWritten(pid_t pid, const fs::path& folder) {
    std::error_code error;
    for (const auto& entry :
         fs::directory_iterator("/proc/" + std::to_string(pid) + "/fd", error)) {
        const fs::path target = fs::read_symlink(entry.path(), error);
        struct stat status {};
        if (!error && target.parent_path() == folder && target.filename() != "in.zrm" &&
            ::stat(entry.path().c_str(), &status) == 0 && status.st_size >= (64 << 20)) {
            return target.string();
        }
    }
    return "";
}

TEST_F(CommandLine, KillMidRewriteLeavesNothingOrTheOldOutputAndNoTemporaryFile) {
    // A 1 GiB model whose XYZS payload is a hole in the file: quick to make
    // and to read, while the tool still has to write every byte of it.
    constexpr std::uint32_t kPayload = 1u << 30;
    writeFile(path("in.zrm"), containerHeader() + words({kXyzs, 0, kPayload}));
    fs::resize_file(path("in.zrm"), fs::file_size(path("in.zrm")) + kPayload);
    std::ofstream(path("in.zrm"), std::ios::binary | std::ios::app)
        << chunk(kPrim, 0, 8, payload(8));
    for (const bool oldOutput : {false, true}) {
        if (oldOutput) {
            writeFile(path("out.zrm"), kPrecious);
        }
        CliProcess tool({"-n", "9", path("in.zrm"), path("out.zrm")}, logs_.path());
        std::string written;
        while (tool.running() &&
               (written = bigFileBeingWritten(tool.pid(), folder_.path())).empty()) {
            ::usleep(1000);
        }
        if (!written.empty()) {
            ::kill(tool.pid(), SIGKILL);
        }
        const int status = tool.wait();
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
            << "the rewrite ended before it could be killed: " << readFile(logs_ / "stderr.txt");
        EXPECT_THAT(written, HasSubstr("(deleted)"))
            << "the file being written has a name in the folder: " << written;
        EXPECT_EQ(folder_.listing(), oldOutput ? "in.zrm out.zrm " : "in.zrm ");
        EXPECT_EQ(readFile(path("out.zrm")), oldOutput ? kPrecious : "");
    }
}

// Each unusable input or output gets its own message, exit status 1, and
// leaves every file as it was. Under root the tool runs as nobody, so that
// the locked folder binds.
TEST_F(CommandLine, UnusablePathsAreRefusedEachWithItsOwnMessage) {
    writeFile(path("in.zrm"), model_);
    fs::create_directory(path("adir"));
    fs::create_directory(path("sub"));
    fs::create_directory(path("locked"));
    fs::create_symlink("in.zrm", path("link.zrm"));
    fs::create_hard_link(path("in.zrm"), path("hard.zrm"));
    const auto readable = fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read |
                          fs::perms::others_exec;
    fs::permissions(path("locked"), readable);
    fs::permissions(folder_.path(), readable, fs::perm_options::add);
    std::vector<std::array<std::string, 3>> cases = {
        {"adir", "out.zrm", "'adir' is a folder, not a model file"},
        {"missing.zrm", "out.zrm",
         "cannot open the model 'missing.zrm': No such file or directory"},
        {"in.zrm", "nowhere/out.zrm",
         "cannot write in the folder 'nowhere': No such file or directory"},
        {"in.zrm", "adir", "'adir' is a folder, not a model file"},
        {"in.zrm", "locked/out.zrm", "cannot write in the folder 'locked': Permission denied"},
    };
    for (const std::string& same :
         std::vector<std::string>{"in.zrm", "./in.zrm", "sub/../in.zrm",
                                  "../" + folder_.path().filename().string() + "/in.zrm",
                                  "link.zrm", "hard.zrm", path("in.zrm")}) {
        cases.push_back({"in.zrm", same, "it is the input model itself"});
    }
    const ProcessSetup setup{.workingFolder = folder_.path(), .asNobody = ::geteuid() == 0};
    const std::string before = folder_.listing();
    for (const auto& [input, output, message] : cases) {
        const ToolRun result = runCli({"-n", "3", input, output}, logs_.path(), setup);
        EXPECT_EQ(result.exitCode, 1) << output;
        EXPECT_THAT(result.err, HasSubstr(message)) << output;
        EXPECT_EQ(folder_.listing(), before) << output;
        EXPECT_EQ(readFile(path("in.zrm")), model_) << output;
    }
}

}  // namespace
}  // namespace morvane::testing
