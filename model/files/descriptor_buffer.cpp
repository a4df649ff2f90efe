#include "model/files/descriptor_buffer.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "model/files/kernel_transfer.h"

namespace morvane {

namespace {

constexpr std::size_t kBufferBytes = 256 * 1024;
// A read at least this large goes straight into the caller's memory, and a
// write at least this large straight from it.
constexpr std::streamsize kDirectReadBytes = 16 * 1024;
constexpr std::streamsize kDirectWriteBytes = 64 * 1024;
// Writing back to the disk starts each time this much more has been written,
// so that the final sync finds little left to do.
constexpr off_t kWritebackBytes = 8 * 1024 * 1024;
// The kernel copies this much between two questions to the read gate, as
// often as a buffered read would ask it.
constexpr std::size_t kKernelCopyStep = kBufferBytes;

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

InputFileBuf::InputFileBuf(int fd)
    : fd_(fd), buffer_(std::make_unique_for_overwrite<char[]>(kBufferBytes)) {
    filePosition_ = ::lseek(fd_, 0, SEEK_CUR);
    setg(buffer_.get(), buffer_.get(), buffer_.get());
}

// Returns the bytes read, 0 at the end of the file or where the gate closed
// it, or -1 on a failure.
ssize_t InputFileBuf::readFile(char* data, std::size_t size) {
    if (gate_ && !gate_(filePosition_)) {
        return 0;
    }
    const ssize_t got = readRetrying(fd_, data, size);
    if (got < 0 && error_ == 0) {
        error_ = errno;
    }
    filePosition_ += std::max<ssize_t>(got, 0);
    return got;
}

InputFileBuf::int_type InputFileBuf::underflow() {
    if (gptr() < egptr()) {
        return traits_type::to_int_type(*gptr());
    }
    const ssize_t got = readFile(buffer_.get(), kBufferBytes);
    setg(buffer_.get(), buffer_.get(), buffer_.get() + std::max<ssize_t>(got, 0));
    return got > 0 ? traits_type::to_int_type(*gptr()) : traits_type::eof();
}

// Empties the buffer, so that the file position is the logical one again.
std::streamsize InputFileBuf::takeBuffered(char* data, std::streamsize count) {
    const std::streamsize taken = std::min<std::streamsize>(count, egptr() - gptr());
    std::memcpy(data, gptr(), static_cast<std::size_t>(taken));
    gbump(static_cast<int>(taken));
    if (gptr() == egptr()) {
        setg(buffer_.get(), buffer_.get(), buffer_.get());
    }
    return taken;
}

// Large reads skip the buffer: the caller has its own.
std::streamsize InputFileBuf::xsgetn(char_type* data, std::streamsize count) {
    std::streamsize done = takeBuffered(data, count);
    if (count - done < kDirectReadBytes) {
        return done + std::streambuf::xsgetn(data + done, count - done);
    }
    while (done < count) {
        const ssize_t got = readFile(data + done, static_cast<std::size_t>(count - done));
        if (got <= 0) {
            break;
        }
        done += got;
    }
    return done;
}

std::int64_t InputFileBuf::copyInKernel(OutputFileBuf& to, std::int64_t count) {
    if (!kernelCopies_ || to.pubsync() != 0 || gptr() != egptr()) {
        return 0;
    }
    std::int64_t moved = 0;
    while (moved < count && (!gate_ || gate_(filePosition_))) {
        const auto step = static_cast<std::size_t>(
            std::min<std::int64_t>(count - moved, static_cast<std::int64_t>(kKernelCopyStep)));
        const std::int64_t copied = to.copyFromFile(fd_, step);
        if (copied <= 0) {
            kernelCopies_ = kernelCopies_ && copied == 0;
            break;
        }
        filePosition_ += copied;
        moved += copied;
    }
    return moved;
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
    setg(buffer_.get(), buffer_.get(), buffer_.get());
    return pos_type(target);
}

InputFileBuf::pos_type InputFileBuf::seekpos(pos_type position, std::ios_base::openmode which) {
    return seekoff(off_type(position), std::ios_base::beg, which);
}

OutputFileBuf::OutputFileBuf(int fd)
    : fd_(fd), buffer_(std::make_unique_for_overwrite<char[]>(kBufferBytes)) {
    position_ = writtenBackTo_ = std::max<off_t>(::lseek(fd_, 0, SEEK_CUR), 0);
    setp(buffer_.get(), buffer_.get() + kBufferBytes);
}

bool OutputFileBuf::flushBuffer() {
    const auto pending = static_cast<std::size_t>(pptr() - pbase());
    setp(buffer_.get(), buffer_.get() + kBufferBytes);
    return writeFile(buffer_.get(), pending);
}

bool OutputFileBuf::writeFile(const char* data, std::size_t size) {
    if (error_ != 0) {
        return false;
    }
    error_ = writeAll(fd_, data, size);
    if (error_ == 0) {
        wrote(static_cast<off_t>(size));
    }
    return error_ == 0;
}

// Only starts the writing back: the sync that makes the file durable, and
// reports any failure of it, comes after the last write.
void OutputFileBuf::wrote(off_t bytes) {
    position_ += bytes;
    if (position_ - writtenBackTo_ >= kWritebackBytes) {
        StartWriteback(fd_, writtenBackTo_, position_ - writtenBackTo_);
        writtenBackTo_ = position_;
    }
}

// Large writes skip the buffer once it is empty.
std::streamsize OutputFileBuf::xsputn(const char_type* data, std::streamsize count) {
    if (count > epptr() - pptr() || count >= kDirectWriteBytes) {
        if (!flushBuffer()) {
            return 0;
        }
        if (count >= kDirectWriteBytes) {
            return writeFile(data, static_cast<std::size_t>(count)) ? count : 0;
        }
    }
    std::memcpy(pptr(), data, static_cast<std::size_t>(count));
    pbump(static_cast<int>(count));
    return count;
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
    position_ = writtenBackTo_ = position;
    return pos_type(position);
}

OutputFileBuf::pos_type OutputFileBuf::seekpos(pos_type position, std::ios_base::openmode which) {
    return seekoff(off_type(position), std::ios_base::beg, which);
}

std::int64_t OutputFileBuf::copyFromFile(int from, std::size_t size) {
    const std::int64_t copied = CopyBetweenFiles(from, fd_, size);
    if (copied > 0) {
        wrote(copied);
    }
    return copied;
}

}  // namespace morvane
