#include <QTest>

#include "window_driver.h"

namespace morvane::ui::testing {
namespace {

using CountValidationTest = WindowTest;

TEST_F(CountValidationTest, WindowStartsWithOneVolumeAndNoModel) {
    EXPECT_EQ(CountField()->text(), "1");
    EXPECT_TRUE(ModelField()->text().isEmpty());
    EXPECT_TRUE(ModelField()->isReadOnly());
    EXPECT_EQ(window->focusWidget(), Button("IDOK"));
}

TEST_F(CountValidationTest, ChoosingAModelReplacesACountNotYetFetched) {
    const auto input = WriteFile("in.zrm", ModelWithOnePrim(8));
    TypeCount("7");
    ChooseModel(input);
    EXPECT_EQ(CountField()->text(), "1");

    SaveAs(PathInFolder("out.zrm"));
    EXPECT_EQ(ReadFile(PathInFolder("out.zrm")), ExtendedModel(8, 1));
}

TEST_F(CountValidationTest, CountsAtTheLimitsAreWritten) {
    const auto input = WriteFile("in.zrm", ModelWithOnePrim(4));
    ChooseModel(input);
    for (const int volumes : {1, 1000}) {
        const auto output = PathInFolder(volumes == 1 ? "one.zrm" : "thousand.zrm");
        TypeCount(QString(" %1 ").arg(volumes));
        SaveAs(output);
        EXPECT_EQ(ReadFile(output), ExtendedModel(4, static_cast<std::uint32_t>(volumes)));
    }
    EXPECT_TRUE(modals.seen.empty());
}

class RefusedCountTest : public WindowTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(RefusedCountTest, IsReportedAfterTheOutputIsNamedAndNothingIsWritten) {
    ChooseModel(WriteFile("in.zrm", ModelWithOnePrim(8)));
    TypeCount(GetParam());
    SaveAs(PathInFolder("out.zrm"));

    ASSERT_EQ(chooser.requests.size(), 2u);
    ASSERT_EQ(modals.seen.size(), 1u);
    EXPECT_EQ(modals.seen[0].kind, "message");
    EXPECT_FALSE(std::filesystem::exists(PathInFolder("out.zrm")));
    EXPECT_EQ(window->focusWidget(), CountField());
    EXPECT_EQ(CountField()->selectedText(), CountField()->text());
}

INSTANTIATE_TEST_SUITE_P(OutOfRangeOrNoNumber, RefusedCountTest,
                         ::testing::Values("0", "1001", "-3", "abc", "", "12abc", "1.5", "+-2",
                                           "99999999999"));

TEST_F(CountValidationTest, RangeAndNumberMessagesDiffer) {
    ChooseModel(WriteFile("in.zrm", ModelWithOnePrim(8)));
    TypeCount("abc");
    SaveAs(PathInFolder("out.zrm"));
    TypeCount("0");
    SaveAs(PathInFolder("out.zrm"));
    ASSERT_EQ(modals.seen.size(), 2u);
    EXPECT_NE(modals.seen[0].text, modals.seen[1].text);
    EXPECT_TRUE(modals.seen[1].text.contains("1000"));
}

TEST_F(CountValidationTest, EnterWithABadCountKeepsTheWindowOpen) {
    TypeCount("0");
    QTest::keyClick(CountField(), Qt::Key_Return);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(modals.seen.size(), 1u);
}

TEST_F(CountValidationTest, EnterWithAGoodCountQuits) {
    TypeCount("12");
    QTest::keyClick(CountField(), Qt::Key_Return);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->result(), QDialog::Accepted);
    EXPECT_TRUE(modals.seen.empty());
}

TEST_F(CountValidationTest, EscapeQuitsWithoutLookingAtTheCount) {
    TypeCount("abc");
    QTest::keyClick(CountField(), Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->result(), 2);
    EXPECT_TRUE(modals.seen.empty());
}

}  // namespace
}  // namespace morvane::ui::testing
