#pragma once

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The window speaks the user's language where it has a translation, and
// English, as its texts are written, otherwise. Texts are found by their
// context and their English; the translators see the same pairs.
namespace morvane::ui {

// The text in the window's language, as UTF-8.
std::string Tr(std::string_view context, std::string_view english);

// The window's language as the translations name it ("de", "pt_BR"...), or
// "en" while it speaks English.
std::string WindowLanguage();

// %1, %2... in the text replaced by the values, so that each language puts
// them where its sentences need them.
std::string Substitute(std::string_view text, std::initializer_list<std::string_view> values);

// The first of the user's languages, most wanted first ("de-DE", "pt_BR",
// "zh-Hans-CN"...), that one of the translations speaks, or none. A
// translation for the language's own region is taken before one for another
// region; Chinese in the traditional script is not taken for the simplified.
std::optional<std::string> ChooseLanguage(const std::vector<std::string>& wanted,
                                          const std::vector<std::string>& translations);

}  // namespace morvane::ui
