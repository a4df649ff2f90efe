#pragma once

#include <span>
#include <string_view>

// The translations as data, for the Windows rendering, which has no
// translation system of its own to read them; made by the build from the
// same sources as Linux's.
namespace morvane::res {

struct TranslatedText {
    std::string_view context;
    std::string_view english;
    std::string_view text;
};

struct Translation {
    std::string_view language;  // "de", "pt_BR"...
    std::span<const TranslatedText> texts;
};

std::span<const Translation> Translations();

}  // namespace morvane::res
