// Linked into morvane-cli with open wrapped (-Wl,--wrap=open): the folder
// refuses unnamed temporary files, as some file systems do, so the tool
// takes its other way, a named temporary file.
#include <fcntl.h>

#include <cerrno>
#include <cstdarg>

extern "C" int __real_open(const char* path, int flags, ...);

extern "C" int __wrap_open(const char* path, int flags, ...) {
    if ((flags & O_TMPFILE) == O_TMPFILE) {
        errno = EOPNOTSUPP;
        return -1;
    }
    va_list arguments;
    va_start(arguments, flags);
    const auto mode = static_cast<mode_t>(va_arg(arguments, int));
    va_end(arguments);
    return __real_open(path, flags, mode);
}
