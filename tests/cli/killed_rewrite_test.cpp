#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "support/cli_process.h"
#include "support/temp_folder.h"
#include "support/zrm_builder.h"

namespace morvane::testing {
namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t kPayload = 1u << 30;
constexpr std::uintmax_t kKillAfter = 64 * 1024 * 1024;
const std::string kPrecious = "an older model that must survive";

// A 1 GiB model whose XYZS payload is a hole in the file: quick to make and to
// read, while the tool still has to write every byte of it.
void writeLargeModel(const fs::path& path) {
    writeFile(path, containerHeader() + words({kXyzs, 0, kPayload}));
    fs::resize_file(path, fs::file_size(path) + kPayload);
    std::ofstream(path, std::ios::binary | std::ios::app) << chunk(kPrim, 0, 8, payload(8));
}

struct FileBeingWritten {
    fs::path name;  // as the system shows it: "(deleted)" for a file with no name
    std::uintmax_t size;
};

// The file the tool has open in `folder` other than its input, if any.
std::optional<FileBeingWritten> fileBeingWritten(pid_t pid, const fs::path& folder,
                                                 const fs::path& input) {
    std::error_code error;
    const fs::path descriptors = "/proc/" + std::to_string(pid) + "/fd";
    for (const auto& entry : fs::directory_iterator(descriptors, error)) {
        const fs::path target = fs::read_symlink(entry.path(), error);
        struct stat status {};
        if (!error && target.parent_path() == folder && target != input &&
            ::stat(entry.path().c_str(), &status) == 0) {
            return FileBeingWritten{target, static_cast<std::uintmax_t>(status.st_size)};
        }
    }
    return std::nullopt;
}

class KilledRewrite : public ::testing::Test {
protected:
    void SetUp() override { writeLargeModel(models_ / "in.zrm"); }

    // Starts the rewrite and kills it once it has written kKillAfter bytes.
    void killMidway() {
        CliProcess tool({"-n", "9", input().string(), output().string()}, logs_ / "stderr.txt");
        std::optional<FileBeingWritten> written;
        while (tool.running()) {
            written = fileBeingWritten(tool.pid(), models_.path(), input());
            if (written && written->size >= kKillAfter) {
                ::kill(tool.pid(), SIGKILL);
                break;
            }
            ::usleep(1000);
        }
        const int status = tool.wait();
        ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL)
            << "the rewrite ended before it could be killed: " << readFile(logs_ / "stderr.txt");
        EXPECT_NE(written->name.string().find("(deleted)"), std::string::npos)
            << "the file being written has a name in the folder: " << written->name;
    }

    fs::path input() const { return models_ / "in.zrm"; }
    fs::path output() const { return models_ / "out.zrm"; }

    TempFolder models_;
    TempFolder logs_;
};

TEST_F(KilledRewrite, LeavesNoOutputAndNoTemporaryFile) {
    killMidway();
    EXPECT_EQ(models_.listing(), "in.zrm ");
}

TEST_F(KilledRewrite, LeavesTheOldOutputWhole) {
    writeFile(output(), kPrecious);
    killMidway();
    EXPECT_EQ(readFile(output()), kPrecious);
    EXPECT_EQ(models_.listing(), "in.zrm out.zrm ");
}

}  // namespace
}  // namespace morvane::testing
