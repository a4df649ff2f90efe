#include "window_driver.h"

#include <QApplication>
#include <QDropEvent>
#include <QMessageBox>
#include <QProgressDialog>
#include <QTest>
#include <QWindow>
#include <exception>
#include <fstream>
#include <iterator>
#include <sstream>

#include "model/file_rewrite.h"
#include "platform/dialog.h"

namespace morvane::ui::testing {
namespace {

void PutWord(Bytes& bytes, std::uint32_t word) {
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<std::uint8_t>(word >> shift));
    }
}

void PutPayload(Bytes& bytes, std::uint32_t count) {
    for (std::uint32_t i = 0; i < count; ++i) {
        bytes.push_back(static_cast<std::uint8_t>(0xA0 + i));
    }
}

void SetWord(Bytes& bytes, std::size_t offset, std::uint32_t word) {
    Bytes encoded;
    PutWord(encoded, word);
    std::copy(encoded.begin(), encoded.end(), bytes.begin() + static_cast<std::ptrdiff_t>(offset));
}

constexpr std::uint32_t kZrm4 = 0x5A524D34;
constexpr std::uint32_t kPrim = 0x5052494D;
constexpr std::uint32_t kHand = 0x48414E44;

}  // namespace

std::optional<std::filesystem::path> ScriptedChooser::Choose(const ChooserRequest& request) {
    requests.push_back(request);
    if (answers.empty()) {
        ADD_FAILURE() << "unexpected file dialog: " << request.title.toStdString();
        return std::nullopt;
    }
    std::optional<std::filesystem::path> answer = answers.front();
    answers.pop_front();
    return answer;
}

ModalAnswerer::ModalAnswerer() {
    QObject::connect(&m_timer, &QTimer::timeout, [this] { AnswerActiveModal(); });
    m_timer.start(5);
}

void ModalAnswerer::AnswerActiveModal() {
    QWidget* modal = QApplication::activeModalWidget();
    // A progress dialog asks nothing; the test in front of it decides.
    if (modal == nullptr || !modal->isVisible() || qobject_cast<QProgressDialog*>(modal)) {
        return;
    }
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        seen.push_back({"message", box->text()});
        box->defaultButton() != nullptr ? box->defaultButton()->click() : box->reject();
        return;
    }
    seen.push_back({modal->windowTitle(), {}});
    if (auto* ok = modal->findChild<QPushButton*>("IDOK")) {
        QTest::mouseClick(ok, Qt::LeftButton);
    } else {
        modal->close();
    }
}

void WindowTest::SetUp() {
    ASSERT_TRUE(folder.isValid());
    window = std::make_unique<CCollisionDlg>(chooser);
    window->show();
}

QLineEdit* WindowTest::CountField() const {
    return window->findChild<QLineEdit*>("IDC_VOLUMES");
}

QLineEdit* WindowTest::ModelField() const {
    return window->findChild<QLineEdit*>("IDC_FILENAME");
}

QPushButton* WindowTest::Button(const char* name) const {
    return window->findChild<QPushButton*>(name);
}

void WindowTest::Click(const char* name) const {
    QTest::mouseClick(Button(name), Qt::LeftButton);
}

void WindowTest::TypeCount(const QString& text) const {
    CountField()->setFocus();
    QTest::keyClick(CountField(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(CountField(), Qt::Key_Delete);
    QTest::keyClicks(CountField(), text);
}

void WindowTest::ChooseModel(const std::optional<std::filesystem::path>& input) {
    chooser.answers.push_back(input);
    Click("IDC_CHOOSE");
}

void WindowTest::SaveAs(const std::optional<std::filesystem::path>& output) {
    chooser.answers.push_back(output);
    Click("IDC_SAVE");
}

DragAnswer WindowTest::DragOver(QWidget* over, const QMimeData& data,
                                Qt::DropActions offered) const {
    const QPoint point = over->mapTo(window.get(), over->rect().center());
    QDragEnterEvent enter(point, offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window->windowHandle(), &enter);
    QDragMoveEvent move(point, offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window->windowHandle(), &move);
    return {enter.isAccepted(), move.isAccepted(), move.dropAction()};
}

bool WindowTest::Drop(QWidget* over, const QMimeData& data, Qt::DropActions offered) const {
    const QPoint point = over->mapTo(window.get(), over->rect().center());
    QDropEvent drop(point, offered, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(window->windowHandle(), &drop);
    return drop.isAccepted();
}

void WindowTest::LeaveWithoutDropping() const {
    QDragLeaveEvent leave;
    QApplication::sendEvent(window->windowHandle(), &leave);
}

std::filesystem::path WindowTest::PathInFolder(const char* name) const {
    return ToPath(folder.path()) / name;
}

std::filesystem::path WindowTest::WriteFile(const char* name, const Bytes& content) const {
    const std::filesystem::path path = PathInFolder(name);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(content.data()),
              static_cast<std::streamsize>(content.size()));
    return path;
}

Bytes ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

QUrl LocalUrl(const std::filesystem::path& path) {
    return QUrl::fromLocalFile(ToDisplayText(path));
}

Bytes ModelWithOnePrim(std::uint32_t payloadBytes) {
    Bytes model;
    for (const std::uint32_t word : {kZrm4, 0u, 0u, kPrim, 0u, payloadBytes}) {
        PutWord(model, word);
    }
    PutPayload(model, payloadBytes);
    SetWord(model, 8, static_cast<std::uint32_t>(model.size()));
    return model;
}

Bytes ExtendedModel(std::uint32_t payloadBytes, std::uint32_t volumes) {
    Bytes model;
    for (const std::uint32_t word : {kZrm4, 0u, 0u, kPrim, 0u, payloadBytes + 4 * volumes + 8}) {
        PutWord(model, word);
    }
    PutPayload(model, payloadBytes);
    PutWord(model, 4);
    PutWord(model, volumes);
    for (std::uint32_t i = 0; i < volumes; ++i) {
        PutWord(model, 0xFFFFFFFF);
    }
    for (const std::uint32_t word : {kHand, 0u, 8u, 0u, payloadBytes}) {
        PutWord(model, word);
    }
    SetWord(model, 8, static_cast<std::uint32_t>(model.size() - 4));
    return model;
}

QString RewriteMessage(const std::filesystem::path& input, const std::filesystem::path& output,
                       int volumes) {
    std::ostringstream trace;
    try {
        RewriteModelFile(input, output, volumes, trace);
    } catch (const std::exception& error) {
        return QString::fromLocal8Bit(error.what());
    }
    return {};
}

}  // namespace morvane::ui::testing
