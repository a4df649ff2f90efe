#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <functional>
#include <sstream>
#include <utility>
#include <vector>

#include "model/chunk_listing.h"
#include "model/file_rewrite.h"
#include "support/pass_runner.h"
#include "support/temp_folder.h"
#include "support/zrm_builder.h"

namespace morvane::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::ThrowsMessage;

const std::string kModel = containerHeader() + chunk(kPrim, 0, 8, payload(8));
const std::string kRewritten = withSizeWord(
    containerHeader() + chunk(kPrim, 0, 20, payload(8)) + volumeBlock(1) + closingHand(8),
    12 + 28 + 20);
const std::string kPrecious = "an older model that must survive";

class SafeRewrite : public ::testing::Test {
protected:
    void SetUp() override { writeFile(folder_ / "in.zrm", kModel); }

    PassSummary rewrite(const fs::path& input, const std::string& output,
                        const RewriteProgress& progress = {}) {
        return RewriteModelFile(input, folder_ / output, 1, trace_, progress);
    }

    TempFolder folder_;
    std::ostringstream trace_;
};

// A new file gets 0666 less the umask; a replaced one, reached here through a
// symbolic link that must stay one, keeps its bits.
TEST_F(SafeRewrite, WritesTheModelWithTheRightBitsAndLeavesNothingElse) {
    writeFile(folder_ / "real.zrm", kPrecious);
    fs::permissions(folder_ / "real.zrm", fs::perms(0640));
    fs::create_symlink("real.zrm", folder_ / "alias.zrm");
    const mode_t previous = ::umask(022);
    const PassSummary summary = rewrite(folder_ / "in.zrm", "new.zrm");
    rewrite(folder_ / "in.zrm", "alias.zrm");
    ::umask(previous);
    EXPECT_EQ(readFile(folder_ / "new.zrm"), kRewritten);
    EXPECT_EQ(summary.bytesWritten, static_cast<std::int64_t>(kRewritten.size()));
    EXPECT_EQ(fs::status(folder_ / "new.zrm").permissions(), fs::perms(0644));
    EXPECT_TRUE(fs::is_symlink(folder_ / "alias.zrm"));
    EXPECT_EQ(readFile(folder_ / "real.zrm"), kRewritten);
    EXPECT_EQ(fs::status(folder_ / "real.zrm").permissions(), fs::perms(0640));
    EXPECT_EQ(readFile(folder_ / "in.zrm"), kModel);
    EXPECT_EQ(folder_.listing(), "alias.zrm in.zrm new.zrm real.zrm ");
}

// Root may open any file for writing, so the input is made read-only to the
// user the rewrite runs as: nobody.
TEST_F(SafeRewrite, ReadOnlyInputIsEnough) {
    fs::permissions(folder_ / "in.zrm", fs::perms::owner_read | fs::perms::others_read);
    fs::permissions(folder_.path(), fs::perms::all);
    const bool root = ::geteuid() == 0;
    ASSERT_TRUE(!root || (::setegid(65534) == 0 && ::seteuid(65534) == 0));
    EXPECT_NO_THROW(rewrite(folder_ / "in.zrm", "out.zrm"));
    ASSERT_TRUE(!root || (::seteuid(0) == 0 && ::setegid(0) == 0));
    EXPECT_EQ(readFile(folder_ / "out.zrm"), kRewritten);
}

// A model of several read buffers: progress climbs to its length, and a cancel
// at any call, the last one just before the output is named included, leaves
// the old output whole.
TEST_F(SafeRewrite, ProgressClimbsAndACancelAnywhereLeavesTheOutputAlone) {
    constexpr std::uint32_t kPayload = 3 << 20;
    const std::string big =
        containerHeader() + chunk(kPrim, 0, kPayload, payload(kPayload)) + "abc";
    writeFile(folder_ / "big.zrm", big);
    std::vector<std::pair<std::int64_t, std::int64_t>> reported;
    rewrite(folder_ / "big.zrm", "out.zrm", [&](std::int64_t read, std::int64_t total) {
        reported.emplace_back(read, total);
        return true;
    });
    EXPECT_EQ(readFile(folder_ / "out.zrm"), rewriteInMemory(big, 1).output);
    ASSERT_GE(reported.size(), 3u);
    for (std::size_t i = 1; i < reported.size(); ++i) {
        EXPECT_LE(reported[i - 1].first, reported[i].first);
        EXPECT_EQ(reported[i].second, static_cast<std::int64_t>(big.size()));
    }
    EXPECT_EQ(reported.back().first, static_cast<std::int64_t>(big.size()));

    writeFile(folder_ / "out.zrm", kPrecious);
    for (const std::size_t cancelAt : {std::size_t{0}, reported.size() / 2, reported.size() - 1}) {
        std::size_t calls = 0;
        EXPECT_THROW(rewrite(folder_ / "big.zrm", "out.zrm",
                             [&](std::int64_t, std::int64_t) { return calls++ != cancelAt; }),
                     Cancelled)
            << cancelAt;
        EXPECT_EQ(readFile(folder_ / "out.zrm"), kPrecious);
        EXPECT_EQ(folder_.listing(), "big.zrm in.zrm out.zrm ");
    }
    // Cut short by another program during the last chunk, with the first
    // block read: the rewrite must not end as if all were there.
    EXPECT_THAT(
        [&] {
            rewrite(folder_ / "big.zrm", "out.zrm", [&](std::int64_t read, std::int64_t) {
                if (read > 0) {
                    fs::resize_file(folder_ / "big.zrm", big.size() - 10);
                }
                return true;
            });
        },
        ThrowsMessage<FileError>(HasSubstr("big.zrm': it changed while it was read")));
    EXPECT_EQ(readFile(folder_ / "out.zrm"), kPrecious);
    EXPECT_EQ(folder_.listing(), "big.zrm in.zrm out.zrm ");
}

// The output name is looked at again right before the new model takes it:
// whatever another program put there meanwhile is left as it is.
TEST_F(SafeRewrite, WhatTakesTheOutputNameDuringTheWriteIsLeftAlone) {
    const std::pair<std::function<void(const fs::path&)>, std::string> takers[] = {
        {[](const fs::path& name) { ASSERT_EQ(::mkfifo(name.c_str(), 0600), 0); },
         "is a named pipe (FIFO), not a model file"},
        {[](const fs::path& name) { writeFile(name, kPrecious); },
         "was created by another program while the model was written"},
    };
    for (const auto& [take, message] : takers) {
        fs::remove(folder_ / "out.zrm");
        bool taken = false;
        EXPECT_THAT(
            [&] {
                rewrite(folder_ / "in.zrm", "out.zrm", [&](std::int64_t read, std::int64_t total) {
                    if (read == total && !taken) {
                        take(folder_ / "out.zrm");
                        taken = true;
                    }
                    return true;
                });
            },
            ThrowsMessage<FileError>(HasSubstr(message)));
        EXPECT_EQ(folder_.listing(), "in.zrm out.zrm ");
    }
    EXPECT_EQ(readFile(folder_ / "out.zrm"), kPrecious);
}

// Refused before anything is written, and the output name, new or existing,
// keeps what it held. The models near 2 GiB are sparse files and cost no disk.
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
            EXPECT_THAT([&] { rewrite(folder_ / "bad.zrm", output); },
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
    ListModelFile(folder_ / "bad.zrm",
                  [&](const ListingRow& row) { listed += row.chunk.kind->name; });
    EXPECT_EQ(listed, "ZRM4XYZS");
}

}  // namespace
}  // namespace morvane::testing
