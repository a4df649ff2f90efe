#include <algorithm>

#include "model/files/path_text.h"
#include "native_app.h"
#include "native_icon.h"
#include "resources/resource.h"

namespace morvane::ui {

CWinApp::CWinApp(int& argc, char** argv) : QApplication(argc, argv), m_argc(argc), m_argv(argv) {
    setApplicationName("morvane");
    setApplicationVersion(QStringLiteral(MORVANE_VERSION));
    setWindowIcon(LoadQIcon(IDR_MAINFRAME));
}

// Paths are read as the command-line tool reads them: on Linux byte for byte,
// so that a name in any encoding still names its file.
std::vector<std::filesystem::path> CWinApp::CommandLinePaths() const {
    std::vector<std::filesystem::path> paths;
    std::transform(m_argv + std::min(m_argc, 1), m_argv + m_argc, std::back_inserter(paths),
                   [](const char* argument) { return PathFromText(argument); });
    return paths;
}

}  // namespace morvane::ui
