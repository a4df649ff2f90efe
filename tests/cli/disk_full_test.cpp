#include <gtest/gtest.h>

#include "support/cli_process.h"
#include "support/pass_runner.h"
#include "support/temp_folder.h"
#include "support/zrm_builder.h"

namespace morvane::testing {
namespace {

namespace fs = std::filesystem;

constexpr rlim_t kRoom = 1024 * 1024;
const std::string kPrecious = "an older model that must survive";

// Several times the room, so the disk fills in the middle of the copy.
const std::string kBigModel = containerHeader() + chunk(kXyzs, 0, 4 * kRoom, payload(4 * kRoom)) +
                              chunk(kPrim, 0, 16, payload(16));
const std::string kSmallModel = containerHeader() + chunk(kPrim, 0, 16, payload(16));

class DiskFull : public ::testing::Test {
protected:
    void SetUp() override { writeFile(models_ / "in.zrm", kBigModel); }

    int runWithRoom(const std::vector<std::string>& arguments) {
        ProcessSetup setup;
        setup.fileSizeLimit = kRoom;
        CliProcess tool(arguments, logs_ / "stderr.txt", setup);
        const int exitCode = tool.exitCode();
        errors_ = readFile(logs_ / "stderr.txt");
        return exitCode;
    }

    std::string path(const std::string& name) const { return (models_ / name).string(); }

    void expectDiskFullReported(const std::string& output) const {
        EXPECT_NE(errors_.find("cannot write"), std::string::npos) << errors_;
        EXPECT_NE(errors_.find(output), std::string::npos) << errors_;
        EXPECT_NE(errors_.find("File too large"), std::string::npos) << errors_;
    }

    TempFolder models_;
    TempFolder logs_;
    std::string errors_;
};

TEST_F(DiskFull, OutputNameKeepsWhatItHeldAndNoTemporaryFileIsLeft) {
    EXPECT_EQ(runWithRoom({"-n", "5", path("in.zrm"), path("out.zrm")}), 1);
    expectDiskFullReported("out.zrm");
    EXPECT_EQ(models_.listing(), "in.zrm ");

    writeFile(path("out.zrm"), kPrecious);
    EXPECT_EQ(runWithRoom({"-n", "5", path("in.zrm"), path("out.zrm")}), 1);
    expectDiskFullReported("out.zrm");
    EXPECT_EQ(readFile(path("out.zrm")), kPrecious);
    EXPECT_EQ(readFile(path("in.zrm")), kBigModel);
    EXPECT_EQ(models_.listing(), "in.zrm out.zrm ");
}

TEST_F(DiskFull, BatchStillWritesTheModelsThatFit) {
    writeFile(path("small.zrm"), kSmallModel);
    fs::create_directory(path("out"));
    EXPECT_EQ(runWithRoom({"-n", "5", "-d", path("out"), path("in.zrm"), path("small.zrm")}), 1);
    expectDiskFullReported("in.zrm");
    EXPECT_EQ(readFile(path("out/small.zrm")), rewriteInMemory(kSmallModel, 5).output);
    EXPECT_FALSE(fs::exists(path("out/in.zrm")));
    EXPECT_EQ(models_.listing(), "in.zrm out small.zrm ");
}

}  // namespace
}  // namespace morvane::testing
