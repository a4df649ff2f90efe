#include <sys/xattr.h>

#include <array>

#include "command_line_fixture.h"

namespace morvane::testing {
namespace {

// Each unusable input or output gets its own message, exit status 1, and
// leaves every file as it was, and a named pipe with no writer does not make
// the tool wait. Under root the tool runs as nobody, so that the locked
// folder binds and a file of root's in a folder open to all cannot be
// replaced by a file of nobody's.
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
    fs::permissions(path("open"), fs::perms(0777));
    fs::permissions(path("locked"), fs::perms(0505));
    fs::permissions(folder_.path(), fs::perms(0505), fs::perm_options::add);
    std::vector<std::array<std::string, 3>> cases = {
        {"pipe", "out.zrm", "'pipe' is a named pipe (FIFO), not a model file"},
        {"/proc/self/status", "out.zrm", "is a file of the system's own information"},
        {"in.zrm", "nowhere/out.zrm",
         "cannot write in the folder 'nowhere': No such file or directory"},
        {"in.zrm", "adir", "'adir' is a folder, not a model file"},
        {"in.zrm", "locked/out.zrm", "cannot write in the folder 'locked': Permission denied"},
        {"in.zrm", "pipe", "'pipe' is a named pipe (FIFO), not a model file"},
        {"in.zrm", "socket", "'socket' is a socket, not a model file"},
        {"in.zrm", "dangling",
         "'dangling' is a symbolic link to 'gone/out.zrm', which does not exist"},
        {"in.zrm", "in.zrm", "it is the input model itself"},
        {"in.zrm", "link.zrm", "it is the input model itself"},
        {"in.zrm", "hard.zrm", "it is the input model itself"},
    };
    if (root) {
        ASSERT_EQ(::mknod(path("null").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
        ASSERT_EQ(::mknod(path("disk").c_str(), S_IFBLK | 0600, makedev(7, 200)), 0);
        cases.push_back({"in.zrm", "null", "'null' is a character device, not a model file"});
        cases.push_back({"in.zrm", "disk", "'disk' is a block device, not a model file"});
        cases.push_back({"in.zrm", "open/out.zrm",
                         "cannot replace 'open/out.zrm' with a file of the same owner and group "
                         "(user 0, group 0): Operation not permitted"});
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
    EXPECT_EQ(readFile(path("in.zrm")), model_);
    EXPECT_EQ(readFile(path("open/out.zrm")), kPrecious);
    EXPECT_THAT(run({"--list", "pipe"}).err, HasSubstr("'pipe' is a named pipe (FIFO), not a"));
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

// Root replaces a file of another user: the owner must still be able to read
// it, a set-user-ID file must not become root's, and its access control
// list and attributes stay.
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
// The tool waits mid-rewrite for a reader of its trace that never reads; the
// older model at the output name stays.
TEST_F(CommandLine, ASignalMidRewriteLeavesNothingOrTheOldOutputAndNoTemporaryFile) {
    writeFile(path("in.zrm"), manyChunks());
    writeFile(path("out.zrm"), kPrecious);
    const std::pair<std::string, int> cases[] = {{MORVANE_CLI, SIGKILL},
                                                 {MORVANE_CLI_NAMED_TEMPORARY, SIGINT},
                                                 {MORVANE_CLI_NAMED_TEMPORARY, SIGTERM},
                                                 {MORVANE_CLI_NAMED_TEMPORARY, SIGHUP}};
    for (const auto& [program, signal] : cases) {
        SCOPED_TRACE(program + " " + std::to_string(signal));
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
        EXPECT_EQ(folder_.listing(), "in.zrm out.zrm ");
        EXPECT_EQ(readFile(path("out.zrm")), kPrecious);
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
