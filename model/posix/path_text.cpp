#include "model/path_text.h"

namespace morvane {

std::filesystem::path PathFromText(const std::string& text) {
    return std::filesystem::path(text);
}

std::string TextOf(const std::filesystem::path& path) {
    return path.native();
}

}  // namespace morvane
