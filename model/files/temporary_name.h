#pragma once

#include <filesystem>
#include <optional>

#include "model/files/remove_on_signal.h"
#include "model/files/system_calls.h"

namespace morvane {

// A name the new model holds only while it is written: removed with this
// object, even when the object that owns it is never finished, and when the
// program is ended from outside.
class TemporaryName {
public:
    TemporaryName() = default;
    TemporaryName(const TemporaryName&) = delete;
    TemporaryName& operator=(const TemporaryName&) = delete;
    ~TemporaryName() {
        if (!path_.empty()) {
            sys::SystemCalls().remove(path_);
        }
    }

    // Call with the ending signals held back, right after the file
    // got the name.
    void adopt(const std::filesystem::path& path) {
        path_ = path;
        removal_.emplace(path);
    }

    // The file now has its real name.
    void release() {
        path_.clear();
        removal_.reset();
    }

    const std::filesystem::path& path() const { return path_; }
    bool empty() const { return path_.empty(); }

private:
    std::filesystem::path path_;
    std::optional<RemoveOnSignal> removal_;
};

}  // namespace morvane
