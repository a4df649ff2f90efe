// What a failed system call does to a rewrite, on every system: the user
// gets the system's reason, the output name keeps what it held, and no
// temporary file is left.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <map>
#include <sstream>

#include "model/carried_block.h"
#include "model/files/batch_rewrite.h"
#include "model/files/model_file.h"
#include "support/faulty_calls.h"
#include "support/file_layer_models.h"
#include "support/file_rewrite.h"
#include "support/pass_runner.h"
#include "support/temp_folder.h"
#include "support/zrm_builder.h"

namespace morvane::testing {
namespace {

namespace fs = std::filesystem;
using namespace faults;

const bool injected = (Inject(), true);

std::string reason(int error) {
    return std::generic_category().message(error);
}

using ::testing::HasSubstr;
using ::testing::ThrowsMessage;

void rewriteInBatch(const fs::path& in, const fs::path& out) {
    std::ostringstream trace;
    StreamTrace target(trace);
    BatchRewrite batch({1, RewrittenBefore::Rewrite, &target, {}},
                       [](const RewriteOutcome& outcome) {
                           if (outcome.error) {
                               std::rethrow_exception(outcome.error);
                           }
                       });
    batch.add(in, out);
    batch.finish();
}

// A kernel copy declined or failed part of the way goes on through the
// buffers, not asking again; where the system has no such copy, the first
// one is declined.
TEST(FileErrors, AreReportedWithTheSystemsReasonAndLeaveNothingBehind) {
    const struct {
        const char* call;
        int callsBefore;
        int error;
        std::string way;
        std::string message;  // before the system's reason
    } cases[] = {
        {"copy_file_range", 0, EXDEV, "new", ""},
#ifndef _WIN32
        {"copy_file_range", 3, EIO, "replace", ""},
#endif
        // A rewrite reads the model's header and end first, to look for a carried block.
        {"read", 2, EIO, "new", "cannot read the model 'in.zrm'"},
        {"read", 2, EISDIR, "batch replace", "cannot read the model 'in.zrm'"},
        {"close", 0, EIO, "new", "cannot write 'out.zrm'"},
        {"close", 0, EIO, "batch", "cannot write 'out.zrm'"},
        {"fsync", 0, EIO, "replace", "cannot write 'out.zrm'"},
        {"fsync", 1, EIO, "new", "wrote 'out.zrm' but cannot sync its folder"},
        {"rename", 0, EACCES, "replace", "cannot give the new model the name 'out.zrm'"},
    };
    const fs::path workingFolder = fs::current_path();
    for (const auto& [call, callsBefore, error, way, message] : cases) {
        SCOPED_TRACE(std::string(call) + " " + way + " " + reason(error));
        TempFolder folder;
        fs::current_path(folder.path());
        writeFile("in.zrm", kLongModel);
        if (way.ends_with("replace")) {
            writeFile("out.zrm", kPrecious);
        }
        std::ostringstream trace;
        reset({{call, {callsBefore, error}}});
        const std::string thrown = thrownMessage([&] {
            way.starts_with("batch") ? rewriteInBatch("in.zrm", "out.zrm")
                                     : (void)rewriteFile("in.zrm", "out.zrm", 1, trace);
        });
        EXPECT_TRUE(failures.empty()) << "the call did not fail";
        EXPECT_EQ(thrown, message.empty() ? "" : message + ": " + reason(error));
        const bool named = message.empty() || message.starts_with("wrote");
        EXPECT_EQ(folder.listing(),
                  named || way.ends_with("replace") ? "in.zrm out.zrm " : "in.zrm ");
        if (message.empty() && std::string_view(call) == "copy_file_range") {
            EXPECT_EQ(counts["copy_file_range"], callsBefore + 1);
        }
        if (named) {
            EXPECT_TRUE(readFile("out.zrm") == rewriteInMemory(kLongModel, 1).output);
            EXPECT_EQ(calls.front() + ", " + calls.back(),
                      "fsync file, fsync folder " + folder.path().filename().string());
        } else if (way.ends_with("replace")) {
            EXPECT_EQ(readFile("out.zrm"), kPrecious);
        }
    }
    fs::current_path(workingFolder);
}

// The check before a rewrite reads the end of the model and the chunk
// headers, never the payloads: a big model costs no second pass.
TEST(CarriedBlock, FindingItReadsNoPayload) {
    constexpr std::uint32_t kBig = 8u << 20;
    const std::string model = containerHeader() + chunk(kXyzs, 0, kBig, payload(kBig)) +
                              chunk(kPrim, 0, kBig, payload(kBig));
    const TempFolder folder;
    writeFile(folder / "big.zrm", rewriteInMemory(model, 7).output);
    bytesRead = 0;
    EXPECT_EQ(ModelFile(folder / "big.zrm").carriedBlock(),
              (CarriedBlock{12 + 12 + kBig, kBig, 7}));
    EXPECT_LT(bytesRead, 2 << 20);
}

}  // namespace
}  // namespace morvane::testing
