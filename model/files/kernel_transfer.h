#pragma once

#include <cstddef>
#include <cstdint>

// Ways to let the system move a file's bytes without the process: each
// platform offers what it has.
namespace morvane {

// Copies up to size bytes from where `from` stands in its file to where `to`
// stands in its own, and moves both on; returns the bytes copied, 0 at the
// end of `from`, or -1 with errno set (ENOSYS where the system has no such
// copy).
std::int64_t CopyBetweenFiles(int from, int to, std::size_t size);

// Starts writing the given bytes of the file back to the disk, without
// waiting for them; where the system cannot, nothing happens.
void StartWriteback(int fd, std::int64_t offset, std::int64_t length);

}  // namespace morvane
