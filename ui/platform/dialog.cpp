#include "dialog.h"

#include <QAbstractButton>
#include <QContextMenuEvent>
#include <QLabel>

#include "control_factory.h"
#include "data_exchange.h"
#include "dialog_units.h"
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

}  // namespace

CDialog::CDialog(int templateId, QWidget* parent)
    : QDialog(parent), m_template(res::FindDialogTemplate(templateId)), m_systemMenu(this) {
    setFont(DialogFont(m_template));
    ApplyWindowStyle();
    CreateControls();
    AppendMenu(m_systemMenu, SC_CLOSE, QStringLiteral("&Close"));
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
    for (std::size_t i = 0; i < m_template.controls.size(); ++i) {
        const int buddyId = m_template.controls[i].buddyId;
        auto* label = qobject_cast<QLabel*>(m_controlsInOrder[i]);
        QWidget* field = GetDlgItem(buddyId);
        if (buddyId == 0 || label == nullptr || field == nullptr) {
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

bool CDialog::UpdateData(bool saveAndValidate) {
    CDataExchange dx(*this, saveAndValidate);
    try {
        DoDataExchange(dx);
    } catch (const DataExchangeFailed&) {
        return false;
    }
    return true;
}

QWidget* CDialog::GetDlgItem(int id) const {
    const auto found = m_controlsById.find(id);
    return found != m_controlsById.end() ? found->second : nullptr;
}

void CDialog::AppendMenu(QMenu& menu, int commandId, const QString& text) {
    QAction* action = menu.addAction(text);
    connect(action, &QAction::triggered, this, [this, commandId] { OnSysCommand(commandId); });
}

void CDialog::OnSysCommand(int commandId) {
    DefaultSysCommand(commandId);
}

void CDialog::DefaultSysCommand(int commandId) {
    if (commandId == SC_CLOSE) {
        close();
    }
}

bool CDialog::OnInitDialog() {
    UpdateData(false);
    return true;
}

void CDialog::DoDataExchange(CDataExchange&) {}

void CDialog::OnCommand(int id) {
    if (id == IDOK) {
        OnOK();
    } else if (id == IDCANCEL) {
        OnCancel();
    }
}

void CDialog::OnOK() {
    if (UpdateData(true)) {
        EndDialog(IDOK);
    }
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
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

}  // namespace morvane::ui
