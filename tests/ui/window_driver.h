#pragma once

#include <gtest/gtest.h>

#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QUrl>
#include <cstdint>
#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "collision_dlg.h"
#include "file_chooser.h"

// Lets a failed comparison of two texts print them as text.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

namespace morvane::ui::testing {

using Bytes = std::vector<std::uint8_t>;

// Plays the user in front of the file dialogs: each request takes the next
// prepared answer, a path or a cancel.
class ScriptedChooser : public FileChooser {
public:
    std::optional<std::filesystem::path> Choose(const ChooserRequest& request) override;

    std::deque<std::optional<std::filesystem::path>> answers;
    std::vector<ChooserRequest> requests;
};

struct SeenModal {
    QString kind;  // "message" or the dialog's window title
    QString text;
};

// Answers every modal window that opens while it lives, as a user would: a
// message box with its default button, a dialog with its OK button. What
// was seen is kept for the test to check; without it a box would hang the test.
// Progress dialogs are left to the test.
class ModalAnswerer {
public:
    ModalAnswerer();

    std::vector<SeenModal> seen;

private:
    void AnswerActiveModal();

    QTimer m_timer;
};

struct DragAnswer {
    bool entered = false;
    bool moved = false;
    Qt::DropAction action = Qt::IgnoreAction;
};

// The main window, shown offscreen and driven through its controls.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override;

    QLineEdit* CountField() const;
    QLineEdit* ModelField() const;
    QPushButton* Button(const char* name) const;

    void Click(const char* name) const;
    void TypeCount(const QString& text) const;
    void ChooseModel(const std::optional<std::filesystem::path>& input);
    void SaveAs(const std::optional<std::filesystem::path>& output);

    // Play the window system carrying a drag to the middle of a control, so
    // that the window routes it as it would a real one.
    DragAnswer DragOver(QWidget* over, const QMimeData& data,
                        Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction) const;
    bool Drop(QWidget* over, const QMimeData& data,
              Qt::DropActions offered = Qt::CopyAction | Qt::MoveAction) const;
    void LeaveWithoutDropping() const;

    std::filesystem::path PathInFolder(const char* name) const;
    std::filesystem::path WriteFile(const char* name, const Bytes& content) const;

    ScriptedChooser chooser;
    ModalAnswerer modals;
    QTemporaryDir folder;
    std::unique_ptr<CCollisionDlg> window;
};

Bytes ReadFile(const std::filesystem::path& path);

QUrl LocalUrl(const std::filesystem::path& path);

// A model made of the container header and one PRIM chunk with payloadBytes
// bytes of payload.
Bytes ModelWithOnePrim(std::uint32_t payloadBytes);

// What that model becomes with the given number of collision volumes.
Bytes ExtendedModel(std::uint32_t payloadBytes, std::uint32_t volumes);

// The message the file rewrite gives for these arguments, or an empty string
// when it succeeds.
QString RewriteMessage(const std::filesystem::path& input, const std::filesystem::path& output,
                       int volumes);

}  // namespace morvane::ui::testing
