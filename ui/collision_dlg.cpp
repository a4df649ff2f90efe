#include "collision_dlg.h"

#include <QDropEvent>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QScopedValueRollback>
#include <QStyle>
#include <QTimer>
#include <iostream>
#include <optional>
#include <system_error>
#include <utility>

#include "about_dlg.h"
#include "model/carried_block.h"
#include "model/file_rewrite.h"
#include "model/format.h"
#include "model/model_file.h"
#include "platform/data_exchange.h"
#include "platform/icons.h"
#include "platform/resource_text.h"
#include "resources/resource.h"

namespace morvane::ui {
namespace {

bool IsAboutCommand(int commandId) {
    return (commandId & 0xFFF0) == IDM_ABOUTBOX;
}

// Only one file of this machine that can be read as a model is taken; several
// files, a folder or a remote address are turned away at the cursor.
std::optional<std::filesystem::path> DroppedModel(const QMimeData* data) {
    if (data == nullptr) {
        return std::nullopt;
    }
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile()) {
        return std::nullopt;
    }
    const std::filesystem::path path = ToPath(urls.front().toLocalFile());
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return std::nullopt;
    }
    return path;
}

// Why a path named on the command line cannot be chosen as the model, in the
// words a save would use; opening it neither waits on a pipe nor reads it.
std::optional<QString> WhyNotAModelFile(const std::filesystem::path& path) {
    try {
        OpenModelFile(path);
    } catch (const Error& refusal) {
        return QString::fromLocal8Bit(refusal.what());
    }
    return std::nullopt;
}

QString NotOpenedText(const std::vector<std::filesystem::path>& others) {
    QString text = QStringLiteral("morvane works on one model at a time. These were not opened:");
    for (const std::filesystem::path& other : others) {
        text += QStringLiteral("\n'%1'").arg(ToDisplayText(other));
    }
    return text;
}

QString SecondBlockQuestion(const std::filesystem::path& input, const CarriedBlock& block) {
    return QStringLiteral(
               "'%1' already carries a block of %2 collision volumes: it has been rewritten "
               "before.\n\nSaving it adds a second block to every PRIM chunk. Save anyway?")
        .arg(ToDisplayText(input))
        .arg(block.volumes);
}

// Names come from the user's files and are shown as they are, never read as
// markup.
void ShowPlainMessage(QWidget* window, QMessageBox::Icon icon, const QString& message) {
    QMessageBox box(icon, window->windowTitle(), message, QMessageBox::Ok, window);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

// Choosing a model only reads it. A source told that its file was moved may
// delete it, so the drop is answered as a copy or a link and never a move.
std::optional<Qt::DropAction> ReadOnlyDropAction(Qt::DropActions possible) {
    for (const Qt::DropAction action : {Qt::CopyAction, Qt::LinkAction}) {
        if (possible.testFlag(action)) {
            return action;
        }
    }
    return std::nullopt;
}

}  // namespace

CCollisionDlg::CCollisionDlg(FileChooser& chooser, QWidget* parent)
    : CCollisionDlg(chooser, RewriteModelFile, parent) {}

CCollisionDlg::CCollisionDlg(FileChooser& chooser, ModelRewriter rewriter, QWidget* parent)
    : CDialog(IDD_MAIN, parent),
      m_hIcon(LoadIcon(IDR_MAINFRAME)),
      m_chooser(chooser),
      m_rewriter(std::move(rewriter)) {
    AcceptFileDrops();
}

// The fields would take a dropped file's path as text; a file dropped anywhere
// on the window chooses the model instead.
void CCollisionDlg::AcceptFileDrops() {
    setAcceptDrops(true);
    for (const int field : {IDC_VOLUMES, IDC_FILENAME}) {
        GetDlgItem(field)->setAcceptDrops(false);
    }
}

void CCollisionDlg::ChooseOnStart(std::vector<std::filesystem::path> models) {
    m_startingModels = std::move(models);
}

bool CCollisionDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    AddAboutItem();
    setWindowIcon(m_hIcon);
    m_InputPath.clear();
    m_Volumes = 1;
    UpdateData(false);
    TakeStartingModels();
    return true;
}

// The window is not on the screen yet; the message boxes wait until it is, so
// that they open over it.
void CCollisionDlg::TakeStartingModels() {
    if (m_startingModels.empty()) {
        return;
    }
    const std::vector<std::filesystem::path> models = std::exchange(m_startingModels, {});
    const std::optional<QString> problem = WhyNotAModelFile(models.front());
    if (!problem) {
        ChooseModel(models.front());
    }
    const std::vector<std::filesystem::path> others(models.begin() + 1, models.end());
    QTimer::singleShot(0, this, [this, problem, others] {
        if (problem) {
            ShowError(*problem);
        }
        if (!others.empty()) {
            ShowNote(NotOpenedText(others));
        }
    });
}

void CCollisionDlg::AddAboutItem() {
    const std::string_view text = res::LoadStringResource(IDS_ABOUTBOX);
    if (text.empty()) {
        return;
    }
    GetSystemMenu()->addSeparator();
    AppendMenu(*GetSystemMenu(), IDM_ABOUTBOX, ResourceText(text));
}

void CCollisionDlg::DoDataExchange(CDataExchange& dx) {
    DDX_Control(dx, IDC_FILENAME, m_FileEdit);
    DDX_Text(dx, IDC_VOLUMES, m_Volumes);
    DDV_MinMaxInt(dx, m_Volumes, zrm::kMinVolumes, zrm::kMaxVolumes);
}

