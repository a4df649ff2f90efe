// Linked with the system's fsync and rename wrapped (-Wl,--wrap), so the test
// sees in which order the rewrite makes its file and its name durable.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <sstream>
#include <string>
#include <vector>

#include "model/file_rewrite.h"
#include "support/temp_folder.h"
#include "support/zrm_builder.h"

namespace {

std::vector<std::string> calls;

// What was synced, by inode: "file 1234" or "folder 1234".
std::string describe(const struct stat& status) {
    return (S_ISDIR(status.st_mode) ? "folder " : "file ") + std::to_string(status.st_ino);
}

}  // namespace

extern "C" int __real_fsync(int fd);
extern "C" int __real_rename(const char* from, const char* to);

extern "C" int __wrap_fsync(int fd) {
    struct stat status {};
    calls.push_back("fsync " + (::fstat(fd, &status) == 0 ? describe(status) : "?"));
    return __real_fsync(fd);
}

extern "C" int __wrap_rename(const char* from, const char* to) {
    calls.push_back(std::string("rename to ") + to);
    return __real_rename(from, to);
}

namespace morvane::testing {
namespace {

TEST(DurableRename, FileIsSyncedBeforeItsNameAndTheFolderAfter) {
    TempFolder folder;
    writeFile(folder / "in.zrm", containerHeader() + chunk(kPrim, 0, 4, payload(4)));
    std::ostringstream trace;
    calls.clear();
    RewriteModelFile(folder / "in.zrm", folder / "out.zrm", 2, trace);
    struct stat file {};
    struct stat dir {};
    ::stat((folder / "out.zrm").c_str(), &file);
    ::stat(folder.path().c_str(), &dir);
    const std::vector<std::string> expected = {"fsync " + describe(file),
                                               "rename to " + (folder / "out.zrm").string(),
                                               "fsync " + describe(dir)};
    EXPECT_EQ(calls, expected);
}

}  // namespace
}  // namespace morvane::testing
