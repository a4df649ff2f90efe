#include "platform/data_exchange.h"

#include <optional>

#include "model/volume_count.h"
#include "platform/dialog.h"
#include "platform/edit_control.h"
#include "platform/translation.h"

namespace morvane::ui {

void CDataExchange::Fail(const std::string& message) {
    m_dialog.ShowMessage(MessageKind::Warning, message);
    if (m_lastEditId != 0) {
        m_dialog.GotoDlgCtrl(m_lastEditId);
    }
    throw DataExchangeFailed{};
}

void DDX_Control(CDataExchange& dx, int id, CEdit& control) {
    if (!control.IsAttached()) {
        control.Attach(dx.Dialog(), id);
    }
}

void DDX_Text(CDataExchange& dx, int id, int& value) {
    dx.PrepareEditCtrl(id);
    if (!dx.SaveAndValidate()) {
        dx.Dialog().SetDlgItemText(id, std::to_string(value));
        return;
    }
    const std::optional<int> parsed = ParseWholeNumber(dx.Dialog().GetDlgItemText(id));
    if (!parsed) {
        dx.Fail(Tr("MainWindow", "Please enter a whole number."));
    }
    value = *parsed;
}

void DDV_MinMaxInt(CDataExchange& dx, int value, int minimum, int maximum) {
    if (dx.SaveAndValidate() && (value < minimum || value > maximum)) {
        dx.Fail(Substitute(Tr("MainWindow", "Please enter a whole number from %1 to %2."),
                           {std::to_string(minimum), std::to_string(maximum)}));
    }
}

}  // namespace morvane::ui
