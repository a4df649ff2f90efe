#pragma once

#include <filesystem>
#include <vector>

namespace morvane::ui {

// The command line is read as the system keeps it, in UTF-16, so that a model
// named in any script is found; argc and argv are not used.
class CWinApp {
public:
    CWinApp(int& argc, char** argv);

    std::vector<std::filesystem::path> CommandLinePaths() const;
};

}  // namespace morvane::ui
