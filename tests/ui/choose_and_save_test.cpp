#include <QFileDialog>
#include <exception>
#include <sstream>

#include "window_driver.h"

namespace morvane::ui::testing {
namespace {

using ChooseAndSaveTest = WindowTest;

// The core's own explanation when it refuses these arguments.
QString RewriteMessage(const std::filesystem::path& input, const std::filesystem::path& output) {
    std::ostringstream trace;
    try {
        RewriteModelFile(input, output, 1, trace);
    } catch (const std::exception& error) {
        return QString::fromLocal8Bit(error.what());
    }
    return {};
}

// Choosing a model refreshes the fields from the window's members, so a count
// typed before it is replaced. The status names the whole path, however long;
// a cancelled file dialog changes nothing.
TEST_F(ChooseAndSaveTest, StartsEmptyAndChoosingAModelRefreshesTheFields) {
    EXPECT_EQ(CountField()->text(), "1");
    EXPECT_TRUE(ModelField()->text().isEmpty());
    EXPECT_TRUE(ModelField()->isReadOnly());
    EXPECT_EQ(window->focusWidget(), Button("IDOK"));

    const std::string longName = "/deep/" + std::string(3000, 'x') + ".zrm";
    TypeCount("7");
    ChooseModel(std::filesystem::path(longName));
    EXPECT_EQ(CountField()->text(), "1");
    EXPECT_EQ(ModelField()->text(),
              QString("ZRM chosen: '%1'").arg(QString::fromStdString(longName)));
    TypeCount("5");
    ChooseModel(std::nullopt);
    EXPECT_EQ(CountField()->text(), "5");
    EXPECT_EQ(ModelField()->text(), ChosenModelText(longName));
    EXPECT_EQ(chooser.requests.front().accepts, ChooserRequest::Accepts::ExistingFile);
}

TEST_F(ChooseAndSaveTest, SavesTheModelWithTheCountTypedAndNothingWhenCancelled) {
    const auto input = Write("in.zrm", Model(12));
    ChooseModel(input);
    TypeCount("3");
    SaveAs(std::nullopt);
    EXPECT_EQ(Listing(), QStringList{"in.zrm"});
    SaveAs(Path("out.zrm"));

    EXPECT_EQ(ReadFile(Path("out.zrm")), Extended(12, 3));
    EXPECT_EQ(ReadFile(input), Model(12));
    EXPECT_TRUE(modals.seen.isEmpty());
    EXPECT_EQ(chooser.requests.back().accepts, ChooserRequest::Accepts::NameInExistingFolder);
}

// The model must exist; the output may be a new name.
TEST(FileDialogSettings, ModelMustExistOutputNameMayBeNew) {
    QFileDialog dialog;
    ConfigureFileDialog(dialog, {"", ChooserRequest::Accepts::ExistingFile});
    EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
    ConfigureFileDialog(dialog, {"", ChooserRequest::Accepts::NameInExistingFolder});
    EXPECT_EQ(dialog.fileMode(), QFileDialog::AnyFile);
}

TEST_F(ChooseAndSaveTest, SaveWithoutAModelSendsTheUserToStepOneBeforeNamingTheOutput) {
    QTest::mouseClick(Button("IDC_SAVE"), Qt::LeftButton);
    EXPECT_TRUE(chooser.requests.empty());
    ASSERT_EQ(modals.seen.size(), 1);
    EXPECT_TRUE(modals.seen[0].contains("step 1"));
    EXPECT_TRUE(Listing().isEmpty());
}

const char* const kNoNumber = "Please enter a whole number.";
const char* const kOutOfRange = "Please enter a whole number from 1 to 1000.";

struct CountEntry {
    const char* typed;
    int volumes;          // what is written
    const char* refusal;  // or why nothing is
};

void PrintTo(const CountEntry& entry, std::ostream* out) {
    *out << '"' << entry.typed << '"';
}

class CountEntryTest : public WindowTest, public ::testing::WithParamInterface<CountEntry> {};

// The count is only read once the output has been named. A refused one writes
// nothing and sends the user back into the field with its text selected.
TEST_P(CountEntryTest, IsCheckedAfterTheOutputIsNamed) {
    const CountEntry& entry = GetParam();
    ChooseModel(Write("in.zrm", Model(4)));
    TypeCount(entry.typed);
    SaveAs(Path("out.zrm"));

    EXPECT_EQ(chooser.requests.size(), 2u);
    if (entry.refusal == nullptr) {
        EXPECT_EQ(ReadFile(Path("out.zrm")), Extended(4, entry.volumes));
        EXPECT_TRUE(modals.seen.isEmpty());
        return;
    }
    ASSERT_EQ(modals.seen.size(), 1);
    EXPECT_EQ(modals.seen[0], entry.refusal);
    EXPECT_FALSE(std::filesystem::exists(Path("out.zrm")));
    EXPECT_EQ(window->focusWidget(), CountField());
    EXPECT_EQ(CountField()->selectedText(), CountField()->text());
}

INSTANTIATE_TEST_SUITE_P(
    Counts, CountEntryTest,
    ::testing::Values(CountEntry{" 1 ", 1, nullptr}, CountEntry{"1000", 1000, nullptr},
                      CountEntry{"+7", 7, nullptr}, CountEntry{"0", 0, kOutOfRange},
                      CountEntry{"1001", 0, kOutOfRange}, CountEntry{"-3", 0, kOutOfRange},
                      CountEntry{"abc", 0, kNoNumber}, CountEntry{"", 0, kNoNumber},
                      CountEntry{"12abc", 0, kNoNumber}, CountEntry{"1.5", 0, kNoNumber},
                      CountEntry{"+-2", 0, kNoNumber}, CountEntry{"99999999999", 0, kNoNumber}));

// Enter presses the default Quit (id 1), which checks the count and closes
// only when it is good; Escape is the other Quit (id 2) and closes at once.
TEST_F(ChooseAndSaveTest, EnterQuitsOnlyWithAGoodCountAndEscapeAlways) {
    TypeCount("0");
    QTest::keyClick(CountField(), Qt::Key_Return);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(modals.seen.size(), 1);
    TypeCount("12");
    QTest::keyClick(CountField(), Qt::Key_Return);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->result(), IDOK);

