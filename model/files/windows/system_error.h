#pragma once

#include <windows.h>

#include <string>

namespace morvane {

// The system's own sentence for a Windows error code, in UTF-8.
std::string SystemMessage(DWORD error);

// Throws a FileError: `what`, then the system's reason for `error`.
[[noreturn]] void FailWithSystemError(const std::string& what, DWORD error);

// Closes a Windows handle once.
class UniqueHandle {
public:
    explicit UniqueHandle(HANDLE handle = INVALID_HANDLE_VALUE) : handle_(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    ~UniqueHandle() { reset(); }

    HANDLE get() const { return handle_; }
    bool isOpen() const { return handle_ != INVALID_HANDLE_VALUE; }
    HANDLE release() {
        const HANDLE handle = handle_;
        handle_ = INVALID_HANDLE_VALUE;
        return handle;
    }
    void reset() {
        if (isOpen()) {
            ::CloseHandle(release());
        }
    }

private:
    HANDLE handle_;
};

}  // namespace morvane
