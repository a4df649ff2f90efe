#include "data_exchange.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <charconv>
#include <stdexcept>

#include "dialog.h"
#include "edit_control.h"

namespace morvane::ui {
namespace {

QLineEdit& EditField(CDataExchange& dx, int id) {
    auto* edit = qobject_cast<QLineEdit*>(dx.Dialog().GetDlgItem(id));
    if (edit == nullptr) {
        throw std::logic_error("control " + std::to_string(id) + " is no edit field");
    }
    return *edit;
}

}  // namespace

void CDataExchange::Fail(const QString& message) {
    QMessageBox::warning(&m_dialog, QApplication::applicationName(), message);
    if (m_lastEditId != 0) {
        QLineEdit& edit = EditField(*this, m_lastEditId);
        edit.setFocus(Qt::OtherFocusReason);
        edit.selectAll();
    }
    throw DataExchangeFailed{};
}

void DDX_Control(CDataExchange& dx, int id, CEdit& control) {
    if (!control.IsAttached()) {
        control.Attach(&EditField(dx, id));
    }
}

void DDX_Text(CDataExchange& dx, int id, int& value) {
    QLineEdit& edit = EditField(dx, id);
    dx.PrepareEditCtrl(id);
    if (!dx.SaveAndValidate()) {
        edit.setText(QString::number(value));
        return;
    }
    const std::optional<int> parsed = ParseWholeNumber(edit.text());
    if (!parsed) {
        dx.Fail(QStringLiteral("Please enter a whole number."));
    }
    value = *parsed;
}

void DDV_MinMaxInt(CDataExchange& dx, int value, int minimum, int maximum) {
    if (dx.SaveAndValidate() && (value < minimum || value > maximum)) {
        dx.Fail(
            QStringLiteral("Please enter a whole number from %1 to %2.").arg(minimum).arg(maximum));
    }
}

std::optional<int> ParseWholeNumber(const QString& text) {
    QByteArray digits = text.trimmed().toLatin1();
    if (digits.startsWith('+') && !digits.startsWith("+-")) {
        digits.remove(0, 1);
    }
    const char* const end = digits.constData() + digits.size();
    int value = 0;
    const auto [stop, error] = std::from_chars(digits.constData(), end, value);
    if (digits.isEmpty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

}  // namespace morvane::ui
