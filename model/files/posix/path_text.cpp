#include "model/files/path_text.h"

namespace morvane {

std::filesystem::path PathFromText(const std::string& text) {
    return std::filesystem::path(text);
}

std::string TextOf(const std::filesystem::path& path) {
    return path.native();
}

std::filesystem::path SystemPath(const std::filesystem::path& path) {
    return path;
}

std::vector<std::filesystem::path> ModelsNamedBy(const std::filesystem::path& argument) {
    return {argument};
}

bool HoldsWildcard(const std::filesystem::path&) {
    return false;
}

bool IsReservedDeviceName(const std::filesystem::path&) {
    return false;
}

std::filesystem::path NameKey(const std::filesystem::path& name) {
    return name;
}

std::string Quoted(const std::filesystem::path& path) {
    return QuotedText(path.native());
}

}  // namespace morvane
