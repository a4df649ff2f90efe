// The shared window scenarios' user on the Qt rendering: the window runs on
// the test's thread, offscreen, and modal windows are answered from a timer.
#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>

#include "collision_dlg.h"
#include "qt_file_chooser.h"
#include "resources/resource.h"
#include "window_scenarios/window_driver.h"

namespace morvane::ui::scenarios {
namespace {

QMessageBox::StandardButton BoxButton(int answer) {
    switch (answer) {
        case IDYES:
            return QMessageBox::Yes;
        case IDNO:
            return QMessageBox::No;
        default:
            return QMessageBox::Ok;
    }
}

class QtWindowDriver : public WindowDriver, public FileChooser {
public:
    QtWindowDriver() {
        QObject::connect(&m_modalAnswerer, &QTimer::timeout, [this] { AnswerModal(); });
        m_modalAnswerer.start(5);
    }

    std::optional<std::filesystem::path> Choose(const ChooserRequest& request) override {
        return NextChooserAnswer(request);
    }

    void Open(std::vector<std::filesystem::path> models, ModelRewriter rewriter) override {
        m_window = rewriter ? std::make_unique<CCollisionDlg>(*this, std::move(rewriter))
                            : std::make_unique<CCollisionDlg>(*this);
        m_window->ChooseOnStart(std::move(models));
        m_window->show();
        // Long enough for the boxes the start posts to open and be answered.
        QTest::qWait(50);
    }

    std::string FieldText(int id) override {
        return qobject_cast<QLineEdit*>(m_window->GetDlgItem(id))->text().toStdString();
    }

    void TypeCount(const std::string& text) override {
        QLineEdit* field = CountField();
        field->setFocus();
        field->clear();
        QTest::keyClicks(field, QString::fromStdString(text));
    }

    void Click(int id) override { QTest::mouseClick(m_window->GetDlgItem(id), Qt::LeftButton); }

    void Press(Key key) override {
        QWidget* focus = m_window->focusWidget();
        QTest::keyClick(focus != nullptr ? focus : m_window.get(),
                        key == Key::Enter ? Qt::Key_Return : Qt::Key_Escape);
    }

    void SystemCommand(int commandId) override { m_window->OnSysCommand(commandId); }

    std::string LastSystemMenuItem(bool& afterSeparator) override {
        const QList<QAction*> items = m_window->GetSystemMenu()->actions();
        afterSeparator = items.size() >= 2 && items[items.size() - 2]->isSeparator();
        return items.isEmpty() ? std::string() : items.back()->text().toStdString();
    }

    // Played as the window system carries a drag to the window's middle.
    void Drop(const std::vector<std::filesystem::path>& files) override {
        QMimeData data;
        QList<QUrl> urls;
        for (const auto& file : files) {
            urls.append(QUrl::fromLocalFile(ToDisplayText(file)));
        }
        data.setUrls(urls);
        const QPoint at = m_window->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_window->windowHandle(), &enter);
        QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_window->windowHandle(), &move);
        QDropEvent drop(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(m_window->windowHandle(), &drop);
    }

    bool CountFieldHasFocusAndIsSelected() override {
        return m_window->focusWidget() == CountField() &&
               CountField()->selectedText() == CountField()->text();
    }

    bool IsOpen() override { return m_window->isVisible(); }
    int Result() override { return m_window->result(); }

private:
    QLineEdit* CountField() const {
        return qobject_cast<QLineEdit*>(m_window->GetDlgItem(IDC_VOLUMES));
    }

    void AnswerModal() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || !modal->isVisible()) {
            return;
        }
        if (auto* progress = qobject_cast<QProgressDialog*>(modal)) {
            progressShown = true;
            if (cancelProgress) {
                cancelProgress = false;
                progress->findChild<QPushButton*>()->click();
            }
            return;
        }
        auto* box = qobject_cast<QMessageBox*>(modal);
        said.push_back((box != nullptr ? box->text() : modal->windowTitle()).toStdString());
        QAbstractButton* answer = nullptr;
        if (box != nullptr) {
            answer = box->button(BoxButton(boxAnswers.empty() ? IDOK : boxAnswers.front()));
            if (!boxAnswers.empty()) {
                boxAnswers.pop_front();
            }
        }
        if (answer != nullptr) {
            QTest::mouseClick(answer, Qt::LeftButton);
        } else {
            modal->close();
        }
    }

    std::unique_ptr<CCollisionDlg> m_window;
    QTimer m_modalAnswerer;
};

}  // namespace

std::unique_ptr<WindowDriver> MakeWindowDriver() {
    return std::make_unique<QtWindowDriver>();
}

}  // namespace morvane::ui::scenarios