// While a save runs, the commands that would start another piece of work are
// not taken; those that end the window stop the save instead (OnOK, OnCancel).
void CCollisionDlg::OnCommand(int id) {
    const bool startsWork = id == IDC_CHOOSE || id == IDC_SAVE;
    if (startsWork && m_runningSave != nullptr) {
        return;
    }
    if (id == IDC_CHOOSE) {
        OnChooseFile();
    } else if (id == IDC_SAVE) {
        OnSaveFile();
    } else {
        CDialog::OnCommand(id);
    }
}

void CCollisionDlg::OnOK() {
    if (!CancelRunningSave()) {
        CDialog::OnOK();
    }
}

// Escape and the window's close command arrive here too; during a save they
// must not take the window away from under the running worker.
void CCollisionDlg::OnCancel() {
    if (!CancelRunningSave()) {
        CDialog::OnCancel();
    }
}

bool CCollisionDlg::CancelRunningSave() {
    if (m_runningSave == nullptr) {
        return false;
    }
    m_runningSave->Cancel();
    return true;
}

void CCollisionDlg::OnSysCommand(int commandId) {
    if (IsAboutCommand(commandId)) {
        if (m_runningSave == nullptr) {
            CAboutDlg about(this);
            about.DoModal();
        }
    } else {
        CDialog::OnSysCommand(commandId);
    }
}

void CCollisionDlg::OnChooseFile() {
    const std::optional<std::filesystem::path> chosen = m_chooser.Choose(
        {QStringLiteral("Choose ZRM file to load"), ChooserRequest::Accepts::ExistingFile});
    if (chosen) {
        ChooseModel(*chosen);
    }
}

void CCollisionDlg::ChooseModel(const std::filesystem::path& input) {
    m_InputPath = input;
    m_FileEdit.SetWindowText(ChosenModelText(m_InputPath));
    UpdateData(false);
}

// The model is checked for before the output name is asked for, so that no
// one picks a name for a save that cannot happen or that they would not want.
void CCollisionDlg::OnSaveFile() {
    if (m_InputPath.empty()) {
        ShowError(QStringLiteral("Choose a ZRM model to read first (step 1)."));
        return;
    }
    if (!AgreesToASecondBlock()) {
        return;
    }
    const std::optional<std::filesystem::path> output =
        m_chooser.Choose({QStringLiteral("Choose ZRM name to save as"),
                          ChooserRequest::Accepts::NameInExistingFolder});
    if (!output || !UpdateData(true)) {
        return;
    }
    RewriteInto(*output);
}

// A model that was never rewritten is saved without a question. Not saving is
// the answer Enter and Escape give.
bool CCollisionDlg::AgreesToASecondBlock() {
    const std::optional<CarriedBlock> block = FindCarriedBlock(m_InputPath);
    if (!block) {
        return true;
    }
    QMessageBox box(QMessageBox::Warning, windowTitle(), SecondBlockQuestion(m_InputPath, *block),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

// A successful rewrite says nothing here, and neither does one the user
// cancelled; the trace goes to standard output.
void CCollisionDlg::RewriteInto(const std::filesystem::path& output) {
    BackgroundRewrite rewrite(*this);
    const QScopedValueRollback<BackgroundRewrite*> running(m_runningSave, &rewrite);
    const RewriteOutcome outcome =
        rewrite.Run(m_rewriter, {m_InputPath, output, m_Volumes, &std::cout});
    if (outcome.ending == RewriteOutcome::Ending::Failed) {
        ShowError(outcome.message);
    }
}

void CCollisionDlg::ShowError(const QString& message) {
    ShowPlainMessage(this, QMessageBox::Critical, message);
}

void CCollisionDlg::ShowNote(const QString& message) {
    ShowPlainMessage(this, QMessageBox::Information, message);
}

void CCollisionDlg::paintEvent(QPaintEvent* event) {
    if (isMinimized()) {
        PaintMinimised();
    } else {
        CDialog::paintEvent(event);
    }
}

// Only painted where the window system lets a minimised window paint itself.
void CCollisionDlg::PaintMinimised() {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const int extent = style()->pixelMetric(QStyle::PM_LargeIconSize);
    const QSize iconSize(extent, extent);
    painter.drawPixmap(MinimisedIconPosition(size(), iconSize), m_hIcon.pixmap(iconSize));
}

void CCollisionDlg::dragEnterEvent(QDragEnterEvent* event) {
    AnswerDrag(*event);
}

void CCollisionDlg::dragMoveEvent(QDragMoveEvent* event) {
    AnswerDrag(*event);
}

void CCollisionDlg::AnswerDrag(QDropEvent& event) const {
    const std::optional<Qt::DropAction> action = ReadOnlyDropAction(event.possibleActions());
    if (m_runningSave != nullptr || !action || !DroppedModel(event.mimeData())) {
        event.ignore();
        return;
    }
    event.setDropAction(*action);
    event.accept();
}

void CCollisionDlg::dropEvent(QDropEvent* event) {
    AnswerDrag(*event);
    if (!event->isAccepted()) {
        return;
    }
    ChooseModel(*DroppedModel(event->mimeData()));
}

QString ChosenModelText(const std::filesystem::path& input) {
    return QString::asprintf("ZRM chosen: '%s'", ToDisplayText(input).toUtf8().constData());
}

}  // namespace morvane::ui
