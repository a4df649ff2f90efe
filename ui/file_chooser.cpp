#include "file_chooser.h"

#include "model/files/path_text.h"
#include "platform/system_file_chooser.h"
#include "platform/translation.h"

namespace morvane::ui {

std::string DisplayText(const std::filesystem::path& path) {
    return TextOf(std::filesystem::path(path).make_preferred());
}

std::string ModelFilesFilter() {
    return Tr("FileChooser", "ZRM Files (*.zrm)");
}

}  // namespace morvane::ui
