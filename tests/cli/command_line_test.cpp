#include <gtest/gtest.h>

#include "support/cli_process.h"
#include "support/pass_runner.h"
#include "support/temp_folder.h"
#include "support/zrm_builder.h"

namespace morvane::testing {
namespace {

namespace fs = std::filesystem;

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

class CommandLine : public ::testing::Test {
protected:
    ToolRun run(const std::vector<std::string>& arguments) {
        const fs::path out = logs_ / "stdout.txt";
        const fs::path err = logs_ / "stderr.txt";
        ProcessSetup setup;
        setup.outputLog = out;
        CliProcess tool(arguments, err, setup);
        const int status = tool.exitCode();
        return {status, readFile(out), readFile(err)};
    }

    std::string path(const std::string& name) const { return (folder_ / name).string(); }

    TempFolder folder_;
    TempFolder logs_;
    const std::string model_ = containerHeader() + chunk(kXyzs, 0, 24, payload(24)) +
                               chunk(kHand, 0, 4, payload(4)) + chunk(kPrim, 0, 40, payload(40));
};

TEST_F(CommandLine, StandardOutputIsExactlyTheTrace) {
    writeFile(path("in.zrm"), model_);
    const ToolRun result = run({"-n", "3", path("in.zrm"), path("out.zrm")});
    const Rewritten expected = rewriteInMemory(model_, 3);
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, expected.trace);
    EXPECT_EQ(readFile(path("out.zrm")), expected.output);
    EXPECT_EQ(result.err, "morvane-cli: wrote '" + path("out.zrm") + "' (" +
                              std::to_string(expected.output.size()) +
                              " bytes): 2 chunks copied, 1 PRIM chunk extended with 3 volumes, 1 "
                              "HAND chunk dropped\n");
}

TEST_F(CommandLine, QuietBatchWritesEveryGoodModelAndReportsTheBadOnes) {
    writeFile(path("a.zrm"), model_);
    writeFile(path("bad.zrm"), containerHeader() + chunk(kNorm, 0, 99, ""));
    writeFile(path("c.zrm"), model_);
    fs::create_directory(path("out"));
    const ToolRun result =
        run({"-q", "-n", "2", "-d", path("out"), path("a.zrm"), path("bad.zrm"), path("c.zrm")});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(readFile(path("out/a.zrm")), rewriteInMemory(model_, 2).output);
    EXPECT_EQ(readFile(path("out/c.zrm")), rewriteInMemory(model_, 2).output);
    EXPECT_FALSE(fs::exists(path("out/bad.zrm")));
    EXPECT_NE(result.err.find("NORM chunk at offset 12"), std::string::npos) << result.err;
}

TEST_F(CommandLine, UsageErrorsExitTwoAndSayWhatWasExpected) {
    writeFile(path("in.zrm"), model_);
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{path("in.zrm"), path("out.zrm")}, "--volumes is required"},
        {{"-n", "0", path("in.zrm"), path("out.zrm")}, "from 1 to 1000, not '0'"},
        {{"-n", "1001", path("in.zrm"), path("out.zrm")}, "from 1 to 1000, not '1001'"},
        {{"-n", "abc", path("in.zrm"), path("out.zrm")}, "from 1 to 1000, not 'abc'"},
        {{"-n", "2", path("in.zrm")}, "expected INPUT and OUTPUT, got 1 path"},
        {{"-n", "2", path("in.zrm"), path("a"), path("b")}, "got 3 paths"},
        {{"-n", "2", "-d", path("out"), path("in.zrm"), path("out/../in.zrm")},
         "two inputs are named 'in.zrm'"},
    };
    for (const auto& [arguments, message] : cases) {
        const ToolRun result = run(arguments);
        EXPECT_EQ(result.status, 2) << message;
        EXPECT_NE(result.err.find(message), std::string::npos) << result.err;
    }
    EXPECT_EQ(folder_.listing(), "in.zrm ");
}

TEST_F(CommandLine, ListShowsEachChunkAndWritesNothing) {
    writeFile(path("in.zrm"), model_);
    const ToolRun result = run({"--list", path("in.zrm")});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out, "'" + path("in.zrm") +
                              "'\n"
                              "      offset  tag   second word    size word         bytes\n"
                              "           0  ZRM4   0x11111111          100            12\n"
                              "          12  XYZS   0x00000000           24            36\n"
                              "          48  HAND   0x00000000            4            16\n"
                              "          64  PRIM   0x00000000           40            52\n");
    EXPECT_EQ(folder_.listing(), "in.zrm ");
}

TEST_F(CommandLine, JsonListingCarriesTheRefusal) {
    writeFile(path("in.zrm"), model_);
    writeFile(path("bad\"name.zrm"), containerHeader() + chunk(kPrim, 0, 9, ""));
    const ToolRun result = run({"--list", "--json", path("in.zrm"), path("bad\"name.zrm")});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.out.find("{\"type\": \"chunk\", \"tag\": \"PRIM\", \"offset\": 64, "
                              "\"bytes\": 52, \"second\": 0, \"size\": 40}"),
              std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("bad\\\"name.zrm"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("\"error\": \"'"), std::string::npos) << result.out;
    EXPECT_NE(
        result.out.find("PRIM chunk at offset 12: the payload needs 9 bytes, only 0 remain\"}"),
        std::string::npos)
        << result.out;
    EXPECT_EQ(result.out.back(), '\n');
    EXPECT_NE(result.err.find("PRIM chunk at offset 12"), std::string::npos);
}

TEST_F(CommandLine, ListTakesNoRewriteOptions) {
    writeFile(path("in.zrm"), model_);
    EXPECT_EQ(run({"--list", "-n", "2", path("in.zrm")}).status, 2);
    EXPECT_EQ(run({"--json", path("in.zrm")}).status, 2);
}

TEST_F(CommandLine, HelpAndVersion) {
    const ToolRun help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("Usage: morvane-cli"), std::string::npos);
    const ToolRun version = run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "morvane-cli 1.0.0.1\n");
}

}  // namespace
}  // namespace morvane::testing
