#pragma once

#include <filesystem>
#include <memory>

namespace morvane {

// The new model's way to the output name: a temporary file in the output's
// folder while it is written, then the name, so that the name never holds
// anything but what it held before or the whole new model. Each platform
// takes this way with its own means.
class SafeOutput {
public:
    // Refuses an output that must not be replaced (the input itself under any
    // name, anything but a regular file, a link that leads nowhere), notes
    // what a replaced file has that the new one must keep, and makes the
    // temporary file.
    SafeOutput(int inputFd, const std::filesystem::path& output);
    ~SafeOutput();
    SafeOutput(const SafeOutput&) = delete;
    SafeOutput& operator=(const SafeOutput&) = delete;

    // Where the new model is written.
    int fd() const;

    // Gives the finished file what the replaced one had and makes its bytes
    // durable.
    void sync();

    // Gives the synced file the output name, durably.
    void name();

private:
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace morvane
