// What a dialog does the same on every rendering: the data exchange, and the
// framework's defaults where the dialog built on it does not say otherwise.
#include "platform/data_exchange.h"
#include "platform/dialog.h"
#include "resources/resource.h"

namespace morvane::ui {

bool CDialog::UpdateData(bool saveAndValidate) {
    CDataExchange dx(*this, saveAndValidate);
    try {
        DoDataExchange(dx);
    } catch (const DataExchangeFailed&) {
        return false;
    }
    return true;
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

void CDialog::OnSysCommand(int commandId) {
    DefaultSysCommand(commandId);
}

bool CDialog::CanDropFiles(const std::vector<std::filesystem::path>&) const {
    return false;
}

void CDialog::OnDropFiles(const std::vector<std::filesystem::path>&) {}

}  // namespace morvane::ui
