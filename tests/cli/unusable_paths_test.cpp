#include <gtest/gtest.h>

#include "support/cli_process.h"
#include "support/temp_folder.h"
#include "support/zrm_builder.h"

namespace morvane::testing {
namespace {

namespace fs = std::filesystem;

const std::string kModel = containerHeader() + chunk(kPrim, 0, 8, payload(8));

struct PathCase {
    const char* what;
    std::string input;   // relative to the models' folder
    std::string output;  // likewise
    std::string message;
};

// Each unusable input or output gets its own message, exit status 1, and
// leaves every file as it was.
class UnusablePaths : public ::testing::Test {
protected:
    void SetUp() override {
        writeFile(models_ / "in.zrm", kModel);
        fs::create_directory(models_ / "adir");
        fs::create_directory(models_ / "sub");
        fs::create_symlink("in.zrm", models_ / "link.zrm");
        fs::create_hard_link(models_ / "in.zrm", models_ / "hard.zrm");
    }

    void expectRefused(const PathCase& path, const ProcessSetup& setup) {
        const std::string before = models_.listing();
        CliProcess tool({"-n", "3", path.input, path.output}, logs_ / "stderr.txt", setup);
        EXPECT_EQ(tool.exitCode(), 1) << path.what;
        const std::string errors = readFile(logs_ / "stderr.txt");
        EXPECT_NE(errors.find(path.message), std::string::npos) << path.what << ": " << errors;
        EXPECT_EQ(models_.listing(), before) << path.what;
        EXPECT_EQ(readFile(models_ / "in.zrm"), kModel) << path.what;
    }

    ProcessSetup inModels() const {
        ProcessSetup setup;
        setup.workingFolder = models_.path();
        return setup;
    }

    TempFolder models_;
    TempFolder logs_;
};

TEST_F(UnusablePaths, EachFileProblemHasItsOwnMessage) {
    const PathCase cases[] = {
        {"input is a folder", "adir", "out.zrm", "'adir' is a folder, not a model file"},
        {"input is missing", "missing.zrm", "out.zrm",
         "cannot open the model 'missing.zrm': No such file or directory"},
        {"output folder is missing", "in.zrm", "nowhere/out.zrm",
         "cannot write in the folder 'nowhere': No such file or directory"},
        {"output is a folder", "in.zrm", "adir", "cannot write 'adir': it is a folder"},
    };
    for (const PathCase& path : cases) {
        expectRefused(path, inModels());
    }
}

TEST_F(UnusablePaths, OutputThatIsTheInputUnderAnotherNameIsRefused) {
    const std::string folderName = models_.path().filename().string();
    const std::string outputs[] = {"in.zrm",
                                   "./in.zrm",
                                   "sub/../in.zrm",
                                   "../" + folderName + "/in.zrm",
                                   "link.zrm",
                                   "hard.zrm",
                                   (models_ / "in.zrm").string()};
    for (const std::string& output : outputs) {
        expectRefused({"same file", "in.zrm", output, "it is the input model itself"}, inModels());
    }
}

TEST_F(UnusablePaths, OutputFolderThatCannotBeWrittenIsRefused) {
    fs::create_directory(models_ / "locked");
    fs::permissions(models_ / "locked", fs::perms::owner_read | fs::perms::owner_exec |
                                            fs::perms::others_read | fs::perms::others_exec);
    fs::permissions(models_.path(), fs::perms::others_read | fs::perms::others_exec,
                    fs::perm_options::add);
    ProcessSetup setup = inModels();
    setup.asNobody = ::geteuid() == 0;
    expectRefused({"folder not writable", "in.zrm", "locked/out.zrm",
                   "cannot write in the folder 'locked': Permission denied"},
                  setup);
}

}  // namespace
}  // namespace morvane::testing
