#include "support/pass_runner.h"
#include "window_driver.h"

namespace morvane::ui::testing {
namespace {

using SecondBlockWarningTest = WindowTest;

// Before a model that already carries its block is saved, the user is asked,
// before the output name: No (the default, and Escape) writes nothing, Yes
// writes exactly what the rewrite makes of it, a second block included. A
// model that only looks rewritten, or has no PRIM chunk, is saved without a
// question.
TEST_F(SecondBlockWarningTest, ARewrittenModelIsSavedOnlyWhenTheUserAgrees) {
    const std::string plain = Model(40);
    const std::string rewritten = rewriteInMemory(plain, 3).output;
    const auto input = Write("in.zrm", rewritten);
    ChooseModel(input);
    TypeCount("2");
    boxAnswers = {QMessageBox::No};
    QTest::mouseClick(Button("IDC_SAVE"), Qt::LeftButton);
    const QString question =
        QStringLiteral(
            "'%1' already carries a block of 3 collision volumes: it has been rewritten "
            "before.\n\nSaving it adds a second block to every PRIM chunk. Save anyway?")
            .arg(ToDisplayText(input));
    EXPECT_EQ(messages, QStringList{question});
    EXPECT_EQ(requests.size(), 1u);
    EXPECT_EQ(Listing(), QStringList{"in.zrm"});

    QTest::mouseClick(Button("IDC_SAVE"), Qt::LeftButton);  // closed: Escape
    EXPECT_EQ(requests.size(), 1u);

    boxAnswers = {QMessageBox::Yes};
    SaveAs(Path("out.zrm"));
    EXPECT_EQ(messages, (QStringList{question, question, question}));
    EXPECT_EQ(ReadFile(Path("out.zrm")), rewriteInMemory(rewritten, 2).output);
    EXPECT_EQ(ReadFile(input), rewritten);

    const std::string lookalike =
        plain.substr(0, 12) + chunk(kPrim, 0, 52, payload(40) + words({4, 3, 0})) + closingHand(40);
    const std::string noPrim = rewriteInMemory(containerHeader(), 3).output;
    for (const std::string& model : {lookalike, noPrim}) {
        messages.clear();
        ChooseModel(Write("other.zrm", model));
        SaveAs(Path("other-out.zrm"));
        EXPECT_TRUE(messages.isEmpty());
        EXPECT_EQ(ReadFile(Path("other-out.zrm")), rewriteInMemory(model, 2).output);
    }
}

}  // namespace
}  // namespace morvane::ui::testing
