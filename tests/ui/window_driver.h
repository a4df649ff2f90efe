#pragma once

#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>
#include <deque>
#include <fstream>
#include <memory>

#include "collision_dlg.h"
#include "file_chooser.h"
#include "model/file_rewrite.h"
#include "qt_file_chooser.h"
#include "resources/resource.h"
#include "support/zrm_builder.h"

// Lets a failed comparison of two texts print them as text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace morvane::ui::testing {

using namespace morvane::testing;

// The window's status text as the field shows it; hides the dialog logic's
// function of the same name, which gives UTF-8.
inline QString ChosenModelText(const std::filesystem::path& input) {
    return QString::fromStdString(ui::ChosenModelText(input));
}

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

// The main window, shown offscreen and driven through its controls. The test
// plays the user in front of the file dialogs, each taking the next prepared
// answer (a path or a cancel), and of any other modal window but a progress
// dialog, keeping a message box's text or a title: a message box gets the
// next prepared button clicked, any other window is closed as it opens.
class WindowTest : public ::testing::Test, public FileChooser {
protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        QObject::connect(&m_modalCloser, &QTimer::timeout, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (modal == nullptr || !modal->isVisible() || qobject_cast<QProgressDialog*>(modal)) {
                return;
            }
            auto* box = qobject_cast<QMessageBox*>(modal);
            messages.append(box != nullptr ? box->text() : modal->windowTitle());
            QAbstractButton* answer =
                box != nullptr && !boxAnswers.empty() ? box->button(boxAnswers.front()) : nullptr;
            if (answer != nullptr) {
                boxAnswers.pop_front();
                QTest::mouseClick(answer, Qt::LeftButton);
            } else {
                modal->close();
            }
        });
        m_modalCloser.start(5);
        window = std::make_unique<CCollisionDlg>(*this);
        window->show();
    }

    std::optional<std::filesystem::path> Choose(const ChooserRequest& request) override {
        requests.push_back(request);
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected file dialog: " << request.title;
            return std::nullopt;
        }
        std::optional<std::filesystem::path> answer = answers.front();
        answers.pop_front();
        return answer;
    }

    QLineEdit* CountField() const { return window->findChild<QLineEdit*>("IDC_VOLUMES"); }
    QLineEdit* ModelField() const { return window->findChild<QLineEdit*>("IDC_FILENAME"); }
    QPushButton* Button(const char* name) const { return window->findChild<QPushButton*>(name); }

    void TypeCount(const QString& text) const {
        CountField()->setFocus();
        CountField()->clear();
        QTest::keyClicks(CountField(), text);
    }

    void ChooseModel(const std::optional<std::filesystem::path>& input) {
        answers.push_back(input);
        QTest::mouseClick(Button("IDC_CHOOSE"), Qt::LeftButton);
    }

    void SaveAs(const std::optional<std::filesystem::path>& output) {
        answers.push_back(output);
        QTest::mouseClick(Button("IDC_SAVE"), Qt::LeftButton);
    }

    // Plays the window system carrying a drag to the middle of a control and,
    // unless told not to, dropping it there: the window routes it as a real
    // one. Returns the action taken, IgnoreAction when the drag is refused.
    Qt::DropAction Drag(QWidget* over, const QMimeData& data, Qt::DropActions offered,
                        bool drop = true) const {
        const QPoint at = over->mapTo(window.get(), over->rect().center());
        QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window->windowHandle(), &enter);
        QDragMoveEvent move(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window->windowHandle(), &move);
        EXPECT_EQ(enter.isAccepted(), move.isAccepted());
        if (drop) {
            QDropEvent dropped(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(window->windowHandle(), &dropped);
            EXPECT_EQ(dropped.isAccepted(), move.isAccepted());
        }
        return move.isAccepted() ? move.dropAction() : Qt::IgnoreAction;
    }

    std::filesystem::path Path(const char* name) const { return ToPath(folder.path()) / name; }

    std::filesystem::path Write(const char* name, const std::string& bytes) const {
        std::ofstream(Path(name), std::ios::binary) << bytes;
        return Path(name);
    }

    // Hidden entries too, that is what a left-over temporary output would be,
    // and device nodes.
    QStringList Listing() const {
        return QDir(folder.path())
            .entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    }

    std::deque<std::optional<std::filesystem::path>> answers;
    std::vector<ChooserRequest> requests;
    std::deque<QMessageBox::StandardButton> boxAnswers;
    QStringList messages;  // message texts and dialog titles
    QTemporaryDir folder;
    std::unique_ptr<CCollisionDlg> window;

private:
    QTimer m_modalCloser;
};

}  // namespace morvane::ui::testing
