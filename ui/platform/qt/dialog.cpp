#include <QAbstractButton>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QMimeData>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QTextDocument>
#include <QTimer>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>

#include "control_factory.h"
#include "dialog_units.h"
#include "open_windows.h"
#include "platform/data_exchange.h"
#include "platform/text_fit.h"
#include "platform/translation.h"
#include "platform/window_placement.h"
#include "resources/dialog_templates.h"
#include "resources/resource.h"
#include "widgets.h"

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
    if ((style & res::kMinimizeBox) != 0) {
        flags |= Qt::WindowMinimizeButtonHint;
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
    auto* edit = qobject_cast<QLineEdit*>(NativeControl(dialog, id));
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

// Qt shows a tooltip that looks like markup as markup; a file's name is
// shown as it is, spaces and all.
QString PlainToolTip(const QString& text) {
    if (!Qt::mightBeRichText(text)) {
        return text;
    }
    return "<p style=\"white-space:pre-wrap\">" + text.toHtmlEscaped() + "</p>";
}

PixelRect PixelRectOf(const QRect& rect) {
    return {rect.x(), rect.y(), rect.width(), rect.height()};
}

// The caption's height is the window manager's; where the window that
// cascades knows none, the style's own serves.
int CascadeStep(const OpenWindow& before, const QWidget& window) {
    return before.caption > 0
               ? before.caption
               : window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window);
}

OpenWindow PlaceOf(const QWidget& window) {
    return {window.frameGeometry().topLeft(),
            window.geometry().top() - window.frameGeometry().top()};
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

// The room a control's text takes; a button's needs a margin on each side.
int TextWidth(const QWidget& control, int buttonMargins) {
    if (const auto* label = qobject_cast<const QLabel*>(&control)) {
        return label->text().isEmpty() ? 0 : label->fontMetrics().horizontalAdvance(label->text());
    }
    if (const auto* button = qobject_cast<const QAbstractButton*>(&control)) {
        return button->fontMetrics().horizontalAdvance(button->text()) + buttonMargins;
    }
    return 0;
}

}  // namespace

// The template's window as Qt widgets. Its push buttons, its menu and the
// events Qt delivers to it go to the dialog's virtual handlers.
struct CDialog::Native : public QDialog {
    Native(CDialog& owner, const res::DialogTemplate& shape, QWidget* parentWindow);

    void ApplyWindowStyle();
    void CreateControls();
    void FitToTexts();
    void SetSize(QSize size);
    void LabelFields();
    void RouteButton(QWidget* control, int id);
    void FocusFirstTabStop();
    void CascadeFromTheLastWindow();
    void AnswerDrag(QDropEvent& event) const;
    QWidget* Control(int id) const;
    // What Qt paints where the dialog paints nothing of its own.
    void PaintAsQtDoes() { QDialog::paintEvent(currentPaint); }

    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void reject() override { dialog.OnCancel(); }
    void accept() override { dialog.OnOK(); }

    CDialog& dialog;
    const res::DialogTemplate& dialogTemplate;
    QMenu systemMenu;
    std::vector<QWidget*> controlsInOrder;
    std::map<int, QWidget*> controlsById;
    QPaintEvent* currentPaint = nullptr;
    bool initialised = false;
    // A main window's entry among the open windows, while it shows.
    std::unique_ptr<OpenWindowRecord> openWindow;
};

CDialog::Native::Native(CDialog& owner, const res::DialogTemplate& shape, QWidget* parentWindow)
    : QDialog(parentWindow), dialog(owner), dialogTemplate(shape), systemMenu(this) {
    setFont(DialogFont(dialogTemplate));
    ApplyWindowStyle();
    CreateControls();
}

void CDialog::Native::ApplyWindowStyle() {
    setWindowTitle(QString::fromStdString(Tr(dialogTemplate.context, dialogTemplate.caption)));
    setWindowFlags(WindowFlagsFor(dialogTemplate.windowStyle));
    SetSize(
        ToPixels(dialogTemplate.width, dialogTemplate.height, BaseUnitsOf(QFontMetrics(font()))));
}

void CDialog::Native::SetSize(QSize size) {
    if ((dialogTemplate.windowStyle & res::kModalFrame) != 0) {
        setFixedSize(size);
    } else {
        resize(size);
    }
}

// Template order is both the tab order and, as on the platform the templates
// come from, the stacking order with the first control on top.
void CDialog::Native::CreateControls() {
    const DialogBaseUnits units = BaseUnitsOf(QFontMetrics(font()));
    for (const res::ControlTemplate& control : dialogTemplate.controls) {
        if ((control.style & res::kCommandOnly) != 0) {
            continue;
        }
        QWidget* widget = CreateControl(*this, control, dialogTemplate.context, units);
        controlsInOrder.push_back(widget);
        if (control.id != IDC_STATIC) {
            controlsById.emplace(control.id, widget);
            RouteButton(widget, control.id);
        }
    }
    for (auto it = controlsInOrder.rbegin(); it != controlsInOrder.rend(); ++it) {
        (*it)->raise();
    }
    for (std::size_t i = 1; i < controlsInOrder.size(); ++i) {
        setTabOrder(controlsInOrder[i - 1], controlsInOrder[i]);
    }
    LabelFields();
    FitToTexts();
}

