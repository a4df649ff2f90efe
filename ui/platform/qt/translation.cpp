#include "platform/translation.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "widgets.h"

namespace morvane::ui {
namespace {

// Built into the program by the build, one file per language.
const QString kTranslationsFolder = QStringLiteral(":/translations");
const QString kOwnPrefix = QStringLiteral("morvane_");

std::vector<std::string> BuiltInTranslations() {
    std::vector<std::string> languages;
    const QStringList files = QDir(kTranslationsFolder).entryList({kOwnPrefix + "*.qm"});
    for (const QString& file : files) {
        languages.push_back(file.mid(kOwnPrefix.size()).chopped(3).toStdString());
    }
    return languages;
}

std::vector<std::string> ToStrings(const QStringList& list) {
    std::vector<std::string> strings;
    for (const QString& text : list) {
        strings.push_back(text.toStdString());
    }
    return strings;
}

// The window's own texts, and Qt's: the buttons of its boxes and choosers;
// and the language they speak.
struct Translators {
    QTranslator own;
    QTranslator qt;
    std::string language = "en";
};

Translators& InstalledTranslators() {
    static Translators translators;
    return translators;
}

}  // namespace

std::string Tr(std::string_view context, std::string_view english) {
    return QCoreApplication::translate(std::string(context).c_str(), std::string(english).c_str())
        .toStdString();
}

std::string UseLanguage(const QStringList& wanted) {
    Translators& translators = InstalledTranslators();
    QCoreApplication::removeTranslator(&translators.own);
    QCoreApplication::removeTranslator(&translators.qt);
    const std::optional<std::string> language =
        ChooseLanguage(ToStrings(wanted), BuiltInTranslations());
    translators.language = language.value_or("en");
    if (!language) {
        return translators.language;
    }
    const QString code = QString::fromStdString(*language);
    if (translators.own.load(kOwnPrefix + code, kTranslationsFolder)) {
        QCoreApplication::installTranslator(&translators.own);
    }
    if (translators.qt.load("qtbase_" + code, QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(&translators.qt);
    }
    return *language;
}

std::string WindowLanguage() {
    return InstalledTranslators().language;
}

std::string UseUsersLanguage() {
    return UseLanguage(QLocale::system().uiLanguages());
}

}  // namespace morvane::ui
