#pragma once

#include <QApplication>

namespace morvane::ui {

// The program around its one window.
class CCollisionApp : public QApplication {
public:
    CCollisionApp(int& argc, char** argv);

    // Runs the window modally; false means the program ends when it closes,
    // without an event loop of its own.
    bool InitInstance();
};

}  // namespace morvane::ui
