#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <sys/xattr.h>

#include <array>
#include <cstring>
#include <tuple>

#include "command_line_fixture.h"

namespace morvane::testing {
namespace {

// Names and kinds of what the folder holds: a device replaced by a regular
// file of the same name must show.
std::string kinds(const fs::path& folder) {
    std::string listing;
    for (const auto& entry : fs::directory_iterator(folder)) {
        struct stat status {};
        ::lstat(entry.path().c_str(), &status);
        listing += entry.path().filename().string() + ":" + std::to_string(status.st_mode >> 12);
    }
    return listing;
}

// Each unusable input or output gets its own message, exit status 1, and
// leaves every file as it was, devices, pipes and links included, and a
// named pipe with no writer does not make the tool wait. Under root the tool
// runs as nobody, so that the locked folder binds.
TEST_F(CommandLine, UnusablePathsAreRefusedEachWithItsOwnMessage) {
    const bool root = ::geteuid() == 0;
    writeFile(path("in.zrm"), model_);
    for (const char* folder : {"adir", "sub", "locked"}) {
        fs::create_directory(path(folder));
    }
    fs::create_symlink("in.zrm", path("link.zrm"));
    fs::create_hard_link(path("in.zrm"), path("hard.zrm"));
    fs::create_symlink("gone/out.zrm", path("dangling"));
    ASSERT_EQ(::mkfifo(path("pipe").c_str(), 0666), 0);
    sockaddr_un address{.sun_family = AF_UNIX, .sun_path = {}};
    std::strncpy(address.sun_path, path("socket").c_str(), sizeof address.sun_path - 1);
    const int socket = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_EQ(::bind(socket, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
    ::close(socket);
    fs::permissions(path("locked"), fs::perms(0505));
    fs::permissions(folder_.path(), fs::perms(0505), fs::perm_options::add);
    std::vector<std::array<std::string, 3>> cases = {
        {"adir", "out.zrm", "'adir' is a folder, not a model file"},
        {"missing.zrm", "out.zrm",
         "cannot open the model 'missing.zrm': No such file or directory"},
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
    };
    if (root) {
        ASSERT_EQ(::mknod(path("null").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
        ASSERT_EQ(::mknod(path("zero").c_str(), S_IFCHR | 0666, makedev(1, 5)), 0);
        ASSERT_EQ(::mknod(path("disk").c_str(), S_IFBLK | 0600, makedev(7, 200)), 0);
        fs::create_symlink("null", path("to-null"));
        cases.push_back({"zero", "out.zrm", "'zero' is a character device, not a model file"});
        cases.push_back({"in.zrm", "null", "'null' is a character device, not a model file"});
        cases.push_back({"in.zrm", "to-null", "'to-null' is a character device, not a model"});
        cases.push_back({"in.zrm", "disk", "'disk' is a block device, not a model file"});
    }
    for (const std::string& same : std::vector<std::string>{
             "in.zrm", "./in.zrm", "sub/../in.zrm", "link.zrm", "hard.zrm", path("in.zrm"),
             "../" + folder_.path().filename().string() + "/in.zrm"}) {
        cases.push_back({"in.zrm", same, "it is the input model itself"});
    }
    const std::string before = kinds(folder_.path());
    for (const std::string& program : kPrograms) {
        for (const auto& [input, output, message] : cases) {
            SCOPED_TRACE(program + " " + input + " " + output);
            const ToolRun result =
                run({"-n", "3", input, output}, {.program = program, .asNobody = root});
            EXPECT_EQ(result.exitCode, 1);
            EXPECT_THAT(result.err, HasSubstr(message));
            EXPECT_EQ(kinds(folder_.path()), before);
            EXPECT_EQ(readFile(path("in.zrm")), model_);
        }
    }
    const ToolRun listed = run({"--list", "pipe"});
    EXPECT_EQ(listed.exitCode, 1);
    EXPECT_THAT(listed.err, HasSubstr("'pipe' is a named pipe (FIFO), not a model file"));
}

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
