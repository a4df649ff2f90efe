#include <tuple>

#include "command_line_fixture.h"

namespace morvane::testing {
namespace {

// A full disk or a signal in the middle of a write must never cost the user a
// file, nor leave a temporary one behind, whichever way the model is written.

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
    for (const std::string& program : kPrograms) {
        SCOPED_TRACE(program);
        TempFolder out;
        writeFile(out / "old.zrm", kPrecious);
        const ToolRun result =
            run({"-n", "5", "-d", out.path().string(), "old.zrm", "new.zrm", "small.zrm"},
                {.program = program, .fileSizeLimit = kRoom});
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_THAT(result.err, HasSubstr("old.zrm': File too large"));
        EXPECT_THAT(result.err, HasSubstr("new.zrm': File too large"));
        EXPECT_EQ(readFile(out / "old.zrm"), kPrecious);
        EXPECT_EQ(readFile(out / "small.zrm"), rewriteInMemory(small, 5).output);
        EXPECT_EQ(out.listing(), "old.zrm small.zrm ");
    }
    EXPECT_EQ(readFile(path("old.zrm")), big);
}

// Enough chunks for a trace of several hundred kilobytes, more than any
// buffer or pipe holds back.
std::string manyChunks() {
    std::string model = containerHeader();
    for (int i = 0; i < 20000; ++i) {
        model += chunk(kPrim, 0, 8, payload(8));
    }
    return model;
}

// Whether the tool has a file open in `folder` besides the input: the model
// it writes.
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

// SIGKILL cannot be caught: only a file without a name is safe from it. The
// signals that ask a program to end take a named temporary file with them.
// The tool waits mid-rewrite for a reader of its trace that never reads.
TEST_F(CommandLine, ASignalMidRewriteLeavesNothingOrTheOldOutputAndNoTemporaryFile) {
    writeFile(path("in.zrm"), manyChunks());
    const std::tuple<std::string, int, bool> cases[] = {
        {MORVANE_CLI, SIGKILL, false},
        {MORVANE_CLI, SIGKILL, true},
        {MORVANE_CLI, SIGTERM, true},
        {MORVANE_CLI_NAMED_TEMPORARY, SIGINT, false},
        {MORVANE_CLI_NAMED_TEMPORARY, SIGTERM, true},
        {MORVANE_CLI_NAMED_TEMPORARY, SIGHUP, true},
    };
    for (const auto& [program, signal, oldOutput] : cases) {
        SCOPED_TRACE(program + " " + std::to_string(signal));
        fs::remove(path("out.zrm"));
        if (oldOutput) {
            writeFile(path("out.zrm"), kPrecious);
        }
        CliProcess tool({"-n", "9", "in.zrm", "out.zrm"}, folder_.path(), logs_.path(),
                        {.program = program, .output = StandardOutputTo::StalledReader});
        for (int waited = 0;
             !writing(tool.pid(), folder_.path()) && tool.running() && waited < 60000; ++waited) {
            ::usleep(1000);
        }
        if (tool.running()) {
            ::kill(tool.pid(), signal);
        }
        const int status = tool.wait();
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal)
            << "the rewrite did not end by the signal: " << readFile(logs_ / "stderr.txt");
        EXPECT_EQ(folder_.listing(), oldOutput ? "in.zrm out.zrm " : "in.zrm ");
        EXPECT_EQ(readFile(path("out.zrm")), oldOutput ? kPrecious : "");
    }
}

// A trace or a listing that cannot be written is an error: exit status 1, the
// system's reason, and a model that was being written is left as it was. A
// listing stops at the first model whose rows are lost.
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
    // A batch stops at the first model whose trace is lost: every later one
    // would fail the same way.
    const ToolRun batch = run({"-n", "2", "-d", "batch", "in.zrm", "out.zrm"}, gone);
    EXPECT_EQ(batch.exitCode, 1);
    EXPECT_EQ(batch.err, lost + "batch/in.zrm' was left as it was\n");
    for (const char* format : {"--list", "--json"}) {
        const ToolRun listing = run({"--list", format, "in.zrm", "missing.zrm"}, gone);
        EXPECT_EQ(listing.exitCode, 1) << format;
        EXPECT_EQ(listing.err,
                  "morvane-cli: cannot write the listing to standard output: Broken pipe\n");
    }
    EXPECT_EQ(readFile(path("out.zrm")), kPrecious);
    EXPECT_EQ(folder_.listing() + TempFolder::namesIn(path("batch")), "batch in.zrm out.zrm ");
}

}  // namespace
}  // namespace morvane::testing
