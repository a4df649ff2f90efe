// What a rewrite says: the trace on standard output, byte for byte, and one
// summary line a model on standard error, in the order the models were given;
// a trace that cannot be written is an error.
#include "command_line.h"

namespace morvane::testing {
namespace {

// A count is decimal however it begins, as the window's field reads it.
TEST_F(CommandLine, StandardOutputIsExactlyTheTraceAndTheSummaryGoesToErrors) {
    writeFile(path("in.zrm"), model_);
    writeFile(path("plain.zrm"), containerHeader() + chunk(kPrim, 0, 4, payload(4)));
    fs::create_directory(path("out"));
    const ToolRun result = run({"-n", "010", "in.zrm", "out.zrm"});
    EXPECT_EQ(result.out, rewriteInMemory(model_, 10).trace);
    EXPECT_EQ(readFile(path("out.zrm")), rewriteInMemory(model_, 10).output);
    EXPECT_EQ(result.err,
              "morvane-cli: wrote 'out.zrm' (168 bytes): 2 chunks copied, 1 PRIM chunk extended "
              "with 10 volumes, 1 HAND chunk dropped, 4 bytes of unrecognised words passed over, 1 "
              "trailing byte dropped\n");
    EXPECT_EQ(run({"-q", "-n", "1000", "-d", "out", "plain.zrm"}).err,
              "morvane-cli: wrote 'out/plain.zrm' (4056 bytes): 1 chunk copied, 1 PRIM chunk "
              "extended with 1000 volumes, 0 HAND chunks dropped\n");
    // A run of unrecognised words counts every byte of it; --skip-rewritten
    // leaves out only a model that was rewritten before.
    writeFile(path("run.zrm"), containerHeader() + words({7, 8, 9}) +
                                   chunk(kPrim, 0, 4, payload(4)) + words({5, 6}));
    EXPECT_EQ(run({"-q", "-n", "1", "--skip-rewritten", "run.zrm", "run-out.zrm"}).err,
              "morvane-cli: wrote 'run-out.zrm' (60 bytes): 1 chunk copied, 1 PRIM chunk extended "
              "with 1 volume, 0 HAND chunks dropped, 20 bytes of unrecognised words passed over\n");
    EXPECT_EQ(readFile(path("run-out.zrm")), rewriteInMemory(readFile(path("run.zrm")), 1).output);
}

// The batch writes its models as one group, reported at its end.
TEST_F(CommandLine, ABatchReportsEachModelInOrderWithWhatIsSaidOfIt) {
    const std::string plain = containerHeader() + chunk(kPrim, 0, 4, payload(4));
    const std::string rewritten = rewriteInMemory(plain, 3).output;
    for (const auto& [name, bytes] :
         {std::pair{"1.zrm", plain}, std::pair{"2.zrm", rewritten}, std::pair{"3.zrm", plain},
          std::pair{"4.zrm", kPrecious}, std::pair{"5.zrm", rewritten}}) {
        writeFile(path(name), bytes);
    }
    fs::create_directory(path("out"));
    const std::vector<std::string> models = {"1.zrm", "2.zrm", "3.zrm", "4.zrm", "5.zrm"};
    std::vector<std::string> arguments = {"-q", "-n", "2", "-d", "out"};
    arguments.insert(arguments.end(), models.begin(), models.end());
    EXPECT_EQ(subjects(run(arguments).err),
              (std::vector<std::string>{
                  "morvane-cli: wrote 'out/1.zrm'", "morvane-cli: warning: '2.zrm'",
                  "morvane-cli: wrote 'out/2.zrm'", "morvane-cli: wrote 'out/3.zrm'",
                  "morvane-cli: '4.zrm'", "morvane-cli: warning: '5.zrm'",
                  "morvane-cli: wrote 'out/5.zrm'"}));
    arguments.insert(arguments.begin(), "--skip-rewritten");
    EXPECT_EQ(
        subjects(run(arguments).err),
        (std::vector<std::string>{"morvane-cli: wrote 'out/1.zrm'", "morvane-cli: left out '2.zrm'",
                                  "morvane-cli: wrote 'out/3.zrm'", "morvane-cli: '4.zrm'",
                                  "morvane-cli: left out '5.zrm'"}));
}

// A batch or listing stops at the first model whose output is lost: every
// later one would fail the same way.
TEST_F(CommandLine, StandardOutputThatCannotBeWrittenIsAnError) {
    writeFile(path("in.zrm"), manyChunks());
    writeFile(path("out.zrm"), kPrecious);
    fs::create_directory(path("batch"));
    const ProcessSetup gone{.output = StandardOutputTo::GoneReader};
    const std::string lost =
        "morvane-cli: cannot write the trace to standard output: Broken pipe; '";
    const ToolRun rewrite = run({"-n", "2", "in.zrm", "out.zrm"}, gone);
    EXPECT_EQ(rewrite.exitCode, 1);
    EXPECT_EQ(rewrite.err, lost + "out.zrm' was left as it was\n");
    const ToolRun batch = run({"-n", "2", "-d", "batch", "in.zrm", "out.zrm"}, gone);
    EXPECT_EQ(batch.exitCode, 1);
    EXPECT_EQ(batch.err, lost + "batch/in.zrm' was left as it was\n");
    // A small model's trace fails only as the model ends, once it is written.
    writeFile(path("small.zrm"), model_);
    const ToolRun small = run({"-n", "2", "-d", "batch", "small.zrm"}, gone);
    EXPECT_EQ(small.exitCode, 1);
    EXPECT_EQ(small.err, lost + "batch/small.zrm' was left as it was\n");
    for (const char* format : {"--list", "--json"}) {
        const ToolRun listing = run({"--list", format, "in.zrm", "missing.zrm"}, gone);
        EXPECT_EQ(listing.exitCode, 1) << format;
        EXPECT_EQ(listing.err,
                  "morvane-cli: cannot write the listing to standard output: Broken pipe\n");
    }
    EXPECT_EQ(readFile(path("out.zrm")), kPrecious);
    EXPECT_EQ(folder_.listing() + TempFolder::namesIn(path("batch")),
              "batch in.zrm out.zrm small.zrm ");
}

}  // namespace
}  // namespace morvane::testing
