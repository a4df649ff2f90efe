#pragma once

#include <string>

namespace morvane::ui {

class CDialog;
class CEdit;

// One run of a dialog's data exchange: from the controls into the members
// (saveAndValidate) or from the members into the controls.
class CDataExchange {
public:
    CDataExchange(CDialog& dialog, bool saveAndValidate)
        : m_dialog(dialog), m_saveAndValidate(saveAndValidate) {}

    CDialog& Dialog() const { return m_dialog; }
    bool SaveAndValidate() const { return m_saveAndValidate; }

    // The field a failure sends the user back to.
    void PrepareEditCtrl(int id) { m_lastEditId = id; }

    // Tells the user what is wrong, puts the focus back into the last field
    // exchanged with its text selected, and abandons the exchange.
    [[noreturn]] void Fail(const std::string& message);

private:
    CDialog& m_dialog;
    bool m_saveAndValidate;
    int m_lastEditId = 0;
};

// Thrown by CDataExchange::Fail; UpdateData turns it into a false result.
struct DataExchangeFailed {};

void DDX_Control(CDataExchange& dx, int id, CEdit& control);
void DDX_Text(CDataExchange& dx, int id, int& value);
void DDV_MinMaxInt(CDataExchange& dx, int value, int minimum, int maximum);

}  // namespace morvane::ui