void CDialog::Native::FitToTexts() {
    const DialogBaseUnits units = BaseUnitsOf(fontMetrics());
    const int buttonMargins = ToPixels(2 * kButtonTextMargin, 0, units).width();
    std::vector<PlacedControl> placed;
    for (const QWidget* control : controlsInOrder) {
        const QRect at = control->geometry();
        placed.push_back({at.x(), at.y(), at.width(), at.height(),
                          TextWidth(*control, buttonMargins),
                          qobject_cast<const QLineEdit*>(control) != nullptr});
    }
    const int width =
        ui::FitToTexts(placed, this->width(), ToPixels(kWidenedTextGap, 0, units).width());
    for (std::size_t i = 0; i < placed.size(); ++i) {
        const PlacedControl& control = placed[i];
        controlsInOrder[i]->setGeometry(control.left, control.top, control.width, control.height);
    }
    SetSize({width, height()});
}

// A screen reader announces a field by the text beside it, without the colon
// and the mnemonic marker a sighted user reads past.
void CDialog::Native::LabelFields() {
    for (const res::ControlTemplate& control : dialogTemplate.controls) {
        auto* label = findChild<QLabel*>(ResourceText(control.name));
        QWidget* field = Control(control.buddyId);
        if (control.buddyId == 0 || label == nullptr || field == nullptr) {
            continue;
        }
        label->setBuddy(field);
        field->setAccessibleName(SpokenLabel(label->text()));
    }
}

void CDialog::Native::RouteButton(QWidget* control, int id) {
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        connect(button, &QAbstractButton::clicked, this, [this, id] { dialog.OnCommand(id); });
    }
}

QWidget* CDialog::Native::Control(int id) const {
    const auto found = controlsById.find(id);
    return found != controlsById.end() ? found->second : nullptr;
}

// Shown by the program, not given back by the window manager: a main window
// takes its place among the open ones, the first time in the cascade.
void CDialog::Native::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    const bool mainWindow = (dialogTemplate.windowStyle & res::kAppWindow) != 0;
    if (mainWindow && !event->spontaneous() && openWindow == nullptr) {
        openWindow = std::make_unique<OpenWindowRecord>();
        if (!initialised) {
            CascadeFromTheLastWindow();
        }
        openWindow->Keep(PlaceOf(*this));
    }
    if (initialised) {
        return;
    }
    initialised = true;
    if (dialog.OnInitDialog()) {
        FocusFirstTabStop();
    }
}

// Qt has placed the window, in the middle of the screen, before it shows; a
// window of another morvane there already would be covered by it.
void CDialog::Native::CascadeFromTheLastWindow() {
    const std::optional<OpenWindow> before = openWindow->LastOtherOpened();
    if (!before) {
        return;
    }
    const QScreen* screen = QGuiApplication::screenAt(before->position);
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    const PixelPoint at =
        CascadedFrom({before->position.x(), before->position.y()}, {width(), height()},
                     CascadeStep(*before, *this), PixelRectOf(screen->availableGeometry()));
    move(at.x, at.y);
}

void CDialog::Native::hideEvent(QHideEvent* event) {
    QDialog::hideEvent(event);
    if (!event->spontaneous()) {
        openWindow.reset();
    }
}

void CDialog::Native::moveEvent(QMoveEvent* event) {
    QDialog::moveEvent(event);
    if (openWindow != nullptr && isVisible()) {
        openWindow->Keep(PlaceOf(*this));
    }
}

// F1 is the application's help, wherever the focus is in the window.
void CDialog::Native::keyPressEvent(QKeyEvent* event) {
    if (event->matches(QKeySequence::HelpContents)) {
        dialog.OnCommand(ID_HELP);
        return;
    }
    QDialog::keyPressEvent(event);
}

void CDialog::Native::FocusFirstTabStop() {
    for (QWidget* control : controlsInOrder) {
        if (control->focusPolicy() != Qt::NoFocus) {
            control->setFocus(Qt::TabFocusReason);
            return;
        }
    }
}

void CDialog::Native::contextMenuEvent(QContextMenuEvent* event) {
    systemMenu.exec(event->globalPos());
}

void CDialog::Native::paintEvent(QPaintEvent* event) {
    currentPaint = event;
    dialog.OnPaint();
}

void CDialog::Native::dragEnterEvent(QDragEnterEvent* event) {
    AnswerDrag(*event);
}

void CDialog::Native::dragMoveEvent(QDragMoveEvent* event) {
    AnswerDrag(*event);
}

