#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <streambuf>
#include <system_error>
#include <utility>

#include "model/files/system_calls.h"

// Buffered standard streams over open files, so that the rewrite can sync,
// link and rename the very file it wrote and report the system's own reason
// when a read or write fails.
namespace morvane {

// Owns an open file and closes it once.
class FileDescriptor {
public:
    explicit FileDescriptor(sys::File file = sys::kNoFile) : file_(file) {}
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    FileDescriptor(FileDescriptor&& other) noexcept
        : file_(std::exchange(other.file_, sys::kNoFile)) {}
    FileDescriptor& operator=(FileDescriptor&& other) noexcept;
    ~FileDescriptor();

    sys::File get() const { return file_; }
    bool isOpen() const { return file_ != sys::kNoFile; }
    // Closes now; the system's reason when the close failed.
    std::error_code close();

private:
    sys::File file_;
};

class OutputFileBuf;

class InputFileBuf : public std::streambuf {
public:
    explicit InputFileBuf(sys::File file);
    // The reason the first read or seek failed, if one did.
    const std::error_code& error() const { return error_; }

    // Asked before every read from the file with the position it starts at;
    // answering false ends the input there, as if the file ended.
    using ReadGate = std::function<bool(std::int64_t position)>;
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
    // The bytes read: 0 at the end of the file or where the gate closed it,
    // -1 when the read failed.
    std::int64_t readFile(char* data, std::size_t size);
    std::streamsize takeBuffered(char* data, std::streamsize count);

    sys::File file_;
    std::error_code error_;
    std::int64_t filePosition_ = 0;   // where the file stands: just past the buffered bytes
    std::unique_ptr<char[]> buffer_;  // its pages are touched only as far as it fills
    ReadGate gate_;
    bool kernelCopies_ = true;  // until the system declines one
};

class OutputFileBuf : public std::streambuf {
public:
    explicit OutputFileBuf(sys::File file);
    // The reason the first write or seek failed, if one did.
    const std::error_code& error() const { return error_; }

    // Moves up to size bytes from where `from` stands in its file to where
    // this stands, inside the kernel; returns the bytes moved, 0 at the end
    // of `from`, or -1 where the system cannot. What the buffer holds must
    // have been written first (pubsync).
    std::int64_t copyFromFile(sys::File from, std::size_t size);

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
    void wrote(std::int64_t bytes);

    sys::File file_;
    std::error_code error_;
    std::int64_t position_ = 0;       // where the file stands
    std::int64_t writtenBackTo_ = 0;  // writing back to the disk has been started up to here
    std::unique_ptr<char[]> buffer_;  // its pages are touched only as far as it fills
};

}  // namespace morvane
