#include <QAbstractButton>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QStyle>
#include <QTimer>
#include <optional>
#include <stdexcept>

#include "control_factory.h"
#include "dialog_units.h"
#include "native_dialog.h"
#include "native_icon.h"
#include "platform/data_exchange.h"
#include "resource_text.h"
#include "resources/resource.h"

namespace morvane::ui {
namespace {

QFont DialogFont(const res::DialogTemplate& dialogTemplate) {
    QFont font(ResourceText(dialogTemplate.fontFace));
    font.setPointSize(dialogTemplate.fontPoints);
    return font;
}

Qt::WindowFlags WindowFlagsFor(unsigned style) {
    Qt::WindowFlags flags = (style & res::kAppWindow) != 0 ? Qt::Window : Qt::Dialog;
    flags |= Qt::CustomizeWindowHint;
    if ((style & res::kCaption) != 0) {
        flags |= Qt::WindowTitleHint;
    }
    if ((style & res::kSystemMenu) != 0) {
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    }
    return flags;
}

// "&&" stands for an ampersand; a single "&" marks the next letter as the
// mnemonic.
QString SpokenLabel(const QString& text) {
    QString spoken;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) {
            ++i;
        }
        spoken += text[i];
    }
    spoken = spoken.trimmed();
    if (spoken.endsWith(':')) {
        spoken.chop(1);
    }
    return spoken;
}

QString FromUtf8(const std::string& text) {
    return QString::fromStdString(text);
}

QLineEdit& EditField(const CDialog& dialog, int id) {
    auto* edit = qobject_cast<QLineEdit*>(dialog.GetDlgItem(id));
    if (edit == nullptr) {
        throw std::logic_error("control " + std::to_string(id) + " is no edit field");
    }
    return *edit;
}

