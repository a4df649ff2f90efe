#pragma once

#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <streambuf>
#include <utility>

// Buffered standard streams over POSIX file descriptors, so that the rewrite
// can sync, link and rename the very file it wrote and report the system's
// own reason when a read or write fails.
namespace morvane {

// Owns an open file descriptor and closes it once.
class FileDescriptor {
public:
    explicit FileDescriptor(int fd = -1) : fd_(fd) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    ~FileDescriptor();

    int get() const { return fd_; }
    bool isOpen() const { return fd_ >= 0; }
    // Closes now; returns 0 or the errno of a failed close.
    int close();

private:
    int fd_;
};

class OutputFileBuf;

class InputFileBuf : public std::streambuf {
public:
    explicit InputFileBuf(int fd);
    // The errno of the first failed read or seek, or 0.
    int error() const { return error_; }

    // Asked before every read from the file with the position it starts at;
    // answering false ends the input there, as if the file ended.
    using ReadGate = std::function<bool(off_t position)>;
    void setReadGate(ReadGate gate) { gate_ = std::move(gate); }

    // Moves up to count bytes from where this stands to where `to` stands,
    // inside the kernel where the system can, asking the gate as often as
    // reading them would; returns how many moved, 0 when it cannot. Once the
    // system declines, it is not asked again. A failed step is not reported:
    // the buffers meet the failure again.
    std::int64_t copyInKernel(OutputFileBuf& to, std::int64_t count);

protected:
    int_type underflow() override;
    std::streamsize xsgetn(char_type* data, std::streamsize count) override;
    pos_type seekoff(off_type offset, std::ios_base::seekdir direction,
                     std::ios_base::openmode which) override;
    pos_type seekpos(pos_type position, std::ios_base::openmode which) override;

private:
    ssize_t readFile(char* data, std::size_t size);
    std::streamsize takeBuffered(char* data, std::streamsize count);

    int fd_;
    int error_ = 0;
    off_t filePosition_ = 0;          // where the descriptor stands: just past the buffered bytes
    std::unique_ptr<char[]> buffer_;  // its pages are touched only as far as it fills
    ReadGate gate_;
    bool kernelCopies_ = true;  // until the system declines one
};

class OutputFileBuf : public std::streambuf {
public:
    explicit OutputFileBuf(int fd);
    // The errno of the first failed write or seek, or 0.
    int error() const { return error_; }

    // Moves up to size bytes from where `from` stands in its file to where
    // this stands, inside the kernel; returns as CopyBetweenFiles does. What
    // the buffer holds must have been written first (pubsync).
    std::int64_t copyFromFile(int from, std::size_t size);

protected:
    int_type overflow(int_type c) override;
    std::streamsize xsputn(const char_type* data, std::streamsize count) override;
    int sync() override;
    pos_type seekoff(off_type offset, std::ios_base::seekdir direction,
                     std::ios_base::openmode which) override;
    pos_type seekpos(pos_type position, std::ios_base::openmode which) override;

private:
    bool flushBuffer();
    bool writeFile(const char* data, std::size_t size);
    void wrote(off_t bytes);

    int fd_;
    int error_ = 0;
    off_t position_ = 0;              // where the descriptor stands
    off_t writtenBackTo_ = 0;         // writing back to the disk has been started up to here
    std::unique_ptr<char[]> buffer_;  // its pages are touched only as far as it fills
};

}  // namespace morvane
