#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <sstream>
#include <utility>
#include <vector>

#include "model/file_rewrite.h"
#include "support/temp_folder.h"
#include "support/zrm_builder.h"

namespace morvane::testing {
namespace {

namespace fs = std::filesystem;

const std::string kModel = containerHeader() + chunk(kPrim, 0, 8, payload(8));
const std::string kRewritten = withSizeWord(
    containerHeader() + chunk(kPrim, 0, 20, payload(8)) + volumeBlock(1) + closingHand(8),
    12 + 28 + 20);
const std::string kPrecious = "an older model that must survive";

class SafeRewrite : public ::testing::Test {
protected:
    PassSummary rewrite(const fs::path& input, const fs::path& output, int volumes = 1) {
        return RewriteModelFile(input, output, volumes, trace_);
    }

    // Expects a FileError or ModelError whose message contains `part`.
    void expectRefused(const fs::path& input, const fs::path& output, const std::string& part) {
        try {
            rewrite(input, output);
            ADD_FAILURE() << "not refused";
        } catch (const Error& error) {
            EXPECT_NE(std::string(error.what()).find(part), std::string::npos) << error.what();
        }
    }

    TempFolder folder_;
    std::ostringstream trace_;
};

TEST_F(SafeRewrite, WritesTheRewrittenModelAndLeavesNothingElse) {
    writeFile(folder_ / "in.zrm", kModel);
    const PassSummary summary = rewrite(folder_ / "in.zrm", folder_ / "out.zrm");
    EXPECT_EQ(readFile(folder_ / "out.zrm"), kRewritten);
    EXPECT_EQ(summary.bytesWritten, static_cast<std::int64_t>(kRewritten.size()));
    EXPECT_EQ(folder_.listing(), "in.zrm out.zrm ");
    EXPECT_EQ(readFile(folder_ / "in.zrm"), kModel);

    // Several buffers' worth, with trailing bytes.
    const std::string big = payload(3 * 1024 * 1024 + 7);
    writeFile(
        folder_ / "big.zrm",
        containerHeader() + chunk(kXyzs, 0, static_cast<std::uint32_t>(big.size()), big) + "abc");
    rewrite(folder_ / "big.zrm", folder_ / "out.zrm");
    const std::string out = readFile(folder_ / "out.zrm");
    ASSERT_EQ(out.size(), 12 + 12 + big.size() + 20);
    EXPECT_EQ(out.substr(24, big.size()), big);
}

TEST_F(SafeRewrite, RefusedModelLeavesTheOutputNameAlone) {
    writeFile(folder_ / "bad.zrm", containerHeader() + chunk(kXyzs, 0, 4096, payload(10)));
    expectRefused(folder_ / "bad.zrm", folder_ / "new.zrm",
                  "'" + (folder_ / "bad.zrm").string() + "': XYZS chunk at offset 12");
    EXPECT_FALSE(fs::exists(folder_ / "new.zrm"));

    writeFile(folder_ / "old.zrm", kPrecious);
    expectRefused(folder_ / "bad.zrm", folder_ / "old.zrm", "only 10 remain");
    EXPECT_EQ(readFile(folder_ / "old.zrm"), kPrecious);
    EXPECT_EQ(folder_.listing(), "bad.zrm old.zrm ");
}

// Root may open any file for writing, so the input is made read-only to the
// user the rewrite runs as: nobody.
TEST_F(SafeRewrite, ReadOnlyInputIsEnough) {
    writeFile(folder_ / "in.zrm", kModel);
    fs::permissions(folder_ / "in.zrm", fs::perms::owner_read | fs::perms::others_read);
    fs::permissions(folder_.path(), fs::perms::all);
    const bool root = ::geteuid() == 0;
    ASSERT_TRUE(!root || (::setegid(65534) == 0 && ::seteuid(65534) == 0));
    EXPECT_NO_THROW(rewrite(folder_ / "in.zrm", folder_ / "out.zrm"));
    ASSERT_TRUE(!root || (::seteuid(0) == 0 && ::setegid(0) == 0));
    EXPECT_EQ(readFile(folder_ / "out.zrm"), kRewritten);
}

TEST_F(SafeRewrite, PermissionBitsAreKeptOrTheUsualOnes) {
    writeFile(folder_ / "in.zrm", kModel);
    const mode_t previous = ::umask(022);
    rewrite(folder_ / "in.zrm", folder_ / "new.zrm");
    writeFile(folder_ / "old.zrm", kPrecious);
    ::chmod((folder_ / "old.zrm").c_str(), 0640);
    rewrite(folder_ / "in.zrm", folder_ / "old.zrm");
    ::umask(previous);
    EXPECT_EQ(fs::status(folder_ / "new.zrm").permissions(), fs::perms(0644));
    EXPECT_EQ(fs::status(folder_ / "old.zrm").permissions(), fs::perms(0640));
}

TEST_F(SafeRewrite, OutputThroughASymbolicLinkUpdatesTheFileItNames) {
    writeFile(folder_ / "in.zrm", kModel);
    writeFile(folder_ / "real.zrm", kPrecious);
    fs::create_symlink("real.zrm", folder_ / "alias.zrm");
    rewrite(folder_ / "in.zrm", folder_ / "alias.zrm");
    EXPECT_TRUE(fs::is_symlink(folder_ / "alias.zrm"));
    EXPECT_EQ(readFile(folder_ / "real.zrm"), kRewritten);
}

class CancelledRewrite : public SafeRewrite {
protected:
    // Rewrites a 3 MiB model, answering each progress call from `answers`
    // (true once they run out) and recording what was reported.
    void rewriteAnswering(std::vector<bool> answers) {
        const std::string big = payload(3 * 1024 * 1024);
        writeFile(folder_ / "in.zrm",
                  containerHeader() + chunk(kPrim, 0, static_cast<std::uint32_t>(big.size()), big));
        writeFile(folder_ / "out.zrm", kPrecious);
        RewriteModelFile(folder_ / "in.zrm", folder_ / "out.zrm", 1, trace_,
                         [&](std::int64_t read, std::int64_t total) {
                             reported_.emplace_back(read, total);
                             if (answers.empty()) {
                                 return true;
                             }
                             const bool answer = answers.front();
                             answers.erase(answers.begin());
                             return answer;
                         });
    }

