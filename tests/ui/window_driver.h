#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QDropEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QWindow>
#include <deque>
#include <fstream>
#include <memory>

#include "collision_dlg.h"
#include "file_chooser.h"
#include "model/file_rewrite.h"
#include "resources/resource.h"
#include "support/zrm_builder.h"

// Lets a failed comparison of two texts print them as text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace morvane::ui::testing {

using namespace morvane::testing;

// Plays the user in front of the file dialogs: each request takes the next
// prepared answer, a path or a cancel.
class ScriptedChooser : public FileChooser {
public:
    std::optional<std::filesystem::path> Choose(const ChooserRequest& request) override {
        requests.push_back(request);
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected file dialog: " << request.title.toStdString();
            return std::nullopt;
        }
        std::optional<std::filesystem::path> answer = answers.front();
        answers.pop_front();
        return answer;
    }

    std::deque<std::optional<std::filesystem::path>> answers;
    std::vector<ChooserRequest> requests;
};

// Closes every modal window that opens while it lives, keeping a message box's
// text or a dialog's title. Progress dialogs are left to the test.
class ModalAnswerer {
public:
    ModalAnswerer() {
        QObject::connect(&m_timer, &QTimer::timeout, [this] { AnswerActiveModal(); });
        m_timer.start(5);
    }

    QStringList seen;

private:
    void AnswerActiveModal() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible() || qobject_cast<QProgressDialog*>(modal)) {
            return;
        }
        auto* box = qobject_cast<QMessageBox*>(modal);
        seen.append(box != nullptr ? box->text() : modal->windowTitle());
        modal->close();
    }

    QTimer m_timer;
};

// A model of one PRIM chunk with payloadBytes bytes of payload.
inline std::string Model(std::uint32_t payloadBytes) {
    return containerHeader() + chunk(kPrim, 0, payloadBytes, payload(payloadBytes));
}

// What the window should write for that model and that many volumes.
inline std::string Extended(std::uint32_t payloadBytes, int volumes) {
    const std::string block = volumeBlock(volumes);
    const std::string bytes =
        containerHeader() +
        chunk(kPrim, 0, payloadBytes + static_cast<std::uint32_t>(block.size()),
              payload(payloadBytes)) +
        block + closingHand(payloadBytes);
    return withSizeWord(bytes, static_cast<std::uint32_t>(bytes.size()) - 4);
}

inline std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The main window, shown offscreen and driven through its controls.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        window = std::make_unique<CCollisionDlg>(chooser);
        window->show();
    }

    QLineEdit* CountField() const { return window->findChild<QLineEdit*>("IDC_VOLUMES"); }
    QLineEdit* ModelField() const { return window->findChild<QLineEdit*>("IDC_FILENAME"); }
    QPushButton* Button(const char* name) const { return window->findChild<QPushButton*>(name); }

    void TypeCount(const QString& text) const {
        CountField()->setFocus();
        QTest::keyClick(CountField(), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(CountField(), Qt::Key_Delete);
        QTest::keyClicks(CountField(), text);
    }

    void ChooseModel(const std::optional<std::filesystem::path>& input) {
        chooser.answers.push_back(input);
        QTest::mouseClick(Button("IDC_CHOOSE"), Qt::LeftButton);
    }

    void SaveAs(const std::optional<std::filesystem::path>& output) {
        chooser.answers.push_back(output);
        QTest::mouseClick(Button("IDC_SAVE"), Qt::LeftButton);
    }

    // Plays the window system carrying a drag to the middle of a control, so
    // that the window routes it as it would a real one. Returns the action
    // taken, IgnoreAction when the drag is turned away.
    Qt::DropAction DragOver(QWidget* over, const QMimeData& data,
                            Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction) const {
        const QPoint point = over->mapTo(window.get(), over->rect().center());
        QDragEnterEvent enter(point, offered, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window->windowHandle(), &enter);
        QDragMoveEvent move(point, offered, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window->windowHandle(), &move);
        EXPECT_EQ(enter.isAccepted(), move.isAccepted());
        return move.isAccepted() ? move.dropAction() : Qt::IgnoreAction;
    }

    bool Drop(QWidget* over, const QMimeData& data,
              Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction) const {
        const QPoint point = over->mapTo(window.get(), over->rect().center());
        QDropEvent drop(point, offered, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window->windowHandle(), &drop);
        return drop.isAccepted();
    }

    std::filesystem::path Path(const char* name) const { return ToPath(folder.path()) / name; }

    std::filesystem::path Write(const char* name, const std::string& bytes) const {
        std::ofstream(Path(name), std::ios::binary) << bytes;
        return Path(name);
    }

    // Hidden entries too: that is what a left-over temporary output would be.
    QStringList Listing() const {
        return QDir(folder.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
    }

    ScriptedChooser chooser;
    ModalAnswerer modals;
    QTemporaryDir folder;
    std::unique_ptr<CCollisionDlg> window;
};

}  // namespace morvane::ui::testing
