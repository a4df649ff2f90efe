#include "model/files/descriptor_buffer.h"

#include <algorithm>
#include <cstring>

namespace morvane {

namespace {

constexpr std::size_t kBufferBytes = 256 * 1024;
// A read at least this large goes straight into the caller's memory, and a
// write at least this large straight from it.
constexpr std::streamsize kDirectReadBytes = 16 * 1024;
constexpr std::streamsize kDirectWriteBytes = 64 * 1024;
// Writing back to the disk starts each time this much more has been written,
// so that the final sync finds little left to do.
constexpr std::int64_t kWritebackBytes = 8 * 1024 * 1024;
// The kernel copies this much between two questions to the read gate, as
// often as a buffered read would ask it.
constexpr std::size_t kKernelCopyStep = kBufferBytes;

sys::Calls& calls() {
    return sys::SystemCalls();
}

}  // namespace

FileDescriptor& FileDescriptor::operator=(FileDescriptor&& other) noexcept {
    if (this != &other) {
        close();
        file_ = std::exchange(other.file_, sys::kNoFile);
    }
    return *this;
}

FileDescriptor::~FileDescriptor() {
    close();
}

std::error_code FileDescriptor::close() {
    if (!isOpen()) {
        return {};
    }
    return calls().close(std::exchange(file_, sys::kNoFile));
}

InputFileBuf::InputFileBuf(sys::File file)
    : file_(file), buffer_(std::make_unique_for_overwrite<char[]>(kBufferBytes)) {
    calls().seek(file_, 0, sys::Whence::Current, filePosition_);
    setg(buffer_.get(), buffer_.get(), buffer_.get());
}

std::int64_t InputFileBuf::readFile(char* data, std::size_t size) {
    if (gate_ && !gate_(filePosition_)) {
        return 0;
    }
    std::size_t got = 0;
    if (const std::error_code error = calls().read(file_, data, size, got)) {
        error_ = error_ ? error_ : error;
        return -1;
    }
    filePosition_ += static_cast<std::int64_t>(got);
    return static_cast<std::int64_t>(got);
}

InputFileBuf::int_type InputFileBuf::underflow() {
    if (gptr() < egptr()) {
        return traits_type::to_int_type(*gptr());
    }
    const std::int64_t got = readFile(buffer_.get(), kBufferBytes);
    setg(buffer_.get(), buffer_.get(), buffer_.get() + std::max<std::int64_t>(got, 0));
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
        const std::int64_t got = readFile(data + done, static_cast<std::size_t>(count - done));
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
        const std::int64_t copied = to.copyFromFile(file_, step);
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
    const std::int64_t bufferStart = filePosition_ - (egptr() - eback());
    const std::int64_t logicalPosition = filePosition_ - (egptr() - gptr());
    std::int64_t target;
    if (direction == std::ios_base::cur) {
        target = logicalPosition + offset;
    } else if (direction == std::ios_base::beg) {
        target = offset;
    } else {
        std::int64_t end = 0;
        std::int64_t back = 0;
        std::error_code error = calls().seek(file_, 0, sys::Whence::End, end);
        if (!error) {
            error = calls().seek(file_, filePosition_, sys::Whence::Start, back);
        }
        if (error) {
            error_ = error;
            return pos_type(off_type(-1));
        }
        target = end + offset;
    }
    if (target >= bufferStart && target <= filePosition_) {
        setg(eback(), eback() + (target - bufferStart), egptr());
        return pos_type(target);
    }
    std::int64_t reached = 0;
    if (target < 0 || calls().seek(file_, target, sys::Whence::Start, reached)) {
        return pos_type(off_type(-1));
    }
    filePosition_ = target;
    setg(buffer_.get(), buffer_.get(), buffer_.get());
    return pos_type(target);
}

InputFileBuf::pos_type InputFileBuf::seekpos(pos_type position, std::ios_base::openmode which) {
    return seekoff(off_type(position), std::ios_base::beg, which);
}

OutputFileBuf::OutputFileBuf(sys::File file)
    : file_(file), buffer_(std::make_unique_for_overwrite<char[]>(kBufferBytes)) {
    std::int64_t position = 0;
    calls().seek(file_, 0, sys::Whence::Current, position);
    position_ = writtenBackTo_ = std::max<std::int64_t>(position, 0);
    setp(buffer_.get(), buffer_.get() + kBufferBytes);
}

bool OutputFileBuf::flushBuffer() {
    const auto pending = static_cast<std::size_t>(pptr() - pbase());
    setp(buffer_.get(), buffer_.get() + kBufferBytes);
    return writeFile(buffer_.get(), pending);
}

bool OutputFileBuf::writeFile(const char* data, std::size_t size) {
    if (error_) {
        return false;
    }
    error_ = size > 0 ? calls().write(file_, data, size) : std::error_code();
    if (!error_) {
        wrote(static_cast<std::int64_t>(size));
    }
    return !error_;
}

// Only starts the writing back: the sync that makes the file durable, and
// reports any failure of it, comes after the last write.
void OutputFileBuf::wrote(std::int64_t bytes) {
    position_ += bytes;
    if (position_ - writtenBackTo_ >= kWritebackBytes) {
        calls().startWriteback(file_, writtenBackTo_, position_ - writtenBackTo_);
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
    const sys::Whence from = direction == std::ios_base::beg   ? sys::Whence::Start
                             : direction == std::ios_base::cur ? sys::Whence::Current
                                                               : sys::Whence::End;
    std::int64_t position = 0;
    if (const std::error_code error = calls().seek(file_, offset, from, position)) {
        error_ = error;
        return pos_type(off_type(-1));
    }
    position_ = writtenBackTo_ = position;
    return pos_type(position);
}

OutputFileBuf::pos_type OutputFileBuf::seekpos(pos_type position, std::ios_base::openmode which) {
    return seekoff(off_type(position), std::ios_base::beg, which);
}

std::int64_t OutputFileBuf::copyFromFile(sys::File from, std::size_t size) {
    std::size_t copied = 0;
    if (calls().copyInKernel(from, file_, size, copied)) {
        return -1;
    }
    wrote(static_cast<std::int64_t>(copied));
    return static_cast<std::int64_t>(copied);
}

}  // namespace morvane
