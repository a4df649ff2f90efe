// The safe output and a batch's durability on Linux: the files' bits and
// owners, the order in which models are synced and named, a model changed
// while it is read, and what takes the output name meanwhile.
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <numeric>
#include <sstream>

#include "model/carried_block.h"
#include "model/chunk_listing.h"
#include "model/files/batch_rewrite.h"
#include "model/files/model_file.h"
#include "support/faulty_calls.h"
#include "support/file_layer_models.h"
#include "support/file_rewrite.h"
#include "support/pass_runner.h"
#include "support/temp_folder.h"
#include "support/zrm_builder.h"

namespace morvane::testing {
namespace {

namespace fs = std::filesystem;
using namespace faults;

const bool injected = (Inject(), true);

using ::testing::HasSubstr;
using ::testing::ThrowsMessage;

// c.zrm replaces an older file through a temporary name; bad.zrm is refused.
TEST(BatchDurability, FilesAreSyncedTogetherThenNamedThenTheFolderSyncedOnce) {
    for (const bool syncfsFails : {false, true}) {
        SCOPED_TRACE(syncfsFails);
        TempFolder folder;
        for (const char* name : {"a.zrm", "c.zrm", "d.zrm"}) {
            writeFile(folder / name, kModel);
        }
        writeFile(folder / "bad.zrm", containerHeader() + chunk(kNorm, 0, 99, ""));
        fs::create_directory(folder / "out");
        writeFile(folder / "out/c.zrm", kPrecious);
        fs::permissions(folder / "out/c.zrm", fs::perms(0640));
        reset(syncfsFails ? std::map<std::string, Failure>{{"syncfs", {0, EIO, 99}}}
                          : std::map<std::string, Failure>{});
        std::string reported;
        std::ostringstream trace;
        StreamTrace target(trace);
        BatchRewrite batch(
            {2, RewrittenBefore::Rewrite, &target, {}}, [&](const RewriteOutcome& outcome) {
                reported += outcome.output.filename().string() +
                            (outcome.status == RewriteOutcome::Status::Written ? " " : " refused ");
            });
        for (const char* name : {"a.zrm", "bad.zrm", "c.zrm", "d.zrm"}) {
            batch.add(folder / name, folder / "out" / name);
        }
        batch.finish();
        EXPECT_EQ(reported, "a.zrm bad.zrm refused c.zrm d.zrm ");
        for (const char* name : {"a.zrm", "c.zrm", "d.zrm"}) {
            EXPECT_EQ(readFile(folder / "out" / name), rewriteInMemory(kModel, 2).output) << name;
        }
        EXPECT_EQ(fs::status(folder / "out/c.zrm").permissions(), fs::perms(0640));
        EXPECT_EQ(folder.listing(), "a.zrm bad.zrm c.zrm d.zrm out ");
        ASSERT_GE(calls.size(), 5u);
        std::vector<std::string> syncs(calls.begin(), calls.end() - 5);
        const std::vector<std::string> named(calls.end() - 5, calls.end());
        EXPECT_TRUE(named[1].starts_with("name .morvane-")) << named[1];
        EXPECT_EQ(named[0] + ", " + named[2] + ", " + named[3] + ", " + named[4],
                  "name a.zrm, name c.zrm, name d.zrm, fsync folder out");
        const bool fileSystemSynced = syncs == std::vector<std::string>{"syncfs"};
        std::erase(syncs, "syncfs");
        EXPECT_TRUE((fileSystemSynced && !syncfsFails) ||
                    syncs == std::vector<std::string>(3, "fsync file"))
            << ::testing::PrintToString(calls);
    }
}

// A batch sizes its groups by the files free when it begins; a model that
// then finds none free lets the models before it take their names first.
TEST(BatchDurability, AModelThatFindsNoFileFreeWaitsForTheGroupBeforeIt) {
    TempFolder folder;
    fs::create_directory(folder / "out");
    std::vector<std::string> names;
    for (int i = 0; i < 12; ++i) {
        names.push_back(std::to_string(i) + ".zrm");
        writeFile(folder / names.back(), kModel);
    }
    std::ostringstream trace;
    StreamTrace target(trace);
    std::vector<std::string> reported;
    BatchRewrite batch(
        {1, RewrittenBefore::Rewrite, &target, {}}, [&](const RewriteOutcome& outcome) {
            reported.push_back(
                outcome.output.filename().string() +
                (outcome.status == RewriteOutcome::Status::Written ? "" : " failed"));
        });
    // Room for the model being read and four new ones.
    const int lowestFree = ::dup(0);
    ::close(lowestFree);
    rlimit before{};
    ASSERT_EQ(::getrlimit(RLIMIT_NOFILE, &before), 0);
    const rlimit few{static_cast<rlim_t>(lowestFree + 5), before.rlim_max};
    ASSERT_EQ(::setrlimit(RLIMIT_NOFILE, &few), 0);
    for (const std::string& name : names) {
        batch.add(folder / name, folder / "out" / name);
    }
    batch.finish();
    ::setrlimit(RLIMIT_NOFILE, &before);
    EXPECT_EQ(reported, names);
    EXPECT_EQ(readFile(folder / "out" / names.back()), rewriteInMemory(kModel, 1).output);
}

// File times come from a clock that moves only every few milliseconds: this
// waits until it has moved past the model's last change, so that a change
// made now shows in the model's times.
void waitForTheClockToPass(const fs::path& model) {
    const fs::path probe = model.parent_path() / "clock";
    writeFile(probe, "");
    struct stat before {};
    struct stat now {};
    ::stat(model.c_str(), &before);
    do {
        ::utimensat(AT_FDCWD, probe.c_str(), nullptr, 0);
        ::stat(probe.c_str(), &now);
    } while (std::pair(now.st_ctim.tv_sec, now.st_ctim.tv_nsec) <=
             std::pair(before.st_ctim.tv_sec, before.st_ctim.tv_nsec));
    fs::remove(probe);
}

class SafeRewrite : public ::testing::Test {
protected:
    void SetUp() override { writeFile(folder_ / "in.zrm", kModel); }

