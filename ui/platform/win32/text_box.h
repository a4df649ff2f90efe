#pragma once

#include "windows_api.h"

#include <string>
#include <string_view>

namespace morvane::ui {

// A plain text, such as the usage, in a box of its own: a read-only field in
// a font whose letters are all as wide, so that the text's columns line up,
// as large as the text, with an OK button. The text can be selected and
// copied. Returns once the box is closed.
void ShowTextInColumns(std::wstring_view caption, std::string_view text);

}  // namespace morvane::ui
