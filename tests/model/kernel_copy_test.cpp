// Linked with the system's copy_file_range wrapped (-Wl,--wrap), so the test
// can make the kernel decline or fail a copy part of the way through; the
// rewrite must then go on through its buffers and write the same model.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <sstream>

#include "model/file_rewrite.h"
#include "support/pass_runner.h"
#include "support/temp_folder.h"
#include "support/zrm_builder.h"

namespace {

int calls = 0;
int failAtCall = -1;  // the call that fails, counted from 0; -1 for none
int failWith = 0;

}  // namespace

extern "C" ssize_t __real_copy_file_range(int in, off64_t* inOffset, int out, off64_t* outOffset,
                                          std::size_t length, unsigned flags);

extern "C" ssize_t __wrap_copy_file_range(int in, off64_t* inOffset, int out, off64_t* outOffset,
                                          std::size_t length, unsigned flags) {
    if (calls++ == failAtCall) {
        errno = failWith;
        return -1;
    }
    return __real_copy_file_range(in, inOffset, out, outOffset, length, flags);
}

namespace morvane::testing {
namespace {

TEST(KernelCopy, ADeclinedOrFailedCopyGoesOnThroughTheBuffers) {
    constexpr std::uint32_t kPayload = 3 << 20;
    const std::string model = containerHeader() + chunk(kXyzs, 0, 100, payload(100)) +
                              chunk(kPrim, 0, kPayload, payload(kPayload, 'p')) +
                              chunk(kNorm, 0, kPayload, payload(kPayload, 'n'));
    const std::string expected = rewriteInMemory(model, 4).output;
    TempFolder folder;
    writeFile(folder / "in.zrm", model);
    const std::pair<int, int> failures[] = {{-1, 0}, {0, EXDEV}, {0, EOPNOTSUPP}, {3, EIO}};
    for (const auto& [at, error] : failures) {
        calls = 0;
        failAtCall = at;
        failWith = error;
        std::ostringstream trace;
        RewriteModelFile(folder / "in.zrm", folder / "out.zrm", 4, trace);
        EXPECT_TRUE(readFile(folder / "out.zrm") == expected) << at;
        // Both payloads go to the kernel unless it has failed once.
        EXPECT_EQ(calls, at < 0 ? 24 : at + 1) << at;
    }
}

}  // namespace
}  // namespace morvane::testing
