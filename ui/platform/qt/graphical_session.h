#pragma once

#include <string>

namespace morvane::ui {

// False when neither the environment nor the toolkit's own options on the
// command line (-platform, -display) name a display for a window to open on.
bool HasGraphicalSession(int argc, const char* const* argv);

// Makes a display that cannot be reached end the program with a plain message
// instead of the toolkit's abort, until the returned guard is destroyed.
class DisplayFailureGuard {
public:
    DisplayFailureGuard();
    ~DisplayFailureGuard();
    DisplayFailureGuard(const DisplayFailureGuard&) = delete;
    DisplayFailureGuard& operator=(const DisplayFailureGuard&) = delete;
};

// What a user starting the window without a desktop is told: where the
// command-line tool is, beside the installed window or in the build tree.
std::string NoGraphicalSessionMessage();

}  // namespace morvane::ui
