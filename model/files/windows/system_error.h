#pragma once

#include <windows.h>

#include <string>
#include <system_error>

namespace morvane {

// A Windows error code, told in the system's own sentence (in UTF-8), and
// taken for the generic error it is (ERROR_FILE_EXISTS as file_exists...).
std::error_code WindowsError(DWORD error);

// A model that another program has open for writing: it may change under the
// pass.
std::error_code OpenForWritingElsewhere();

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
