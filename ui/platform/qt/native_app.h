#pragma once

#include <QApplication>
#include <filesystem>
#include <vector>

namespace morvane::ui {

// The toolkit removes the options that are its own (-style, -platform...)
// from argc and argv as it starts.
class CWinApp : public QApplication {
public:
    CWinApp(int& argc, char** argv);

    std::vector<std::filesystem::path> CommandLinePaths() const;

private:
    int& m_argc;
    char** m_argv;
};

}  // namespace morvane::ui
