// A request to end the program that comes while the window's save gives the
// model its name waits for the name, and then ends the program: the output
// holds the whole new model, and no temporary file is left.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <string>
#include <vector>

#include "support/file_layer_models.h"
#include "support/pass_runner.h"
#include "support/temp_folder.h"
#include "support/zrm_builder.h"

namespace morvane::testing {
namespace {

// The save, as a person makes it, with `injected` given to strace (as
// "rename:signal=3"), which meets it at that very system call; its trace and
// strace's log go to `logs`. Returns the raw wait status.
int saveInWindow(const std::filesystem::path& model, const std::filesystem::path& output,
                 const std::string& injected, const std::filesystem::path& logs) {
    const std::filesystem::path traceFile = logs / "trace.txt";
    const std::filesystem::path log = logs / "strace.txt";
    std::vector<std::string> words = {SAVE_IN_WINDOW, model.string(), output.string()};
    if (!injected.empty()) {
        words.insert(words.begin(), {"/usr/bin/strace", "-qq", "-f", "-o", log.string(), "-e",
                                     "trace=linkat,rename", "-e", "inject=" + injected});
    }
    const pid_t child = ::fork();
    if (child == 0) {
        std::vector<char*> argv;
        for (std::string& word : words) {
            argv.push_back(word.data());
        }
        argv.push_back(nullptr);
        // As from a terminal, and without a core dump for SIGQUIT.
        for (const int signal : {SIGINT, SIGQUIT, SIGTERM, SIGHUP}) {
            ::signal(signal, SIG_DFL);
        }
        const rlimit noCore{0, 0};
        ::setrlimit(RLIMIT_CORE, &noCore);
        ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
        // The window's settings find no folder to be written in (one is a file
        // already), so that the calls met are the model's alone.
        ::setenv("XDG_CONFIG_HOME", (traceFile / "settings").c_str(), 1);
        const int trace = ::open(traceFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (trace < 0 || ::dup2(trace, STDOUT_FILENO) != STDOUT_FILENO) {
            ::_exit(126);
        }
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return status;
}

TEST(WindowEndingSignals, WaitForTheModelToTakeItsNameAndThenEndTheProgram) {
    TempFolder folder;
    TempFolder logs;
    const auto input = folder / "in.zrm";
    const auto output = folder / "out.zrm";
    writeFile(input, kModel);
    // Once untraced, so that whatever the toolkit sets up on its first run is done.
    ASSERT_EQ(saveInWindow(input, output, "", logs.path()), 0);
    // A model that replaces a file is linked under a hidden name, then renamed.
    for (const char* call : {"linkat", "rename"}) {
        for (const int signal : {SIGQUIT, SIGTERM, SIGINT, SIGHUP}) {
            SCOPED_TRACE(std::string(call) + " " + strsignal(signal));
            writeFile(output, kPrecious);
            const int status = saveInWindow(
                input, output, std::string(call) + ":signal=" + std::to_string(signal) + ":when=1",
                logs.path());
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal)
                << "ended with status " << status;
            EXPECT_EQ(readFile(output), rewriteInMemory(kModel, 1).output);
            EXPECT_EQ(folder.listing(), "in.zrm out.zrm ");
        }
    }
}

}  // namespace
}  // namespace morvane::testing
