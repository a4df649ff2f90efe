// Paths a rewrite must not take as they are: closed standard streams, names
// that hold control characters, devices, pipes and other users' files.
#include "command_line.h"

namespace morvane::testing {
namespace {

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

}  // namespace
}  // namespace morvane::testing
