#pragma once

#include <QApplication>
#include <filesystem>
#include <vector>

namespace morvane::ui {

// The program around its one window.
class CCollisionApp : public QApplication {
public:
    // Takes the whole command line: the toolkit removes the options that are
    // its own, and the arguments left are the models the window starts with.
    CCollisionApp(int& argc, char** argv);

    const std::vector<std::filesystem::path>& ModelArguments() const { return m_modelArguments; }

    // Runs the window modally; false means the program ends when it closes,
    // without an event loop of its own.
    bool InitInstance();

private:
    std::vector<std::filesystem::path> m_modelArguments;
};

}  // namespace morvane::ui
