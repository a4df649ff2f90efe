#include <QApplication>
#include <QDropEvent>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>
#include <QWindow>
#include <algorithm>
#include <functional>
#include <memory>

#include "window_driver.h"

namespace morvane::ui::testing {
namespace {

class DropModelTest : public WindowTest {
protected:
    // File managers offer the addresses as text too, which text fields take.
    static std::unique_ptr<QMimeData> Urls(const QList<QUrl>& urls) {
        auto data = std::make_unique<QMimeData>();
        data->setUrls(urls);
        QStringList text;
        for (const QUrl& url : urls) {
            text.append(url.toString());
        }
        data->setText(text.join('\n'));
        return data;
    }
};

TEST_F(DropModelTest, OneFileDroppedIsChosenAsTheChooserWouldChooseIt) {
    const auto input = WriteFile("in.zrm", ModelWithOnePrim(8));
    TypeCount("7");
    const auto data = Urls({LocalUrl(input)});

    const DragAnswer answer = DragOver(window.get(), *data);
    EXPECT_TRUE(answer.entered);
    EXPECT_TRUE(answer.moved);
    ASSERT_TRUE(Drop(window.get(), *data));

    EXPECT_EQ(ModelField()->text(), ChosenModelText(input));
    EXPECT_EQ(CountField()->text(), "1");
    EXPECT_TRUE(chooser.requests.empty());
    EXPECT_TRUE(modals.seen.empty());

    SaveAs(PathInFolder("out.zrm"));
    EXPECT_EQ(ReadFile(PathInFolder("out.zrm")), ExtendedModel(8, 1));
}

// The fields would otherwise paste the path as text.
TEST_F(DropModelTest, AFileDroppedOnEitherFieldIsForTheWindow) {
    const auto input = WriteFile("in.zrm", ModelWithOnePrim(8));
    const auto data = Urls({LocalUrl(input)});
    for (QLineEdit* field : {CountField(), ModelField()}) {
        ModelField()->clear();
        EXPECT_TRUE(DragOver(field, *data).moved);
        ASSERT_TRUE(Drop(field, *data));
        EXPECT_EQ(ModelField()->text(), ChosenModelText(input));
        EXPECT_EQ(CountField()->text(), "1");
    }
}

// The source keeps its file: the drop is never answered as a move.
TEST_F(DropModelTest, TheDropIsACopyAndNeverAMove) {
    const auto data = Urls({LocalUrl(WriteFile("in.zrm", ModelWithOnePrim(8)))});
    EXPECT_EQ(DragOver(window.get(), *data).action, Qt::CopyAction);
    LeaveWithoutDropping();
    EXPECT_EQ(DragOver(window.get(), *data, Qt::LinkAction | Qt::MoveAction).action,
              Qt::LinkAction);
    LeaveWithoutDropping();
    EXPECT_FALSE(DragOver(window.get(), *data, Qt::MoveAction).moved);
    LeaveWithoutDropping();
}

struct RefusedDrop {
    const char* what;
    std::function<QList<QUrl>(const std::filesystem::path& folder)> urls;
};

void PrintTo(const RefusedDrop& refused, std::ostream* out) {
    *out << refused.what;
}

class RefusedDropTest : public DropModelTest, public ::testing::WithParamInterface<RefusedDrop> {};

TEST_P(RefusedDropTest, IsTurnedAwayAtTheCursorAndChangesNothing) {
    const auto chosen = WriteFile("chosen.zrm", ModelWithOnePrim(4));
    WriteFile("a.zrm", ModelWithOnePrim(4));
    WriteFile("b.zrm", ModelWithOnePrim(4));
    ChooseModel(chosen);
    TypeCount("9");
    const auto data = Urls(GetParam().urls(ToPath(folder.path())));

    const DragAnswer answer = DragOver(window.get(), *data);
    EXPECT_FALSE(answer.entered);
    EXPECT_FALSE(answer.moved);
    EXPECT_FALSE(Drop(window.get(), *data));

    EXPECT_EQ(ModelField()->text(), ChosenModelText(chosen));
    EXPECT_EQ(CountField()->text(), "9");
    EXPECT_TRUE(modals.seen.empty());
    SaveAs(PathInFolder("out.zrm"));
    EXPECT_EQ(ReadFile(PathInFolder("out.zrm")), ExtendedModel(4, 9));
}

INSTANTIATE_TEST_SUITE_P(
    Drops, RefusedDropTest,
    ::testing::Values(
        RefusedDrop{"several files",
                    [](const std::filesystem::path& dir) {
                        return QList<QUrl>{LocalUrl(dir / "a.zrm"), LocalUrl(dir / "b.zrm")};
                    }},
        RefusedDrop{"a folder",
                    [](const std::filesystem::path& dir) { return QList<QUrl>{LocalUrl(dir)}; }},
        RefusedDrop{"a remote address",
                    [](const std::filesystem::path&) {
                        return QList<QUrl>{QUrl("https://example.org/a.zrm")};
                    }},
        RefusedDrop{"a file that is gone",
                    [](const std::filesystem::path& dir) {
                        return QList<QUrl>{LocalUrl(dir / "gone.zrm")};
                    }},
        RefusedDrop{"no files at all", [](const std::filesystem::path&) { return QList<QUrl>{}; }}),
    [](const ::testing::TestParamInfo<RefusedDrop>& param) {
        std::string name = param.param.what;
        std::replace(name.begin(), name.end(), ' ', '_');
        return name;
    });

}  // namespace
}  // namespace morvane::ui::testing