    window->show();
    TypeCount("abc");
    QTest::keyClick(CountField(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->result(), IDCANCEL);
    EXPECT_EQ(modals.seen.size(), 1);
}

struct Refusal {
    const char* what;
    std::optional<std::string> model;  // none: in.zrm does not exist
    const char* output;                // out.zrm holds an earlier file
};

void PrintTo(const Refusal& refusal, std::ostream* out) {
    *out << refusal.what;
}

class RefusedSaveTest : public WindowTest, public ::testing::WithParamInterface<Refusal> {};

// Whatever the cause, the user sees the core's own explanation, and neither
// the input nor an earlier file under the output name is touched.
TEST_P(RefusedSaveTest, ShowsTheCoresMessageAndWritesNothing) {
    const Refusal& refusal = GetParam();
    const auto input = refusal.model ? Write("in.zrm", *refusal.model) : Path("in.zrm");
    Write("out.zrm", "keep");
    const auto output = Path(refusal.output);
    ChooseModel(input);
    SaveAs(output);

    ASSERT_EQ(modals.seen.size(), 1);
    EXPECT_FALSE(modals.seen[0].isEmpty());
    EXPECT_EQ(modals.seen[0], RewriteMessage(input, output));
    EXPECT_EQ(ReadFile(Path("out.zrm")), "keep");
    EXPECT_EQ(Listing(),
              (refusal.model ? QStringList{"in.zrm", "out.zrm"} : QStringList{"out.zrm"}));
    EXPECT_TRUE(ReadFile(input) == refusal.model.value_or(""));  // may be too long to print
}

INSTANTIATE_TEST_SUITE_P(
    Refusals, RefusedSaveTest,
    ::testing::Values(Refusal{"output is the input", Model(8), "in.zrm"},
                      Refusal{"no container header", "not zrm", "out.zrm"},
                      Refusal{"payload cut off", Model(40).substr(0, 54), "out.zrm"},
                      Refusal{"chunk cut off after a megabyte",
                              Model(1u << 20) + chunk(kPrim, 0, 100, "\x01\x02\x03"), "out.zrm"},
                      Refusal{"input gone", std::nullopt, "out.zrm"},
                      Refusal{"output folder gone", Model(4), "gone/out.zrm"}));

}  // namespace
}  // namespace morvane::ui::testing
