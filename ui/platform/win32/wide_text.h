#pragma once

#include <string>
#include <string_view>

namespace morvane::ui {

// The window keeps its texts in UTF-8; the system's calls take UTF-16.
std::wstring Widen(std::string_view text);
std::string Narrow(std::wstring_view text);

}  // namespace morvane::ui