QMessageBox::Icon BoxIcon(MessageKind kind) {
    switch (kind) {
        case MessageKind::Error:
            return QMessageBox::Critical;
        case MessageKind::Warning:
            return QMessageBox::Warning;
        case MessageKind::Note:
            return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

// Only files of this machine are offered to the dialog; an address of
// anything else turns the whole drag away.
std::optional<std::vector<std::filesystem::path>> LocalFiles(const QMimeData* data) {
    if (data == nullptr) {
        return std::nullopt;
    }
    std::vector<std::filesystem::path> files;
    for (const QUrl& url : data->urls()) {
        if (!url.isLocalFile()) {
            return std::nullopt;
        }
        files.emplace_back(url.toLocalFile().toStdU16String());
    }
    return files;
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

CMenu::CMenu(CDialog& dialog) : QMenu(&dialog), m_dialog(dialog) {}

void CMenu::AppendMenu(unsigned flags, int commandId, std::string_view text) {
    if ((flags & MF_SEPARATOR) != 0) {
        addSeparator();
        return;
    }
    QAction* action = addAction(ResourceText(text));
    connect(action, &QAction::triggered, &m_dialog,
            [this, commandId] { m_dialog.OnSysCommand(commandId); });
}

CDialog::CDialog(int templateId, CDialog* parent)
    : QDialog(parent), m_template(res::FindDialogTemplate(templateId)), m_systemMenu(*this) {
    setFont(DialogFont(m_template));
    ApplyWindowStyle();
    CreateControls();
    m_systemMenu.AppendMenu(MF_STRING, SC_CLOSE, "&Close");
}

void CDialog::ApplyWindowStyle() {
    setWindowTitle(ResourceText(m_template.caption));
    setWindowFlags(WindowFlagsFor(m_template.windowStyle));
    const QSize size =
        ToPixels(m_template.width, m_template.height, BaseUnitsOf(QFontMetrics(font())));
    if ((m_template.windowStyle & res::kModalFrame) != 0) {
        setFixedSize(size);
    } else {
        resize(size);
    }
}

// Template order is both the tab order and, as on the platform the templates
// come from, the stacking order with the first control on top.
void CDialog::CreateControls() {
    const DialogBaseUnits units = BaseUnitsOf(QFontMetrics(font()));
    for (const res::ControlTemplate& control : m_template.controls) {
        if ((control.style & res::kCommandOnly) != 0) {
            continue;
        }
        QWidget* widget = CreateControl(*this, control, units);
        m_controlsInOrder.push_back(widget);
        if (control.id != IDC_STATIC) {
            m_controlsById.emplace(control.id, widget);
            RouteButton(widget, control.id);
        }
    }
    for (auto it = m_controlsInOrder.rbegin(); it != m_controlsInOrder.rend(); ++it) {
        (*it)->raise();
    }
    for (std::size_t i = 1; i < m_controlsInOrder.size(); ++i) {
        setTabOrder(m_controlsInOrder[i - 1], m_controlsInOrder[i]);
    }
    LabelFields();
}

// A screen reader announces a field by the text beside it, without the colon
// and the mnemonic marker a sighted user reads past.
void CDialog::LabelFields() {
    for (const res::ControlTemplate& control : m_template.controls) {
        auto* label = findChild<QLabel*>(ResourceText(control.name));
        QWidget* field = GetDlgItem(control.buddyId);
        if (control.buddyId == 0 || label == nullptr || field == nullptr) {
            continue;
        }
        label->setBuddy(field);
        field->setAccessibleName(SpokenLabel(label->text()));
    }
}

void CDialog::RouteButton(QWidget* control, int id) {
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        connect(button, &QAbstractButton::clicked, this, [this, id] { OnCommand(id); });
    }
}

int CDialog::DoModal() {
    return exec();
}

QWidget* CDialog::GetDlgItem(int id) const {
    const auto found = m_controlsById.find(id);
    return found != m_controlsById.end() ? found->second : nullptr;
}

std::string CDialog::GetDlgItemText(int id) const {
    return EditField(*this, id).text().toStdString();
}

void CDialog::SetDlgItemText(int id, const std::string& text) {
    EditField(*this, id).setText(FromUtf8(text));
}

void CDialog::GotoDlgCtrl(int id) {
    QLineEdit& edit = EditField(*this, id);
    edit.setFocus(Qt::OtherFocusReason);
    edit.selectAll();
}

void CDialog::SetIcon(const CIcon& icon, bool) {
    if (icon.native() != nullptr) {
        setWindowIcon(icon.native()->icon);
    }
}

// The fields would take a dropped file's path as text; a file dropped anywhere
// on the window is offered to the dialog instead.
void CDialog::DragAcceptFiles() {
    setAcceptDrops(true);
    for (QLineEdit* field : findChildren<QLineEdit*>()) {
        field->setAcceptDrops(false);
    }
}

// Names come from the user's files and are shown as they are, never read as
// markup.
void CDialog::ShowMessage(MessageKind kind, const std::string& text) {
    QMessageBox box(BoxIcon(kind), windowTitle(), FromUtf8(text), QMessageBox::Ok, this);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool CDialog::AskYesNo(const std::string& text) {
    QMessageBox box(QMessageBox::Warning, windowTitle(), FromUtf8(text),
                    QMessageBox::Yes | QMessageBox::No, this);
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void CDialog::PostCall(std::function<void()> call) {
    QTimer::singleShot(0, this, std::move(call));
}

void CDialog::OnSysCommand(int commandId) {
    DefaultSysCommand(commandId);
}

void CDialog::DefaultSysCommand(int commandId) {
    if (commandId == SC_CLOSE) {
        close();
    }
}

void CDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (m_initialised) {
        return;
    }
    m_initialised = true;
    if (OnInitDialog()) {
        FocusFirstTabStop();
    }
}

void CDialog::FocusFirstTabStop() {
    for (QWidget* control : m_controlsInOrder) {
        if (control->focusPolicy() != Qt::NoFocus) {
            control->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void CDialog::contextMenuEvent(QContextMenuEvent* event) {
    m_systemMenu.exec(event->globalPos());
}

void CDialog::paintEvent(QPaintEvent* event) {
    m_paintEvent = event;
    OnPaint();
}

void CDialog::OnPaint() {
    QDialog::paintEvent(m_paintEvent);
}

void CDialog::PaintIconCentred(const CIcon& icon) {
    QPainter painter(this);
    painter.fillRect(rect(), palette().window());
    const int extent = style()->pixelMetric(QStyle::PM_LargeIconSize);
    const PixelPoint at = MinimisedIconPosition({width(), height()}, {extent, extent});
    if (icon.native() != nullptr) {
        painter.drawPixmap(at.x, at.y, icon.native()->icon.pixmap(extent, extent));
    }
}

bool CDialog::CanDropFiles(const std::vector<std::filesystem::path>&) const {
    return false;
}

void CDialog::dragEnterEvent(QDragEnterEvent* event) {
    AnswerDrag(*event);
}

void CDialog::dragMoveEvent(QDragMoveEvent* event) {
    AnswerDrag(*event);
}

void CDialog::AnswerDrag(QDropEvent& event) const {
    const std::optional<Qt::DropAction> action = ReadOnlyDropAction(event.possibleActions());
    const auto files = LocalFiles(event.mimeData());
    if (!action || !files || !CanDropFiles(*files)) {
        event.ignore();
        return;
    }
    event.setDropAction(*action);
    event.accept();
}

void CDialog::dropEvent(QDropEvent* event) {
    AnswerDrag(*event);
    if (event->isAccepted()) {
        OnDropFiles(*LocalFiles(event->mimeData()));
    }
}

}  // namespace morvane::ui
