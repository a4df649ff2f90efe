#include "windows_api.h"
//
#include <algorithm>

#include "platform/translation.h"
#include "resources/translation_table.h"

namespace morvane::ui {
namespace {

// The language the user reads Windows in, as a tag such as "de-DE".
std::string UsersDisplayLanguage() {
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    const LCID locale = MAKELCID(::GetUserDefaultUILanguage(), SORT_DEFAULT);
    if (::LCIDToLocaleName(locale, name, LOCALE_NAME_MAX_LENGTH, 0) == 0) {
        return {};
    }
    return Narrow(name);
}

const res::Translation* FindTranslation(std::string_view language) {
    const auto translations = res::Translations();
    const auto found =
        std::find_if(translations.begin(), translations.end(),
                     [language](const res::Translation& t) { return t.language == language; });
    return found != translations.end() ? &*found : nullptr;
}

// Chosen once: the windows keep the language they started in.
const res::Translation* WindowTranslation() {
    static const res::Translation* const chosen = [] {
        std::vector<std::string> languages;
        for (const res::Translation& translation : res::Translations()) {
            languages.emplace_back(translation.language);
        }
        const std::optional<std::string> language =
            ChooseLanguage({UsersDisplayLanguage()}, languages);
        return language ? FindTranslation(*language) : nullptr;
    }();
    return chosen;
}

}  // namespace

std::string Tr(std::string_view context, std::string_view english) {
    if (const res::Translation* translation = WindowTranslation()) {
        for (const res::TranslatedText& text : translation->texts) {
            if (text.context == context && text.english == english) {
                return std::string(text.text);
            }
        }
    }
    return std::string(english);
}

std::string WindowLanguage() {
    const res::Translation* translation = WindowTranslation();
    return translation != nullptr ? std::string(translation->language) : "en";
}

}  // namespace morvane::ui
