#include <sys/stat.h>

#include "model/model_file.h"
#include "window_driver.h"

namespace morvane::ui::testing {
namespace {

// What the core says when it cannot open the path as a model.
QString CoreRefusal(const std::filesystem::path& path) {
    try {
        OpenModelFile(path);
    } catch (const Error& refusal) {
        return QString::fromLocal8Bit(refusal.what());
    }
    return QStringLiteral("(opened)");
}

// The window as the program starts it with models named on its command line.
class StartWithModelTest : public WindowTest {
protected:
    void StartWith(std::vector<std::filesystem::path> models) {
        window = std::make_unique<CCollisionDlg>(*this);
        window->ChooseOnStart(std::move(models));
        window->show();
    }
};

// Exactly as if chosen with "Choose ZRM...": the field names it and a save
// writes it. A path that cannot be read leaves the window empty and says why;
// the paths after the first are named, never silently dropped.
TEST_F(StartWithModelTest, TheFirstModelIsChosenAndEveryOtherPathIsNamed) {
    const auto input = Write("in.zrm", Model(8));
    const auto other = Write("other.zrm", Model(4));
    const auto gone = Path("gone.zrm");
    const auto fifo = Path("pipe.zrm");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const QString chosen = ChosenModelText(input);
    const QString goneMessage = CoreRefusal(gone);
    ASSERT_TRUE(goneMessage.contains("gone.zrm")) << goneMessage.toStdString();
    const QString notOpened =
        QStringLiteral("morvane works on one model at a time. These were not opened:\n'%1'");
    const std::tuple<const char*, std::vector<std::filesystem::path>, QString, QStringList>
        starts[] = {
            {"no path", {}, "", {}},
            {"one model", {input}, chosen, {}},
            {"a missing file", {gone}, "", {goneMessage}},
            {"a folder", {ToPath(folder.path())}, "", {CoreRefusal(ToPath(folder.path()))}},
            {"a pipe", {fifo}, "", {CoreRefusal(fifo)}},
            {"two models", {input, other}, chosen, {notOpened.arg(ToDisplayText(other))}},
            {"a missing file first",
             {gone, input, other},
             "",
             {goneMessage, notOpened.arg(ToDisplayText(input) + "'\n'" + ToDisplayText(other))}},
        };
    for (const auto& [what, models, field, said] : starts) {
        SCOPED_TRACE(what);
        messages.clear();
        StartWith(models);
        EXPECT_EQ(ModelField()->text(), field);
        EXPECT_EQ(CountField()->text(), "1");
        // Long enough for a box that should not open to open.
        QTest::qWait(20);
        EXPECT_TRUE(QTest::qWaitFor([&] { return messages.size() >= said.size(); }, 5000));
        EXPECT_EQ(messages, said);
    }

    // A name that is no UTF-8 is shown as best it can be and still read.
    const auto latin1 = Write("caf\xe9.zrm", Model(8));
    StartWith({latin1});
    EXPECT_EQ(ModelField()->text(), ChosenModelText(Path("caf\uFFFD.zrm")));
    TypeCount("4");
    SaveAs(Path("out.zrm"));
    EXPECT_EQ(ReadFile(Path("out.zrm")), Extended(8, 4));
    EXPECT_EQ(requests.size(), 1u);
}

}  // namespace
}  // namespace morvane::ui::testing
