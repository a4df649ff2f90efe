#pragma once

#include <filesystem>

namespace morvane {

// Keeps a file name registered for removal should the program be ended from
// outside while the guard lives (SIGINT, SIGTERM or SIGHUP; Ctrl+C, Ctrl+Break
// or the console closing on Windows), so that an interrupted rewrite leaves no
// half-written file behind. The handler only removes the names prepared here
// in advance and then lets the program end as it would have.
class RemoveOnSignal {
public:
    explicit RemoveOnSignal(const std::filesystem::path& name);
    ~RemoveOnSignal();
    RemoveOnSignal(const RemoveOnSignal&) = delete;
    RemoveOnSignal& operator=(const RemoveOnSignal&) = delete;

private:
    int slot_;
};

}  // namespace morvane
