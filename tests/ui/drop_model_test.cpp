#include "window_driver.h"

namespace morvane::ui::testing {
namespace {

QUrl LocalUrl(const std::filesystem::path& path) {
    return QUrl::fromLocalFile(ToDisplayText(path));
}

// File managers offer the addresses as text too, which text fields take.
std::unique_ptr<QMimeData> Urls(const QList<QUrl>& urls) {
    auto data = std::make_unique<QMimeData>();
    data->setUrls(urls);
    data->setText(QUrl::toStringList(urls).join('\n'));
    return data;
}

using DropModelTest = WindowTest;

// Dropped anywhere, the fields included, one file is chosen just as the file
// dialog would choose it; anything else is turned away and changes nothing.
// The source keeps its file: the drop is a copy or a link, never a move.
TEST_F(DropModelTest, OnlyOneLocalFileIsChosenWhereverItIsDropped) {
    const auto input = Write("in.zrm", Model(8));
    const auto data = Urls({LocalUrl(input)});
    const std::tuple<QWidget*, Qt::DropActions, Qt::DropAction> drops[] = {
        {window.get(), Qt::CopyAction | Qt::MoveAction, Qt::CopyAction},
        {CountField(), Qt::LinkAction | Qt::MoveAction, Qt::LinkAction},
        {ModelField(), Qt::CopyAction | Qt::LinkAction | Qt::MoveAction, Qt::CopyAction},
    };
    for (const auto& [target, offered, taken] : drops) {
        SCOPED_TRACE(target->objectName().toStdString());
        ModelField()->clear();
        TypeCount("7");
        EXPECT_EQ(Drag(target, *data, offered), taken);
        EXPECT_EQ(ModelField()->text(), ChosenModelText(input));
        EXPECT_EQ(CountField()->text(), "1");
    }

    const QUrl other = LocalUrl(Write("other.zrm", Model(4)));
    TypeCount("9");
    const std::tuple<const char*, QList<QUrl>, Qt::DropActions> refused[] = {
        {"several files", {other, LocalUrl(input)}, Qt::CopyAction},
        {"a folder", {LocalUrl(ToPath(folder.path()))}, Qt::CopyAction},
        {"a remote file", {QUrl("https://example.org/a.zrm")}, Qt::CopyAction},
        {"a file that is gone", {LocalUrl(Path("gone.zrm"))}, Qt::CopyAction},
        {"no file", {}, Qt::CopyAction},
        {"a move", {other}, Qt::MoveAction},
    };
    for (const auto& [what, urls, offered] : refused) {
        SCOPED_TRACE(what);
        EXPECT_EQ(Drag(window.get(), *Urls(urls), offered), Qt::IgnoreAction);
        EXPECT_EQ(ModelField()->text(), ChosenModelText(input));
        EXPECT_EQ(CountField()->text(), "9");
    }
    EXPECT_TRUE(requests.empty());
    EXPECT_TRUE(messages.isEmpty());
    SaveAs(Path("out.zrm"));
    EXPECT_EQ(ReadFile(Path("out.zrm")), Extended(8, 9));
}

}  // namespace
}  // namespace morvane::ui::testing
