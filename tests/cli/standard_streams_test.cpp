#include <sys/stat.h>
#include <sys/sysmacros.h>

#include "command_line_fixture.h"

namespace morvane::testing {
namespace {

// Enough chunks for a trace of several hundred kilobytes, more than any
// buffer holds back.
std::string manyChunks() {
    std::string model = containerHeader();
    for (int i = 0; i < 20000; ++i) {
        model += chunk(kPrim, 0, 8, payload(8));
    }
    return model;
}

// Started with standard input and output closed, the tool's own files must
// not become them: the model would take in the trace.
TEST_F(CommandLine, ClosedStandardStreamsNeverReachTheModel) {
    const std::string model = manyChunks();
    writeFile(path("in.zrm"), model);
    for (const std::string& program : kPrograms) {
        SCOPED_TRACE(program);
        EXPECT_EQ(run({"-n", "2", "in.zrm", "out.zrm"},
                      {.program = program, .output = StandardOutputTo::Nowhere})
                      .exitCode,
                  0);
        EXPECT_TRUE(readFile(path("out.zrm")) == rewriteInMemory(model, 2).output);
    }
}

// A trace or a listing that cannot be written is an error: exit status 1, the
// system's reason, and a model that was being written is left as it was.
TEST_F(CommandLine, StandardOutputThatCannotBeWrittenIsAnError) {
    writeFile(path("in.zrm"), manyChunks());
    std::vector<std::pair<ProcessSetup, std::string>> outputs = {
        {{.output = StandardOutputTo::GoneReader}, "Broken pipe"}};
    if (::geteuid() == 0) {
        ASSERT_EQ(::mknod(path("full").c_str(), S_IFCHR | 0666, makedev(1, 7)), 0);
        outputs.push_back({{.output = StandardOutputTo::File, .outputFile = path("full")},
                           "No space left on device"});
    }
    for (const auto& [setup, reason] : outputs) {
        SCOPED_TRACE(reason);
        writeFile(path("out.zrm"), kPrecious);
        const ToolRun rewrite = run({"-n", "2", "in.zrm", "out.zrm"}, setup);
        EXPECT_EQ(rewrite.exitCode, 1);
        EXPECT_EQ(rewrite.err, "morvane-cli: cannot write the trace to standard output: " + reason +
                                   "; 'out.zrm' was left as it was\n");
        EXPECT_EQ(readFile(path("out.zrm")), kPrecious);
        // A batch stops at the first model whose trace is lost: every later
        // one would fail the same way.
        fs::create_directory(path("batch"));
        const ToolRun batch = run({"-n", "2", "-d", "batch", "in.zrm", "out.zrm"}, setup);
        EXPECT_EQ(batch.exitCode, 1);
        EXPECT_EQ(batch.err.find("cannot write the trace"),
                  batch.err.rfind("cannot write the trace"))
            << batch.err;
        EXPECT_EQ(TempFolder::namesIn(path("batch")), "");
        for (const char* format : {"--list", "--json"}) {
            const ToolRun listing = run({"--list", format, "in.zrm"}, setup);
            EXPECT_EQ(listing.exitCode, 1) << format;
            EXPECT_EQ(listing.err,
                      "morvane-cli: cannot write the listing to standard output: " + reason + "\n");
        }
    }
    EXPECT_EQ(readFile(path("in.zrm")), manyChunks());
}

}  // namespace
}  // namespace morvane::testing
