// Linked with the system's syncfs, fsync, linkat and rename wrapped
// (-Wl,--wrap), so the test sees in which order a batch makes its files and
// their names durable, and can make the sync of the whole file system fail.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <sstream>
#include <string>
#include <vector>

#include "model/batch_rewrite.h"
#include "support/pass_runner.h"
#include "support/temp_folder.h"
#include "support/zrm_builder.h"

namespace {

std::vector<std::string> calls;
bool failSyncfs = false;

std::string describe(int fd) {
    struct stat status {};
    if (::fstat(fd, &status) != 0) {
        return "?";
    }
    return S_ISDIR(status.st_mode) ? "folder" : "file";
}

}  // namespace

extern "C" int __real_syncfs(int fd);
extern "C" int __real_fsync(int fd);
extern "C" int __real_linkat(int fromFolder, const char* from, int toFolder, const char* to,
                             int flags);
extern "C" int __real_rename(const char* from, const char* to);

extern "C" int __wrap_syncfs(int fd) {
    calls.push_back("syncfs");
    if (failSyncfs) {
        errno = EIO;
        return -1;
    }
    return __real_syncfs(fd);
}

extern "C" int __wrap_fsync(int fd) {
    calls.push_back("fsync " + describe(fd));
    return __real_fsync(fd);
}

extern "C" int __wrap_linkat(int fromFolder, const char* from, int toFolder, const char* to,
                             int flags) {
    calls.push_back("name " + std::filesystem::path(to).filename().string());
    return __real_linkat(fromFolder, from, toFolder, to, flags);
}

extern "C" int __wrap_rename(const char* from, const char* to) {
    calls.push_back("name " + std::filesystem::path(to).filename().string());
    return __real_rename(from, to);
}

namespace morvane::testing {
namespace {

struct Reported {
    std::string output;
    bool written;
};

// Four models into one folder: two new names, one replacing an older file
// (named through a temporary name and a rename), one refused.
std::vector<Reported> rewriteBatch(const TempFolder& folder) {
    const std::string good = containerHeader() + chunk(kPrim, 0, 4, payload(4));
    writeFile(folder / "a.zrm", good);
    writeFile(folder / "bad.zrm", containerHeader() + chunk(kNorm, 0, 99, ""));
    writeFile(folder / "c.zrm", good);
    writeFile(folder / "d.zrm", good);
    std::filesystem::create_directory(folder / "out");
    writeFile(folder / "out/c.zrm", "an older model that must make way");
    std::filesystem::permissions(folder / "out/c.zrm", std::filesystem::perms(0640));
    std::vector<Reported> reported;
    std::ostringstream trace;
    calls.clear();
    BatchRewrite batch(2, trace, {}, [&](const BatchRewrite::Outcome& outcome) {
        reported.push_back({outcome.output.filename().string(), outcome.written.has_value()});
    });
    for (const char* name : {"a.zrm", "bad.zrm", "c.zrm", "d.zrm"}) {
        batch.add(folder / name, folder / "out" / name);
    }
    batch.finish();
    return reported;
}

// The names come after the syncs and before the folder's one sync; every
// model is reported in order, the refused one without touching its name, and
// the replaced file's permission bits carry over.
void expectNamedAfterSyncing(const TempFolder& folder, const std::vector<Reported>& reported) {
    ASSERT_EQ(reported.size(), 4u);
    EXPECT_TRUE(reported[0].written && !reported[1].written && reported[2].written &&
                reported[3].written);
    EXPECT_EQ(reported[1].output, "bad.zrm");
    const std::string expected = rewriteInMemory(readFile(folder / "a.zrm"), 2).output;
    for (const char* name : {"a.zrm", "c.zrm", "d.zrm"}) {
        EXPECT_EQ(readFile(folder / "out" / name), expected) << name;
    }
    EXPECT_EQ(std::filesystem::status(folder / "out/c.zrm").permissions(),
              std::filesystem::perms(0640));
    EXPECT_EQ(folder.listing(), "a.zrm bad.zrm c.zrm d.zrm out ");
    EXPECT_EQ(calls.back(), "fsync folder");
    const auto firstName = std::find_if(calls.begin(), calls.end(), [](const std::string& call) {
        return call.starts_with("name ");
    });
    for (auto call = firstName; call != calls.end() - 1; ++call) {
        EXPECT_TRUE(call->starts_with("name ")) << *call;
    }
    const std::vector<std::string> names(firstName, calls.end() - 1);
    ASSERT_EQ(names.size(), 4u);
    EXPECT_EQ(names[0], "name a.zrm");
    EXPECT_TRUE(names[1].starts_with("name .morvane-")) << names[1];
    EXPECT_EQ(names[2], "name c.zrm");
    EXPECT_EQ(names[3], "name d.zrm");
}

TEST(BatchDurability, FilesAreSyncedTogetherThenNamedThenTheFolderSyncedOnce) {
    TempFolder folder;
    const std::vector<Reported> reported = rewriteBatch(folder);
    expectNamedAfterSyncing(folder, reported);
    // One sync of the file system where that is sound, else each file's own.
    const std::vector<std::string> syncs(calls.begin(), calls.end() - 5);
    EXPECT_TRUE(syncs == std::vector<std::string>{"syncfs"} ||
                syncs == std::vector<std::string>(3, "fsync file"))
        << ::testing::PrintToString(syncs);
}

TEST(BatchDurability, WhenTheFileSystemSyncFailsEachFileIsSyncedOnItsOwn) {
    TempFolder folder;
    failSyncfs = true;
    const std::vector<Reported> reported = rewriteBatch(folder);
    failSyncfs = false;
    expectNamedAfterSyncing(folder, reported);
    std::vector<std::string> syncs(calls.begin(), calls.end() - 5);
    std::erase(syncs, "syncfs");
    EXPECT_EQ(syncs, std::vector<std::string>(3, "fsync file"));
}

}  // namespace
}  // namespace morvane::testing
