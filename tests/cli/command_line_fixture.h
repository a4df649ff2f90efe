#pragma once

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/cli_process.h"
#include "support/pass_runner.h"
#include "support/zrm_builder.h"

namespace morvane::testing {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

inline const std::string kPrecious = "an older model that must survive";

// morvane-cli as built, and as it runs where the file system makes no
// unnamed temporary files and the model is written under a hidden name.
inline const std::vector<std::string> kPrograms = {MORVANE_CLI, MORVANE_CLI_NAMED_TEMPORARY};

class CommandLine : public ::testing::Test {
protected:
    ToolRun run(const std::vector<std::string>& arguments, ProcessSetup setup = {}) {
        return runCli(arguments, logs_.path(), setup);
    }
    std::string path(const std::string& name) const { return (folder_ / name).string(); }

    TempFolder folder_;
    TempFolder logs_;
    // Every kind of row: copied, dropped, unrecognised, extended, trailing.
    const std::string model_ = containerHeader() + chunk(kXyzs, 0, 24, payload(24)) +
                               chunk(kHand, 0, 4, payload(4)) + words({7}) +
                               chunk(kPrim, 0, 40, payload(40)) + "ab";
};

}  // namespace morvane::testing
