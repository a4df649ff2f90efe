// Signals: a read cut short, a signal mid-rewrite, and the ending signals that
// wait while a model takes its name.
#include "command_line.h"

namespace morvane::testing {
namespace {

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

}  // namespace
}  // namespace morvane::testing
