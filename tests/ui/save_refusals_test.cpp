#include "window_driver.h"

namespace morvane::ui::testing {
namespace {

using SaveTest = WindowTest;

TEST_F(SaveTest, WritesTheExtendedModelAndSaysNothing) {
    const auto input = WriteFile("in.zrm", ModelWithOnePrim(12));
    ChooseModel(input);
    TypeCount("3");
    SaveAs(PathInFolder("out.zrm"));

    EXPECT_EQ(ReadFile(PathInFolder("out.zrm")), ExtendedModel(12, 3));
    EXPECT_EQ(ReadFile(input), ModelWithOnePrim(12));
    EXPECT_TRUE(modals.seen.empty());
    EXPECT_EQ(CountField()->text(), "3");
}

TEST_F(SaveTest, FileDialogsAskForAModelThenForANameToWrite) {
    ChooseModel(WriteFile("in.zrm", ModelWithOnePrim(4)));
    SaveAs(PathInFolder("out.zrm"));
    ASSERT_EQ(chooser.requests.size(), 2u);
    EXPECT_EQ(chooser.requests[0].title, "Choose ZRM file to load");
    EXPECT_EQ(chooser.requests[0].accepts, ChooserRequest::Accepts::ExistingFile);
    EXPECT_EQ(chooser.requests[1].title, "Choose ZRM name to save as");
    EXPECT_EQ(chooser.requests[1].accepts, ChooserRequest::Accepts::NameInExistingFolder);
}

TEST_F(SaveTest, StatusShowsTheWholeChosenPath) {
    ChooseModel(std::filesystem::path("/m/a.zrm"));
    EXPECT_EQ(ModelField()->text(), "ZRM chosen: '/m/a.zrm'");

    const std::string longName = "/deep/" + std::string(3000, 'x') + ".zrm";
    ChooseModel(std::filesystem::path(longName));
    EXPECT_EQ(ModelField()->text(),
              QString("ZRM chosen: '%1'").arg(QString::fromStdString(longName)));
}

TEST_F(SaveTest, CancelledChoicesChangeNothing) {
    const auto input = WriteFile("in.zrm", ModelWithOnePrim(4));
    ChooseModel(input);
    TypeCount("5");
    ChooseModel(std::nullopt);
    EXPECT_EQ(CountField()->text(), "5");
    EXPECT_EQ(ModelField()->text(), ChosenModelText(input));

    SaveAs(std::nullopt);
    EXPECT_EQ(std::filesystem::directory_iterator(ToPath(folder.path()))->path(), input);
    EXPECT_TRUE(modals.seen.empty());

    SaveAs(PathInFolder("out.zrm"));
    EXPECT_EQ(ReadFile(PathInFolder("out.zrm")), ExtendedModel(4, 5));
}

TEST_F(SaveTest, WithoutAModelTheUserIsSentToStepOneBeforeNamingTheOutput) {
    Click("IDC_SAVE");
    EXPECT_TRUE(chooser.requests.empty());
    ASSERT_EQ(modals.seen.size(), 1u);
    EXPECT_TRUE(modals.seen[0].text.contains("first"));
    EXPECT_TRUE(std::filesystem::is_empty(ToPath(folder.path())));
}

struct Refusal {
    const char* what;
    Bytes model;
    bool outputIsInput;
};

void PrintTo(const Refusal& refusal, std::ostream* out) {
    *out << refusal.what;
}

class RefusedSaveTest : public WindowTest, public ::testing::WithParamInterface<Refusal> {};

// Each refusal is shown with the rewrite's own explanation, the input is kept
// and an earlier file under the output name survives.
TEST_P(RefusedSaveTest, ShowsTheReasonAndLeavesBothFilesAlone) {
    const Refusal& refusal = GetParam();
    const auto input = WriteFile("in.zrm", refusal.model);
    const Bytes earlier{'k', 'e', 'e', 'p'};
    const auto output = refusal.outputIsInput ? input : WriteFile("out.zrm", earlier);

    ChooseModel(input);
    SaveAs(output);

    ASSERT_EQ(modals.seen.size(), 1u);
    EXPECT_EQ(modals.seen[0].text, RewriteMessage(input, output, 1));
    EXPECT_FALSE(modals.seen[0].text.isEmpty());
    EXPECT_EQ(ReadFile(input), refusal.model);
    if (!refusal.outputIsInput) {
        EXPECT_EQ(ReadFile(output), earlier);
    }
}

INSTANTIATE_TEST_SUITE_P(Refusals, RefusedSaveTest,
                         ::testing::Values(Refusal{"same file", ModelWithOnePrim(8), true},
                                           Refusal{"no container header",
                                                   Bytes{'n', 'o', 't', ' ', 'z', 'r', 'm'}, false},
                                           Refusal{"payload cut off",
                                                   [] {
                                                       Bytes cut = ModelWithOnePrim(40);
                                                       cut.resize(cut.size() - 10);
                                                       return cut;
                                                   }(),
                                                   false}),
                         [](const ::testing::TestParamInfo<Refusal>& param) {
                             std::string name = param.param.what;
                             std::replace(name.begin(), name.end(), ' ', '_');
                             return name;
                         });

TEST_F(SaveTest, AModelThatCannotBeReadIsReported) {
    const auto missing = PathInFolder("gone.zrm");
    ChooseModel(missing);
    SaveAs(PathInFolder("out.zrm"));
    ASSERT_EQ(modals.seen.size(), 1u);
    EXPECT_EQ(modals.seen[0].text, RewriteMessage(missing, PathInFolder("out.zrm"), 1));
    EXPECT_FALSE(std::filesystem::exists(PathInFolder("out.zrm")));
}

TEST_F(SaveTest, AnOutputFolderThatIsGoneIsReported) {
    const auto input = WriteFile("in.zrm", ModelWithOnePrim(4));
    const auto output = PathInFolder("gone") / "out.zrm";
    ChooseModel(input);
    SaveAs(output);
    ASSERT_EQ(modals.seen.size(), 1u);
    EXPECT_FALSE(modals.seen[0].text.isEmpty());
    EXPECT_FALSE(std::filesystem::exists(PathInFolder("gone")));
}

}  // namespace
}  // namespace morvane::ui::testing
