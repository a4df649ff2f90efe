#include "file_chooser.h"

#include "model/files/path_text.h"

namespace morvane::ui {

std::string DisplayText(const std::filesystem::path& path) {
    return TextOf(std::filesystem::path(path).make_preferred());
}

}  // namespace morvane::ui
