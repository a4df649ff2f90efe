// The window scenarios' user on the Qt rendering: the window runs on the
// test's thread, and modal windows are answered from a timer.
#pragma once

#include <gtest/gtest.h>

#include <QtTest>
#include <QtWidgets>

#include "collision_dlg.h"
#include "platform/system_settings.h"
#include "resources/resource.h"
#include "ui/platform/qt/widgets.h"
#include "window_scenarios/window_driver.h"

namespace morvane::ui::scenarios {

// A path as the window shows it, for Qt's own calls.
inline QString ToDisplayText(const std::filesystem::path& path) {
    return QString::fromStdString(DisplayText(path));
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

    void Open(std::vector<std::filesystem::path> models) override {
        windowThread = std::this_thread::get_id();
        m_guide = std::make_unique<UserGuide>(m_desktop, guideFolder);
        m_window = std::make_unique<CCollisionDlg>(*this, *m_guide, m_settings);
        m_window->ChooseOnStart(std::move(models));
        Widget().show();
        // Long enough for the boxes the start posts to open and be answered.
        QTest::qWait(50);
        EXPECT_TRUE(QTest::qWaitFor([] { return QApplication::activeModalWidget() == nullptr; }))
            << "a window that the start opened stays open";
    }

    std::string FieldText(int id) override { return Field(id)->text().toStdString(); }

    // Where the field draws its caret, after drawing itself as the screen
    // shows it; Qt's rectangle for the caret is wider than the caret.
    bool ShowsTheEndOf(int id) override {
        QLineEdit& field = *Field(id);
        field.grab();
        const QRect caret = field.inputMethodQuery(Qt::ImCursorRectangle).toRect();
        return field.cursorPosition() == field.text().size() &&
               field.rect().contains(caret.center());
    }

    // As the tooltip shows it, whether Qt reads it as markup or not.
    std::string ToolTipOf(int id) override {
        const QString tip = Control(id)->toolTip();
        if (!Qt::mightBeRichText(tip)) {
            return tip.toStdString();
        }
        QTextDocument shown;
        shown.setHtml(tip);
        return shown.toPlainText().toStdString();
    }

    void TypeCount(const std::string& text) override {
        Field(IDC_VOLUMES)->setFocus();
        Field(IDC_VOLUMES)->clear();
        QTest::keyClicks(Field(IDC_VOLUMES), QString::fromStdString(text));
    }

    void Click(int id) override { QTest::mouseClick(Control(id), Qt::LeftButton); }

    void Press(Key key) override {
        QWidget* focus = Widget().focusWidget();
        const Qt::Key pressed = key == Key::Enter    ? Qt::Key_Return
                                : key == Key::Escape ? Qt::Key_Escape
                                                     : Qt::Key_F1;
        QTest::keyClick(focus != nullptr ? focus : &Widget(), pressed);
    }

    void SystemCommand(int commandId) override { m_window->OnSysCommand(commandId); }

    std::string LastSystemMenuItem(bool& afterSeparator) override {
        const QList<QAction*> items = NativeSystemMenu(*m_window).actions();
        afterSeparator = items.size() >= 2 && items[items.size() - 2]->isSeparator();
        return items.isEmpty() ? std::string() : items.back()->text().toStdString();
    }

    std::vector<std::string> SystemMenuItems() override {
        std::vector<std::string> texts;
        for (const QAction* item : NativeSystemMenu(*m_window).actions()) {
            texts.push_back(item->isSeparator() ? "-" : item->text().toStdString());
        }
        return texts;
    }

    void ChooseSystemMenuItem(const std::string& text) override {
        for (QAction* item : NativeSystemMenu(*m_window).actions()) {
            if (item->text().toStdString() == text) {
                item->trigger();
                return;
            }
        }
        ADD_FAILURE() << "no item " << text << " in the window menu";
    }

    void Drop(const std::vector<std::filesystem::path>& files) override {
        QMimeData data;
        QList<QUrl> urls;
        for (const auto& file : files) {
            urls.append(QUrl::fromLocalFile(ToDisplayText(file)));
        }
        data.setUrls(urls);
        Drag(&Widget(), data, Qt::CopyAction);
    }

    // Plays the window system carrying a drag to the middle of a control and,
    // unless told not to, dropping it there: the window routes it as a real
    // one. Returns the action taken, IgnoreAction when the drag is refused.
    Qt::DropAction Drag(QWidget* over, const QMimeData& data, Qt::DropActions offered,
                        bool drop = true) {
        const QPoint at = over->mapTo(&Widget(), over->rect().center());
        QDragEnterEvent enter(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Widget().windowHandle(), &enter);
        QDragMoveEvent move(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(Widget().windowHandle(), &move);
        EXPECT_EQ(enter.isAccepted(), move.isAccepted());
        if (drop) {
            QDropEvent dropped(at, offered, &data, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(Widget().windowHandle(), &dropped);
            EXPECT_EQ(dropped.isAccepted(), move.isAccepted());
        }
        return move.isAccepted() ? move.dropAction() : Qt::IgnoreAction;
    }

    bool CountFieldHasFocusAndIsSelected() override {
        return Widget().focusWidget() == Field(IDC_VOLUMES) &&
               Field(IDC_VOLUMES)->selectedText() == Field(IDC_VOLUMES)->text();
    }

    bool IsOpen() override { return Widget().isVisible(); }
    int Result() override { return Widget().result(); }

    // The message boxes answered, as Qt holds them: the text and the details
    // apart.
    std::vector<std::pair<std::string, std::string>> boxes;

    CCollisionDlg& Window() const { return *m_window; }
    // The window as Qt sees it, and its controls.
    QDialog& Widget() const { return NativeWidget(*m_window); }
    QWidget* Control(int id) const { return NativeControl(*m_window, id); }
    QLineEdit* Field(int id) const { return qobject_cast<QLineEdit*>(Control(id)); }

private:
    // A progress dialog is left to the test unless it is to be cancelled; a
    // message box gets the next prepared button once it has been read, any
    // other window is closed.
    void AnswerModal() {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* progress = qobject_cast<QProgressDialog*>(modal);
            progress != nullptr && progress->isVisible()) {
            progressShown = true;
            if (cancelProgress.exchange(false)) {
                progress->findChild<QPushButton*>()->click();
                progressCancelled = true;
            }
            // A progress window that came up over a box leaves the box out of
            // the user's reach; it is answered all the same, so that the test
            // fails instead of hanging.
            modal = VisibleBox();
        }
        if (modal == nullptr || !modal->isVisible()) {
            return;
        }
        if (modal != m_reading) {
            m_reading = modal;
            m_readingSince.start();
        }
        if (m_readingSince.elapsed() < readingTime.count()) {
            return;
        }
        m_reading = nullptr;
        Answer(*modal);
    }

    static QMessageBox* VisibleBox() {
        for (QWidget* window : QApplication::topLevelWidgets()) {
            if (auto* box = qobject_cast<QMessageBox*>(window);
                box != nullptr && box->isVisible()) {
                return box;
            }
        }
        return nullptr;
    }

    void Answer(QWidget& modal) {
        auto* box = qobject_cast<QMessageBox*>(&modal);
        if (box != nullptr) {
            boxes.emplace_back(box->text().toStdString(), box->detailedText().toStdString());
            said.push_back(box->detailedText().isEmpty()
                               ? boxes.back().first
                               : Box(boxes.back().first, boxes.back().second));
        } else {
            said.push_back(modal.windowTitle().toStdString());
        }
        EXPECT_TRUE(box == nullptr || box->textFormat() == Qt::PlainText) << "names read as markup";
        const int answer = boxAnswers.empty() ? IDOK : boxAnswers.front();
        if (!boxAnswers.empty()) {
            boxAnswers.pop_front();
        }
        const auto button = answer == IDYES  ? QMessageBox::Yes
                            : answer == IDNO ? QMessageBox::No
                                             : QMessageBox::Ok;
        if (box != nullptr && answer == kPressEnter) {
            QTest::keyClick(box, Qt::Key_Return);
        } else if (box != nullptr && box->button(button) != nullptr) {
            QTest::mouseClick(box->button(button), Qt::LeftButton);
        } else {
            modal.close();
        }
    }

    RecordingDesktop m_desktop{*this};
    std::unique_ptr<UserGuide> m_guide;
    SystemSettings m_settings;
    std::unique_ptr<CCollisionDlg> m_window;
    QTimer m_modalAnswerer;
    QPointer<QWidget> m_reading;  // the box being read, since m_readingSince
    QElapsedTimer m_readingSince;
};

// The Qt-only tests: what the scenarios cannot say of both renderings.
class QtWindowTest : public WindowScenario {
protected:
    QtWindowDriver& QtUser() { return static_cast<QtWindowDriver&>(*user); }
};

}  // namespace morvane::ui::scenarios
