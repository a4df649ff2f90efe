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

std::vector<std::filesystem::path> ModelsNamedBy(const std::filesystem::path& argument, bool) {
    return {argument};
}

std::filesystem::path PathOfFound(const std::filesystem::path& folder,
                                  const std::filesystem::path& name) {
    return folder / name;
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

std::filesystem::path NamesAsRead(const std::filesystem::path& path) {
    return path;
}

std::string Quoted(const std::filesystem::path& path) {
    return QuotedText(path.native());
}

}  // namespace morvane
