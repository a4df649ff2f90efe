#pragma once

#include <QDialog>
#include <QIcon>
#include <QMenu>
#include <QString>
#include <QStringList>
#include <string>
#include <string_view>

#include "platform/dialog.h"
#include "platform/icons.h"

// What the Qt rendering's sources share. Its tests reach the widgets behind
// the framework's classes through it too; the window's logic never does.
namespace morvane::ui {

struct CIcon::Native {
    QIcon icon;
};

QIcon LoadQIcon(int id);

// The resources keep their texts as UTF-8 views; widgets take QStrings.
inline QString ResourceText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The dialog's window; its control with the given id, or null; and the menu
// a right click on it opens.
QDialog& NativeWidget(const CDialog& dialog);
QWidget* NativeControl(const CDialog& dialog, int id);
QMenu& NativeSystemMenu(const CDialog& dialog);

// Makes the windows speak the first of the wanted languages ("de-DE"...)
// that there is a translation for, Qt's own texts included, or English;
// returns the one taken ("de", "en"...). Windows made afterwards speak it.
std::string UseLanguage(const QStringList& wanted);
// The languages the user's locale asks for.
std::string UseUsersLanguage();

}  // namespace morvane::ui
