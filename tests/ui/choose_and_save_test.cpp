#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <exception>
#include <sstream>

#include "window_driver.h"

namespace morvane::ui::testing {
namespace {

using ChooseAndSaveTest = WindowTest;

// The model to read must exist; the name to write may be new and is taken
// without asking, as the window never overwrites in place.
void ExpectDialogFor(const ChooserRequest& request, const char* title, QFileDialog::FileMode mode) {
    QFileDialog dialog;
    ConfigureFileDialog(dialog, request);
    EXPECT_EQ(dialog.windowTitle(), title);
    EXPECT_EQ(dialog.fileMode(), mode);
    EXPECT_EQ(dialog.testOption(QFileDialog::DontConfirmOverwrite), mode == QFileDialog::AnyFile);
    EXPECT_EQ(dialog.nameFilters(), QStringList{"ZRM Files (*.zrm)"});
    EXPECT_EQ(dialog.defaultSuffix(), "zrm");
}

// The status names the whole path, however long. The rest of choosing and
// saving is a scenario shared with the Windows window.
TEST_F(ChooseAndSaveTest, TheStatusNamesAnyPathAndEachDialogFitsItsStep) {
    const std::string longName = "/deep/" + std::string(3000, 'x') + ".zrm";
    ChooseModel(std::filesystem::path(longName));
    EXPECT_EQ(ModelField()->text(),
              QString("ZRM chosen: '%1'").arg(QString::fromStdString(longName)));
    ExpectDialogFor({"Choose ZRM file to load", ChooserRequest::Accepts::ExistingFile},
                    "Choose ZRM file to load", QFileDialog::ExistingFile);
    ExpectDialogFor({"Choose ZRM name to save as", ChooserRequest::Accepts::NameInExistingFolder},
                    "Choose ZRM name to save as", QFileDialog::AnyFile);
}

// The count is only read once the output has been named, as a whole decimal
// number with spaces and a plus sign allowed. A refused one writes nothing and
// sends the user back into the field with its text selected.
TEST_F(ChooseAndSaveTest, TheCountIsReadAsAWholeDecimalNumber) {
    const char* const noNumber = "Please enter a whole number.";
    const char* const outOfRange = "Please enter a whole number from 1 to 1000.";
    const std::tuple<const char*, int, const char*> counts[] = {
        {" 1 ", 1, nullptr},  {"1000", 1000, nullptr}, {"+7", 7, nullptr},
        {"0", 0, outOfRange}, {"1001", 0, outOfRange}, {"-3", 0, outOfRange},
        {"abc", 0, noNumber}, {"", 0, noNumber},       {"12abc", 0, noNumber},
        {"1.5", 0, noNumber}, {"+-2", 0, noNumber},    {"99999999999", 0, noNumber}};
    ChooseModel(Write("in.zrm", Model(4)));
    for (const auto& [typed, volumes, refusal] : counts) {
        SCOPED_TRACE(typed);
        std::filesystem::remove(Path("out.zrm"));
        messages.clear();
        TypeCount(typed);
        SaveAs(Path("out.zrm"));
        if (refusal == nullptr) {
            EXPECT_EQ(ReadFile(Path("out.zrm")), Extended(4, volumes));
            EXPECT_TRUE(messages.isEmpty());
            continue;
        }
        EXPECT_EQ(messages, QStringList{refusal});
        EXPECT_FALSE(std::filesystem::exists(Path("out.zrm")));
        EXPECT_EQ(window->focusWidget(), CountField());
        EXPECT_EQ(CountField()->selectedText(), CountField()->text());
    }
    EXPECT_EQ(requests.size(), 13u);
}

// Whatever the cause, the user sees the core's own explanation, and neither
// the input nor an earlier file under the output name is touched.
TEST_F(ChooseAndSaveTest, ARefusedSaveShowsTheCoresMessageAndWritesNothing) {
    const std::tuple<const char*, std::optional<std::string>, const char*> refusals[] = {
        {"input gone", std::nullopt, "out.zrm"},
        {"output is the input", Model(8), "in.zrm"},
        {"no container header", "not zrm", "out.zrm"},
        {"payload cut off", Model(40).substr(0, 54), "out.zrm"},
        {"chunk cut off after a megabyte", Model(1u << 20) + chunk(kPrim, 0, 100, "\x01\x02\x03"),
         "out.zrm"},
        {"output folder gone", Model(4), "gone/out.zrm"}};
    for (const auto& [what, model, outputName] : refusals) {
        SCOPED_TRACE(what);
        const auto input = model ? Write("in.zrm", *model) : Path("in.zrm");
        Write("out.zrm", "keep");
        messages.clear();
        ChooseModel(input);
        SaveAs(Path(outputName));

        std::ostringstream trace;
        QString expected;
        try {
            RewriteModelFile(input, Path(outputName), 1, trace);
        } catch (const std::exception& error) {
            expected = QString::fromLocal8Bit(error.what());
        }
        EXPECT_EQ(messages, QStringList{expected});
        EXPECT_EQ(ReadFile(Path("out.zrm")), "keep");
        EXPECT_EQ(Listing(), (model ? QStringList{"in.zrm", "out.zrm"} : QStringList{"out.zrm"}));
        EXPECT_TRUE(ReadFile(input) == model.value_or(""));  // may be too long to print
    }
}

// A device is never replaced by a model, and a replaced model of another
// user stays that user's, with its mode.
TEST_F(ChooseAndSaveTest, SavingKeepsWhatTheOutputNameIs) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "device nodes and other users' files take root";
    }
    ChooseModel(Write("in.zrm", Model(8)));
    ASSERT_EQ(::mknod(Path("null").c_str(), S_IFCHR | 0666, makedev(1, 3)), 0);
    SaveAs(Path("null"));
    EXPECT_EQ(messages, QStringList{QString("'%1' is a character device, not a model file")
                                        .arg(ToDisplayText(Path("null")))});
    struct stat status {};
    ASSERT_EQ(::lstat(Path("null").c_str(), &status), 0);
    EXPECT_TRUE(S_ISCHR(status.st_mode));

    messages.clear();
    Write("theirs.zrm", "keep");
    ASSERT_EQ(::chown(Path("theirs.zrm").c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(Path("theirs.zrm").c_str(), 0640), 0);
    SaveAs(Path("theirs.zrm"));
    EXPECT_TRUE(messages.isEmpty());
    EXPECT_EQ(ReadFile(Path("theirs.zrm")), Extended(8, 1));
    ASSERT_EQ(::stat(Path("theirs.zrm").c_str(), &status), 0);
    EXPECT_EQ(status.st_uid, 65534u);
    EXPECT_EQ(status.st_gid, 65534u);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(Listing(), (QStringList{"in.zrm", "null", "theirs.zrm"}));
}

}  // namespace
}  // namespace morvane::ui::testing
