#include "platform/translation.h"

#include <algorithm>
#include <cctype>
#include <utility>

namespace morvane::ui {
namespace {

// A language as the user's settings and the translations name it: "de_DE",
// "de-DE.UTF-8", "zh-Hans-CN"... The script of Chinese follows from the
// region where it is not named.
struct LanguageTag {
    std::string language;
    std::string script;
    std::string region;
};

std::vector<std::string> TagParts(std::string_view tag) {
    tag = tag.substr(0, tag.find_first_of(".@"));
    std::vector<std::string> parts;
    std::string part;
    for (const char letter : tag) {
        if (letter == '-' || letter == '_') {
            parts.push_back(std::exchange(part, {}));
        } else {
            part += static_cast<char>(std::tolower(static_cast<unsigned char>(letter)));
        }
    }
    parts.push_back(part);
    return parts;
}

std::string ChineseScriptFor(const std::string& region) {
    return region == "tw" || region == "hk" || region == "mo" ? "hant" : "hans";
}

LanguageTag ReadTag(std::string_view text) {
    const std::vector<std::string> parts = TagParts(text);
    LanguageTag tag{parts.front(), {}, {}};
    for (std::size_t i = 1; i < parts.size(); ++i) {
        if (parts[i].size() == 4) {
            tag.script = parts[i];
        } else if (parts[i].size() == 2 || parts[i].size() == 3) {
            tag.region = parts[i];
        }
    }
    if (tag.language == "zh" && tag.script.empty()) {
        tag.script = ChineseScriptFor(tag.region);
    }
    return tag;
}

bool SameLanguage(const LanguageTag& a, const LanguageTag& b) {
    return a.language == b.language && a.script == b.script;
}

}  // namespace

std::string Substitute(std::string_view text, std::initializer_list<std::string_view> values) {
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t index =
            i + 1 < text.size() ? static_cast<std::size_t>(text[i + 1] - '1') : values.size();
        if (text[i] == '%' && index < values.size()) {
            result += values.begin()[index];
            ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

std::optional<std::string> ChooseLanguage(const std::vector<std::string>& wanted,
                                          const std::vector<std::string>& translations) {
    for (const std::string& wish : wanted) {
        const LanguageTag tag = ReadTag(wish);
        if (tag.language == "en" || tag.language == "c" || tag.language == "posix") {
            return std::nullopt;
        }
        std::optional<std::string> sameLanguage;
        for (const std::string& translation : translations) {
            const LanguageTag offered = ReadTag(translation);
            if (SameLanguage(tag, offered) && tag.region == offered.region) {
                return translation;
            }
            if (SameLanguage(tag, offered) && !sameLanguage) {
                sameLanguage = translation;
            }
        }
        if (sameLanguage) {
            return sameLanguage;
        }
    }
    return std::nullopt;
}

}  // namespace morvane::ui