    PassSummary rewrite(const std::string& input, const std::string& output,
                        const RewriteProgress& progress = {}) {
        return rewriteFile(folder_ / input, folder_ / output, 1, trace_, progress).summary;
    }

    TempFolder folder_;
    std::ostringstream trace_;
};

// A new file gets 0666 less the umask; a replaced one, reached here through a
// symbolic link that must stay one, keeps its bits. A new name is made at
// once; a replaced file's name can only be taken by a rename, for which the
// synced model needs a hidden name first.
TEST_F(SafeRewrite, WritesTheModelWithTheRightBitsAndLeavesNothingElse) {
    writeFile(folder_ / "real.zrm", kPrecious);
    fs::permissions(folder_ / "real.zrm", fs::perms(0640));
    fs::create_symlink("real.zrm", folder_ / "alias.zrm");
    const mode_t previous = ::umask(022);
    const std::string rewritten = rewriteInMemory(kModel, 1).output;
    const std::string folderSynced = "fsync folder " + folder_.path().filename().string();
    reset();
    const PassSummary summary = rewrite("in.zrm", "new.zrm");
    EXPECT_EQ(calls, (std::vector<std::string>{"fsync file", "name new.zrm", folderSynced}));
    reset();
    rewrite("in.zrm", "alias.zrm");
    ASSERT_EQ(calls.size(), 4u);
    EXPECT_TRUE(calls[1].starts_with("name .morvane-")) << calls[1];
    EXPECT_EQ(calls[0] + ", " + calls[2] + ", " + calls[3],
              "fsync file, name real.zrm, " + folderSynced);
    ::umask(previous);
    EXPECT_EQ(readFile(folder_ / "new.zrm"), rewritten);
    EXPECT_EQ(summary.bytesWritten, static_cast<std::int64_t>(rewritten.size()));
    EXPECT_EQ(fs::status(folder_ / "new.zrm").permissions(), fs::perms(0644));
    EXPECT_TRUE(fs::is_symlink(folder_ / "alias.zrm"));
    EXPECT_EQ(readFile(folder_ / "real.zrm"), rewritten);
    EXPECT_EQ(fs::status(folder_ / "real.zrm").permissions(), fs::perms(0640));
    EXPECT_EQ(readFile(folder_ / "in.zrm"), kModel);
    EXPECT_EQ(folder_.listing(), "alias.zrm in.zrm new.zrm real.zrm ");
}

// The last report comes just before the output is named.
TEST_F(SafeRewrite, ProgressClimbsAndACancelAnywhereLeavesTheOutputAlone) {
    writeFile(folder_ / "big.zrm", kLongModel);
    std::vector<std::int64_t> reported;  // the bytes read, or -1 beside a wrong total
    rewrite("big.zrm", "out.zrm", [&](std::int64_t read, std::int64_t total) {
        reported.push_back(total == std::ssize(kLongModel) ? read : -1);
        return true;
    });
    EXPECT_EQ(readFile(folder_ / "out.zrm"), rewriteInMemory(kLongModel, 1).output);
    ASSERT_GE(reported.size(), 3u);
    EXPECT_TRUE(std::ranges::is_sorted(reported)) << ::testing::PrintToString(reported);
    EXPECT_EQ(reported.front(), 0);
    EXPECT_EQ(reported.back(), std::ssize(kLongModel));

    writeFile(folder_ / "out.zrm", kPrecious);
    for (const std::size_t cancelAt : {std::size_t{0}, reported.size() / 2, reported.size() - 1}) {
        std::size_t calls = 0;
        EXPECT_THROW(rewrite("big.zrm", "out.zrm",
                             [&](std::int64_t, std::int64_t) { return calls++ != cancelAt; }),
                     Cancelled)
            << cancelAt;
        EXPECT_EQ(readFile(folder_ / "out.zrm"), kPrecious);
        EXPECT_EQ(folder_.listing(), "big.zrm in.zrm out.zrm ");
    }
    // Changed by another program once the first block is read: cut short
    // during the last chunk, emptied and filled again to its old length, or
    // written over with its modification time put back, which leaves only
    // the time of the change to show it.
    enum class Change { CutShort, Refilled, TimePutBack };
    for (const Change how : {Change::CutShort, Change::Refilled, Change::TimePutBack}) {
        const fs::path big = folder_ / "big.zrm";
        writeFile(big, kLongModel);
        const auto change = [&, changed = false](std::int64_t read, std::int64_t) mutable {
            if (read > 0 && !std::exchange(changed, true)) {
                waitForTheClockToPass(big);
                if (how == Change::TimePutBack) {
                    struct stat before {};
                    ::stat(big.c_str(), &before);
                    writeFile(big, kLongModel.substr(0, kLongModel.size() - 1) + "x");
                    const timespec times[2] = {before.st_atim, before.st_mtim};
                    ::utimensat(AT_FDCWD, big.c_str(), times, 0);
                } else {
                    const bool cut = how == Change::CutShort;
                    fs::resize_file(big, cut ? kLongModel.size() - 10 : 0);
                    fs::resize_file(big, kLongModel.size() - (cut ? 10 : 0));
                }
            }
            return true;
        };
        EXPECT_THAT([&] { rewrite("big.zrm", "out.zrm", change); },
                    ThrowsMessage<FileError>(HasSubstr("big.zrm': it changed while it was read")))
            << static_cast<int>(how);
        EXPECT_EQ(readFile(folder_ / "out.zrm"), kPrecious);
        EXPECT_EQ(folder_.listing(), "big.zrm in.zrm out.zrm ");
    }
}

// Without a trace the copied chunks gather in the buffers; the kernel's copy
// of the payload that follows them must land after them.
TEST_F(SafeRewrite, TheKernelsCopyComesAfterWhatTheBuffersHold) {
    const std::string model = containerHeader() + chunk(kXyzs, 0, 200 << 10, payload(200 << 10)) +
                              chunk(kNorm, 0, 20, payload(20)) +
                              chunk(kPrim, 0, 3 << 20, payload(3 << 20, 'p'));
    writeFile(folder_ / "big.zrm", model);
    std::ostream silent(nullptr);
    reset();
    rewriteFile(folder_ / "big.zrm", folder_ / "out.zrm", 5, silent);
    EXPECT_GT(counts["copy_file_range"], 0);
    EXPECT_TRUE(readFile(folder_ / "out.zrm") == rewriteInMemory(model, 5, false).output);
}

// The kernel's copy asks the read gate as often as reads through the buffers
// would, so that progress moves on, and a cancel is heard, every block.
TEST_F(SafeRewrite, TheKernelsCopyHearsProgressEveryBlock) {
    writeFile(folder_ / "big.zrm", kLongModel);
    std::vector<std::int64_t> reported;
    reset();
    rewrite("big.zrm", "out.zrm", [&](std::int64_t read, std::int64_t) {
        reported.push_back(read);
        return true;
    });
    EXPECT_GT(counts["copy_file_range"], 0);
    std::vector<std::int64_t> steps(reported.size());
    std::adjacent_difference(reported.begin(), reported.end(), steps.begin());
    EXPECT_LE(std::ranges::max(steps), 256 << 10) << ::testing::PrintToString(reported);
}

// The output name is looked at again right before the new model takes it.
TEST_F(SafeRewrite, WhatTakesTheOutputNameDuringTheWriteIsLeftAlone) {
    const fs::path out = folder_ / "out.zrm";
    for (const bool fifo : {true, false}) {
        fs::remove(out);
        const auto take = [&](std::int64_t read, std::int64_t total) {
            if (read == total && !fs::exists(out)) {
                fifo ? (void)::mkfifo(out.c_str(), 0600) : writeFile(out, kPrecious);
            }
            return true;
        };
        EXPECT_THAT([&] { rewrite("in.zrm", "out.zrm", take); },
                    ThrowsMessage<FileError>(HasSubstr(
                        fifo ? "is a named pipe (FIFO), not a model file"
                             : "was created by another program while the model was written")));
        EXPECT_EQ(folder_.listing(), "in.zrm out.zrm ");
    }
    EXPECT_EQ(readFile(out), kPrecious);
}

// The models near 2 GiB are sparse files and cost no disk.
TEST_F(SafeRewrite, RefusedModelLeavesTheOutputNameAlone) {
    const std::string cases[][2] = {
        {chunk(kXyzs, 0, 4096, payload(10)),
         "XYZS chunk at offset 12: the payload needs 4096 bytes, only 10"},
        {chunk(kPrim, 0, 0x7FFFFFF8u, ""),
         "PRIM chunk at offset 12: the extended size word (2147483652)"},
        // Fits by itself; only the closing chunk takes it one byte past the limit.
        {chunk(kXyzs, 0, 0x7FFFFFD4u, ""),
         "XYZS chunk at offset 12: the rewritten model's byte count with its closing HAND chunk "
         "(2147483648)"},
    };
    writeFile(folder_ / "old.zrm", kPrecious);
    for (const auto& [body, message] : cases) {
        writeFile(folder_ / "bad.zrm", containerHeader() + body);
        if (body.size() == 12) {
            fs::resize_file(folder_ / "bad.zrm", std::uintmax_t{3} << 30);
        }
        for (const char* output : {"new.zrm", "old.zrm"}) {
            trace_.str("");
            EXPECT_THAT([&] { rewrite("bad.zrm", output); },
                        ThrowsMessage<ModelError>(
                            HasSubstr("'" + (folder_ / "bad.zrm").string() + "': " + message)));
            const std::string trace = trace_.str();
            EXPECT_EQ(trace.substr(trace.find("copybytes, 12 bytes\n")).rfind("copybytes"), 0u)
                << "copied more than the container header before refusing";
        }
        EXPECT_EQ(readFile(folder_ / "old.zrm"), kPrecious);
        EXPECT_EQ(folder_.listing(), "bad.zrm in.zrm old.zrm ");
    }
    // One byte less, and the rewrite's count is the largest word exactly.
    writeFile(folder_ / "bad.zrm", containerHeader() + chunk(kXyzs, 0, 0x7FFFFFD3u, ""));
    fs::resize_file(folder_ / "bad.zrm", 24 + 0x7FFFFFD3u);
    std::string listed;
    ModelFile(folder_ / "bad.zrm").list([&](const ListingRow& row) {
        listed += row.chunk.kind->name;
    });
    EXPECT_EQ(listed, "ZRM4XYZS");
}

}  // namespace
}  // namespace morvane::testing
