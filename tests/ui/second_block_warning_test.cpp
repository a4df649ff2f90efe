#include "support/pass_runner.h"
#include "window_driver.h"

namespace morvane::ui::testing {
namespace {

using SecondBlockWarningTest = WindowTest;

// The question before a second block is saved takes No for an answer when
// the user just presses Escape, as its default button does; the rest of it is
// a scenario shared with the Windows window.
TEST_F(SecondBlockWarningTest, EscapeAnswersNo) {
    const auto input = Write("in.zrm", rewriteInMemory(Model(40), 3).output);
    ChooseModel(input);
    QTest::mouseClick(Button("IDC_SAVE"), Qt::LeftButton);  // closed: Escape
    EXPECT_EQ(messages.size(), 1);
    EXPECT_EQ(requests.size(), 1u);  // only the chooser that chose the model
    EXPECT_EQ(Listing(), QStringList{"in.zrm"});
}

}  // namespace
}  // namespace morvane::ui::testing
