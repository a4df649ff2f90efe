#include "startup/standard_streams.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <cstdlib>

namespace morvane {

namespace {

UINT consoleCodePage = 0;

// The console is the user's: it goes back to the code page it had.
void RestoreConsoleCodePage() {
    ::SetConsoleOutputCP(consoleCodePage);
}

// Messages on standard error are UTF-8, which the console is told while the
// program runs.
void SpeakUtf8ToTheConsole() {
    consoleCodePage = ::GetConsoleOutputCP();
    if (consoleCodePage != 0 && consoleCodePage != CP_UTF8 && ::SetConsoleOutputCP(CP_UTF8)) {
        std::atexit(RestoreConsoleCodePage);
    }
}

bool HasStream(int fd) {
    const intptr_t handle = ::_get_osfhandle(fd);
    return handle != -1 && handle != -2;
}

}  // namespace

// The trace and the listing are the same bytes on every system, lines ending
// in LF, so standard output is written in binary mode.
bool EnsureStandardStreamsOpen() {
    for (int fd = 0; fd <= 2; ++fd) {
        if (HasStream(fd)) {
            continue;
        }
        const int null = ::_open("NUL", _O_RDWR | _O_BINARY);
        if (null < 0) {
            return false;
        }
        if (null != fd && (::_dup2(null, fd) != 0 || ::_close(null) != 0)) {
            return false;
        }
    }
    ::_setmode(1, _O_BINARY);
    SpeakUtf8ToTheConsole();
    return true;
}

}  // namespace morvane