void CDialog::Native::AnswerDrag(QDropEvent& event) const {
    const std::optional<Qt::DropAction> action = ReadOnlyDropAction(event.possibleActions());
    const auto files = LocalFiles(event.mimeData());
    if (!action || !files || !dialog.CanDropFiles(*files)) {
        event.ignore();
        return;
    }
    event.setDropAction(*action);
    event.accept();
}

void CDialog::Native::dropEvent(QDropEvent* event) {
    AnswerDrag(*event);
    if (event->isAccepted()) {
        dialog.OnDropFiles(*LocalFiles(event->mimeData()));
    }
}

QDialog& NativeWidget(const CDialog& dialog) {
    return dialog.native();
}

QWidget* NativeControl(const CDialog& dialog, int id) {
    return dialog.native().Control(id);
}

QMenu& NativeSystemMenu(const CDialog& dialog) {
    return dialog.native().systemMenu;
}

void CMenu::AppendMenu(unsigned flags, int commandId, std::string_view text) {
    QMenu& menu = NativeSystemMenu(m_dialog);
    if ((flags & MF_SEPARATOR) != 0) {
        menu.addSeparator();
        return;
    }
    QAction* action = menu.addAction(ResourceText(text));
    CDialog& dialog = m_dialog;
    QObject::connect(action, &QAction::triggered, &NativeWidget(dialog),
                     [&dialog, commandId] { dialog.OnSysCommand(commandId); });
}

CDialog::CDialog(int templateId, CDialog* parent)
    : m_native(std::make_unique<Native>(*this, res::FindDialogTemplate(templateId),
                                        parent != nullptr ? &parent->native() : nullptr)) {
    m_systemMenu.AppendMenu(MF_STRING, SC_CLOSE, Tr("WindowMenu", "&Close"));
}

CDialog::~CDialog() = default;

int CDialog::DoModal() {
    return m_native->exec();
}

std::string CDialog::GetDlgItemText(int id) const {
    return EditField(*this, id).text().toStdString();
}

void CDialog::SetDlgItemText(int id, const std::string& text) {
    EditField(*this, id).setText(FromUtf8(text));
}

void CDialog::ShowEndOfDlgItem(int id) {
    QLineEdit& edit = EditField(*this, id);
    edit.setCursorPosition(static_cast<int>(edit.text().size()));
}

void CDialog::SetDlgItemToolTip(int id, const std::string& text) {
    if (QWidget* control = NativeControl(*this, id)) {
        control->setToolTip(PlainToolTip(FromUtf8(text)));
    }
}

void CDialog::GotoDlgCtrl(int id) {
    QLineEdit& edit = EditField(*this, id);
    edit.setFocus(Qt::OtherFocusReason);
    edit.selectAll();
}

CMenu* CDialog::GetSystemMenu() {
    return &m_systemMenu;
}

void CDialog::SetIcon(const CIcon& icon, bool) {
    if (icon.native() != nullptr) {
        m_native->setWindowIcon(icon.native()->icon);
    }
}

// The fields would take a dropped file's path as text; a file dropped anywhere
// on the window is offered to the dialog instead.
void CDialog::DragAcceptFiles() {
    m_native->setAcceptDrops(true);
    for (QLineEdit* field : m_native->findChildren<QLineEdit*>()) {
        field->setAcceptDrops(false);
    }
}

// Names come from the user's files and are shown as they are, never read as
// markup.
void CDialog::ShowMessage(MessageKind kind, const std::string& text, const std::string& details) {
    QMessageBox box(BoxIcon(kind), m_native->windowTitle(), FromUtf8(text), QMessageBox::Ok,
                    m_native.get());
    box.setTextFormat(Qt::PlainText);
    if (!details.empty()) {
        box.setDetailedText(FromUtf8(details));
    }
    box.exec();
}

bool CDialog::AskYesNo(const std::string& text) {
    QMessageBox box(QMessageBox::Warning, m_native->windowTitle(), FromUtf8(text),
                    QMessageBox::Yes | QMessageBox::No, m_native.get());
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void CDialog::PostCall(std::function<void()> call) {
    QTimer::singleShot(0, m_native.get(), std::move(call));
}

void CDialog::DefaultSysCommand(int commandId) {
    if (commandId == SC_CLOSE) {
        m_native->close();
    }
}

void CDialog::EndDialog(int result) {
    m_native->done(result);
}

bool CDialog::IsIconic() const {
    return m_native->isMinimized();
}

void CDialog::OnPaint() {
    m_native->PaintAsQtDoes();
}

void CDialog::PaintIconCentred(const CIcon& icon) {
    QWidget& window = *m_native;
    QPainter painter(&window);
    painter.fillRect(window.rect(), window.palette().window());
    const int extent = window.style()->pixelMetric(QStyle::PM_LargeIconSize);
    const PixelPoint at =
        MinimisedIconPosition({window.width(), window.height()}, {extent, extent});
    if (icon.native() != nullptr) {
        painter.drawPixmap(at.x, at.y, icon.native()->icon.pixmap(extent, extent));
    }
}

}  // namespace morvane::ui
