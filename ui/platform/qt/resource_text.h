#pragma once

#include <QString>
#include <string_view>

namespace morvane::ui {

// The resources keep their texts as UTF-8 views; widgets take QStrings.
inline QString ResourceText(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

}  // namespace morvane::ui
