// Linked with the system's fsync and rename wrapped (-Wl,--wrap), so the test
// sees in which order the rewrite makes its file and its name durable.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "model/file_rewrite.h"
#include "support/temp_folder.h"
#include "support/zrm_builder.h"

namespace {

std::vector<std::string> calls;

std::string describeFd(int fd) {
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        return "?";
    }
    return (S_ISDIR(status.st_mode) ? "folder " : "file ") + std::to_string(status.st_ino);
}

}  // namespace

extern "C" int __real_fsync(int fd);
extern "C" int __real_rename(const char* from, const char* to);

extern "C" int __wrap_fsync(int fd) {
    calls.push_back("fsync " + describeFd(fd));
    return __real_fsync(fd);
}

extern "C" int __wrap_rename(const char* from, const char* to) {
    calls.push_back(std::string("rename to ") + to);
    return __real_rename(from, to);
}

namespace morvane::testing {
namespace {

std::string inode(const std::filesystem::path& path) {
    struct stat status {};
    ::stat(path.c_str(), &status);
    return std::to_string(status.st_ino);
}

TEST(DurableRename, FileIsSyncedBeforeItsNameAndTheFolderAfter) {
    TempFolder folder;
    writeFile(folder / "in.zrm", containerHeader() + chunk(kPrim, 0, 4, payload(4)));
    std::ostringstream trace;
    calls.clear();
    RewriteModelFile(folder / "in.zrm", folder / "out.zrm", 2, trace);
    const std::vector<std::string> expected = {
        "fsync file " + inode(folder / "out.zrm"),
        "rename to " + (folder / "out.zrm").string(),
        "fsync folder " + inode(folder.path()),
    };
    EXPECT_EQ(calls, expected);
}

}  // namespace
}  // namespace morvane::testing
