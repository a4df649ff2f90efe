#pragma once

#include <filesystem>
#include <vector>

#include "platform/app.h"

namespace morvane::ui {

// The program around its one window.
class CCollisionApp : public CWinApp {
public:
    // Takes the whole command line, and the models the window starts with.
    CCollisionApp(int& argc, char** argv, std::vector<std::filesystem::path> models);

    // Runs the window modally; false means the program ends when it closes,
    // without an event loop of its own.
    bool InitInstance();

private:
    std::vector<std::filesystem::path> m_modelArguments;
};

}  // namespace morvane::ui
