// Symbolic links on the way to an output: followed, or refused where another
// user may have planted them.
#include "command_line.h"

namespace morvane::testing {
namespace {

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

}  // namespace
}  // namespace morvane::testing
