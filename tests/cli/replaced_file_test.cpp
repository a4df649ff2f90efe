#include <sys/stat.h>
#include <sys/xattr.h>

#include <array>
#include <tuple>

#include "command_line_fixture.h"

namespace morvane::testing {
namespace {

constexpr std::uint32_t kNobody = 65534;

// An access control list as the system stores it, entries of a tag with its
// permissions and an id (all ones: none): the owner may read and write, the
// user nobody, the owning group and the mask may read, others nothing.
std::string accessControlList() {
    std::string acl = words({2});
    for (const auto& [tag, permissions, id] : std::vector<std::array<std::uint32_t, 3>>{
             {0x01, 6, ~0u}, {0x02, 4, kNobody}, {0x04, 4, ~0u}, {0x10, 4, ~0u}, {0x20, 0, ~0u}}) {
        acl += words({tag | permissions << 16, id});
    }
    return acl;
}

std::string attribute(const std::string& file, const char* name) {
    char value[256];
    const ssize_t size = ::getxattr(file.c_str(), name, value, sizeof value);
    return size < 0 ? "(none)" : std::string(value, static_cast<std::size_t>(size));
}

std::tuple<uid_t, gid_t, mode_t> ownerGroupAndMode(const std::string& file) {
    struct stat status {};
    ::stat(file.c_str(), &status);
    return {status.st_uid, status.st_gid, status.st_mode & 07777};
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
    const std::string acl = accessControlList();
    for (const std::string& program : kPrograms) {
        for (const mode_t mode : {mode_t{0600}, mode_t{04755}, mode_t{02750}}) {
            SCOPED_TRACE(program + " " + std::to_string(mode));
            writeFile(out, kPrecious);
            ASSERT_EQ(::chown(out.c_str(), kNobody, kNobody + 1), 0);
            ASSERT_EQ(::setxattr(out.c_str(), "user.origin", "scan 7", 6, 0), 0);
            ASSERT_EQ(::setxattr(out.c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0),
                      0);
            ASSERT_EQ(::chmod(out.c_str(), mode), 0);
            const auto before = ownerGroupAndMode(out);
            const std::string aclBefore = attribute(out, "system.posix_acl_access");
            ASSERT_NE(aclBefore, "(none)");
            const ToolRun result =
                run({"-q", "-n", "2", "in.zrm", "out.zrm"}, {.program = program});
            EXPECT_EQ(result.exitCode, 0) << result.err;
            EXPECT_EQ(readFile(out), rewriteInMemory(model_, 2).output);
            EXPECT_EQ(ownerGroupAndMode(out), before);
            EXPECT_EQ(attribute(out, "user.origin"), "scan 7");
            EXPECT_EQ(attribute(out, "system.posix_acl_access"), aclBefore);
            EXPECT_EQ(folder_.listing(), "in.zrm out.zrm ");
        }
    }
}

// A user who may write in the folder but cannot give a file to its owner is
// refused before anything is written, and the file stays whole and theirs.
TEST_F(CommandLine, AReplacementThatCannotKeepTheOwnerIsRefused) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "running as another user takes root";
    }
    writeFile(path("in.zrm"), model_);
    writeFile(path("out.zrm"), kPrecious);
    fs::permissions(path("out.zrm"), fs::perms(0666));
    fs::permissions(folder_.path(), fs::perms(0777));
    const auto before = ownerGroupAndMode(path("out.zrm"));
    for (const std::string& program : kPrograms) {
        const ToolRun result =
            run({"-q", "-n", "2", "in.zrm", "out.zrm"}, {.program = program, .asNobody = true});
        EXPECT_EQ(result.exitCode, 1) << program;
        EXPECT_EQ(result.err,
                  "morvane-cli: cannot replace 'out.zrm' with a file of the same owner "
                  "and group (user 0, group 0): Operation not permitted\n");
        EXPECT_EQ(readFile(path("out.zrm")), kPrecious);
        EXPECT_EQ(ownerGroupAndMode(path("out.zrm")), before);
        EXPECT_EQ(folder_.listing(), "in.zrm out.zrm ");
    }
}

}  // namespace
}  // namespace morvane::testing