    std::vector<std::pair<std::int64_t, std::int64_t>> reported_;
};

TEST_F(CancelledRewrite, ProgressClimbsToTheInputsLength) {
    rewriteAnswering({});
    ASSERT_GE(reported_.size(), 3u);
    const std::int64_t length = 12 + 12 + 3 * 1024 * 1024;
    for (std::size_t i = 1; i < reported_.size(); ++i) {
        EXPECT_LE(reported_[i - 1].first, reported_[i].first);
        EXPECT_EQ(reported_[i].second, length);
    }
    EXPECT_EQ(reported_.back().first, length);
}

TEST_F(CancelledRewrite, AtAnyPointLeavesTheOutputAlone) {
    for (const std::size_t callsBeforeCancel : {0u, 2u, 13u}) {
        std::vector<bool> answers(callsBeforeCancel, true);
        answers.push_back(false);
        EXPECT_THROW(rewriteAnswering(answers), Cancelled) << callsBeforeCancel;
        EXPECT_EQ(readFile(folder_ / "out.zrm"), kPrecious);
        EXPECT_EQ(folder_.listing(), "in.zrm out.zrm ");
    }
}

// Sizes near 2 GiB are refused before anything is written; the model is a
// sparse file, so trying them costs no disk.
TEST_F(SafeRewrite, ModelTooLargeToRecordIsRefusedUpFront) {
    const std::string cases[][2] = {
        {chunk(kPrim, 0, 0x7FFFFFF8u, ""),
         "PRIM chunk at offset 12: the extended size word (2147483652)"},
        {chunk(kXyzs, 0, 0x7FFFFFF0u, ""),
         "XYZS chunk at offset 12: the rewritten model's byte count (2147483656)"},
        {chunk(kXyzs, 0, 0x7FFFFFF8u, ""), "XYZS chunk at offset 12: the chunk's length"},
    };
    for (const auto& [hugeChunk, message] : cases) {
        trace_.str("");
        writeFile(folder_ / "huge.zrm", containerHeader() + hugeChunk);
        fs::resize_file(folder_ / "huge.zrm", std::uintmax_t{3} << 30);
        expectRefused(folder_ / "huge.zrm", folder_ / "out.zrm", message);
        EXPECT_EQ(folder_.listing(), "huge.zrm ");
        EXPECT_EQ(trace_.str().rfind("copybytes"), trace_.str().find("copybytes, 12 bytes\n"))
            << "copied more than the container header before refusing";
    }
}

}  // namespace
}  // namespace morvane::testing
