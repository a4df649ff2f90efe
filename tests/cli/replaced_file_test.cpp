// A replaced file keeps its owner, group, mode and attributes.
#include "command_line.h"

namespace morvane::testing {
namespace {

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

}  // namespace
}  // namespace morvane::testing
