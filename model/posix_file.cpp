#include "posix_file.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace morvane {

namespace {

constexpr std::size_t kBufferBytes = 256 * 1024;

// Windows' C runtime counts the bytes of one read or write in an unsigned int;
// a longer transfer simply takes more calls.
unsigned callBytes(std::size_t size) {
    return static_cast<unsigned>(std::min<std::size_t>(size, std::size_t{1} << 30));
}

ssize_t readRetrying(int fd, char* data, std::size_t size) {
    ssize_t got;
    do {
        got = ::read(fd, data, callBytes(size));
    } while (got < 0 && errno == EINTR);
    return got;
}

// Returns 0 or the errno of the failure.
int writeAll(int fd, const char* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, callBytes(size));
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return errno;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return 0;
}

}  // namespace

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = other.fd_;
        other.fd_ = -1;
    }
    return *this;
}

FileDescriptor::~FileDescriptor() {
    close();
}

int FileDescriptor::close() {
    if (fd_ < 0) {
        return 0;
    }
    const int result = ::close(fd_);
    fd_ = -1;
    return result == 0 ? 0 : errno;
}

InputFileBuf::InputFileBuf(int fd) : fd_(fd), buffer_(kBufferBytes) {
    filePosition_ = ::lseek(fd_, 0, SEEK_CUR);
    setg(buffer_.data(), buffer_.data(), buffer_.data());
}

InputFileBuf::int_type InputFileBuf::underflow() {
    if (gptr() < egptr()) {
        return traits_type::to_int_type(*gptr());
    }
    if (gate_ && !gate_(filePosition_)) {
        return traits_type::eof();
    }
    const ssize_t got = readRetrying(fd_, buffer_.data(), buffer_.size());
    if (got <= 0) {
        if (got < 0 && error_ == 0) {
            error_ = errno;
        }
        setg(buffer_.data(), buffer_.data(), buffer_.data());
        return traits_type::eof();
    }
    filePosition_ += got;
    setg(buffer_.data(), buffer_.data(), buffer_.data() + got);
    return traits_type::to_int_type(*gptr());
}

// The rewrite steps back over each chunk header it has just read; such a seek
// stays inside the buffer instead of reading the bytes again.
InputFileBuf::pos_type InputFileBuf::seekoff(off_type offset, std::ios_base::seekdir direction,
                                             std::ios_base::openmode which) {
    if ((which & std::ios_base::in) == 0) {
        return pos_type(off_type(-1));
    }
    const off_t bufferStart = filePosition_ - (egptr() - eback());
    const off_t logicalPosition = filePosition_ - (egptr() - gptr());
    off_t target;
    if (direction == std::ios_base::cur) {
        target = logicalPosition + offset;
    } else if (direction == std::ios_base::beg) {
        target = offset;
    } else {
        const off_t end = ::lseek(fd_, 0, SEEK_END);
        if (end < 0 || ::lseek(fd_, filePosition_, SEEK_SET) < 0) {
            error_ = errno;
            return pos_type(off_type(-1));
        }
        target = end + offset;
    }
    if (target >= bufferStart && target <= filePosition_) {
        setg(eback(), eback() + (target - bufferStart), egptr());
        return pos_type(target);
    }
    if (target < 0 || ::lseek(fd_, target, SEEK_SET) < 0) {
        return pos_type(off_type(-1));
    }
    filePosition_ = target;
    setg(buffer_.data(), buffer_.data(), buffer_.data());
    return pos_type(target);
}

InputFileBuf::pos_type InputFileBuf::seekpos(pos_type position, std::ios_base::openmode which) {
    return seekoff(off_type(position), std::ios_base::beg, which);
}

OutputFileBuf::OutputFileBuf(int fd) : fd_(fd), buffer_(kBufferBytes) {
    setp(buffer_.data(), buffer_.data() + buffer_.size());
}

bool OutputFileBuf::flushBuffer() {
    const auto pending = static_cast<std::size_t>(pptr() - pbase());
    setp(buffer_.data(), buffer_.data() + buffer_.size());
    if (error_ != 0) {
        return false;
    }
    error_ = writeAll(fd_, buffer_.data(), pending);
    return error_ == 0;
}

OutputFileBuf::int_type OutputFileBuf::overflow(int_type c) {
    if (!flushBuffer()) {
        return traits_type::eof();
    }
    if (!traits_type::eq_int_type(c, traits_type::eof())) {
        *pptr() = traits_type::to_char_type(c);
        pbump(1);
    }
    return traits_type::not_eof(c);
}

int OutputFileBuf::sync() {
    return flushBuffer() ? 0 : -1;
}

OutputFileBuf::pos_type OutputFileBuf::seekoff(off_type offset, std::ios_base::seekdir direction,
                                               std::ios_base::openmode which) {
    if ((which & std::ios_base::out) == 0 || !flushBuffer()) {
        return pos_type(off_type(-1));
    }
    const int whence = direction == std::ios_base::beg   ? SEEK_SET
                       : direction == std::ios_base::cur ? SEEK_CUR
                                                         : SEEK_END;
    const off_t position = ::lseek(fd_, offset, whence);
    if (position < 0) {
        error_ = errno;
        return pos_type(off_type(-1));
    }
    return pos_type(position);
}

OutputFileBuf::pos_type OutputFileBuf::seekpos(pos_type position, std::ios_base::openmode which) {
    return seekoff(off_type(position), std::ios_base::beg, which);
}

}  // namespace morvane
