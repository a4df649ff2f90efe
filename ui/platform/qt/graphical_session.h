#pragma once

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

// What a user starting the window without a desktop is told.
inline constexpr const char* kNoGraphicalSessionMessage =
    "morvane: the window needs a graphical session (a desktop), and none could be reached.\n"
    "To add collision volumes from a terminal, use morvane-cli.\n";

}  // namespace morvane::ui
