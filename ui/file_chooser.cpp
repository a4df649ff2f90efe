#include "file_chooser.h"

#include <system_error>

#include "model/files/path_text.h"
#include "platform/system_file_chooser.h"
#include "platform/translation.h"

namespace morvane::ui {

std::string DisplayText(const std::filesystem::path& path) {
    return TextOf(std::filesystem::path(path).make_preferred());
}

std::filesystem::path AbsolutePath(const std::filesystem::path& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    if (error) {
        return path;
    }
    std::filesystem::path steps;
    for (const std::filesystem::path& step : absolute) {
        if (step != "." && !step.empty()) {
            steps /= step;
        }
    }
    return steps;
}

std::string ModelFilesFilter() {
    return Tr("FileChooser", "ZRM Files (*.zrm)");
}

}  // namespace morvane::ui
