#include "command_line_fixture.h"

namespace morvane::testing {
namespace {

// The summary has a part only for what the model holds, each count in the
// singular or the plural as it needs. A count is decimal however it begins,
// as the window's field reads it; a batch may hold a single model.
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
}

TEST_F(CommandLine, UsageErrorsExitTwoAndSayWhatWasExpected) {
    writeFile(path("in.zrm"), model_);
    const std::string count =
        "--volumes: the number of collision volumes must be a whole number from 1 to 1000, not ";
    const std::string twoPaths = "expected INPUT and OUTPUT, got ";
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"in.zrm", "out.zrm"}, "--volumes is required"},
        {{"-n", "0", "in.zrm", "out.zrm"}, count + "'0'"},
        {{"-n", "1001", "in.zrm", "out.zrm"}, count + "'1001'"},
        {{"-n", "5\x1b", "in.zrm", "out.zrm"}, count + "'5\\x1B'"},
        {{"-n", "2", "-d", "", "in.zrm"},
         "--directory: the folder given with -d must not be empty"},
        {{"-n", "2", "", "out.zrm"}, "paths: a path must not be empty"},
        {{"-n", "2"}, twoPaths + "0 paths (use -d DIR to rewrite several models)"},
        {{"-n", "2", "in.zrm"}, twoPaths + "1 path (use -d DIR to rewrite several models)"},
        {{"-n", "2", "in.zrm", "a", "b"},
         twoPaths + "3 paths (use -d DIR to rewrite several models)"},
        {{"-n", "2", "-d", "out"}, "expected one or more inputs after -d DIR"},
        {{"--list"}, "expected one or more inputs after --list"},
        {{"-n", "2", "-d", "out", "in.zrm", "out/../in.zrm"},
         "two inputs are named 'in.zrm'; with -d each model is written under its own file name"},
        {{"--list", "-n", "2", "in.zrm"}, "--volumes excludes --list"},
        {{"--list", "-d", "out", "in.zrm"}, "--directory excludes --list"},
        {{"--list", "-q", "in.zrm"}, "--quiet excludes --list"},
        {{"--list", "--skip-rewritten", "in.zrm"}, "--skip-rewritten excludes --list"},
        {{"--json", "in.zrm"}, "--json requires --list"},
    };
    for (const auto& [arguments, message] : cases) {
        const ToolRun result = run(arguments);
        EXPECT_EQ(result.exitCode, 2) << message;
        EXPECT_EQ(result.err,
                  "morvane-cli: " + message + "\nRun 'morvane-cli --help' for usage.\n");
    }
    EXPECT_THAT(run({"--help"}).out, HasSubstr("Usage: morvane-cli"));
    EXPECT_EQ(folder_.listing(), "in.zrm ");
}

// A blank line comes between files; a refused model is listed as far as it
// goes, and the refusal makes the exit status 1.
TEST_F(CommandLine, ListShowsEveryRowAsTableOrJsonWithTheRefusal) {
    writeFile(path("in.zrm"),
              containerHeader() + chunk(kXyzs, 0xC0FFEE, 24, payload(24)) + words({7}) + "a");
    writeFile(path("a\"b.zrm"), containerHeader() + chunk(kPrim, 0, 9, ""));
    const ToolRun table = run({"--list", "in.zrm", "a\"b.zrm"});
    EXPECT_EQ(table.exitCode, 1);
    EXPECT_EQ(table.out, R"('in.zrm'
      offset  tag   second word    size word         bytes
           0  ZRM4   0x11111111          100            12
          12  XYZS   0x00C0FFEE           24            36
          48  unrecognised words                         4
          52  trailing bytes                             1

'a"b.zrm'
      offset  tag   second word    size word         bytes
           0  ZRM4   0x11111111          100            12
)");
    EXPECT_EQ(table.err,
              "morvane-cli: 'a\"b.zrm': PRIM chunk at offset 12: the payload needs 9 bytes, only 0 "
              "remain\n");
    const ToolRun json = run({"--list", "--json", "in.zrm", "a\"b.zrm"});
    EXPECT_EQ(json.exitCode, 1);
    EXPECT_EQ(json.err, table.err);
    EXPECT_EQ(json.out, R"([
  {"file": "in.zrm", "chunks": [
    {"type":"chunk","tag":"ZRM4","offset":0,"bytes":12,"second":286331153,"size":100},
    {"type":"chunk","tag":"XYZS","offset":12,"bytes":36,"second":12648430,"size":24},
    {"type":"unrecognised","offset":48,"bytes":4},
    {"type":"trailing","offset":52,"bytes":1}
  ], "block": null, "error": null},
  {"file": "a\"b.zrm", "chunks": [
    {"type":"chunk","tag":"ZRM4","offset":0,"bytes":12,"second":286331153,"size":100}
  ], "block": null, "error": "'a\"b.zrm': PRIM chunk at offset 12: the payload needs 9 bytes, only 0 remain"}
]
)");
    EXPECT_EQ(folder_.listing(), "a\"b.zrm in.zrm ");
}

// A model rewritten before is listed with its block, and warned of once when
// it is rewritten again, which still writes exactly what was asked for; with
// --skip-rewritten it is left out and the run still succeeds. A model that
// only looks rewritten (a last PRIM chunk whose tail is not a block), or that
// has no PRIM chunk, meets none of this.
TEST_F(CommandLine, AModelRewrittenBeforeIsListedWithItsBlockAndWarnedOf) {
    const std::string rewritten = rewriteInMemory(model_, 3).output;
    const std::string lookalike = containerHeader() +
                                  chunk(kPrim, 0, 60, payload(40) + words({4, 3, 0, 0, 0})) +
                                  closingHand(40);
    const std::string noPrim = rewriteInMemory(containerHeader(), 3).output;
    writeFile(path("old.zrm"), rewritten);
    writeFile(path("lookalike.zrm"), lookalike);
    writeFile(path("noprim.zrm"), noPrim);
    EXPECT_THAT(run({"--list", "old.zrm"}).out,
                ::testing::EndsWith("\nblock: 3 collision volumes at offset 100, in the PRIM chunk "
                                    "at offset 48 (payload offset 40); the model was rewritten "
                                    "before\n"));
    EXPECT_THAT(run({"--list", "--json", "old.zrm"}).out,
                HasSubstr(R"(], "block": {"offset":100,"prim_offset":48,)"
                          R"("payload_offset":40,"volumes":3}, "error": null})"));

    const ToolRun again = run({"-q", "-n", "2", "old.zrm", "out.zrm"});
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_EQ(again.err.substr(0, again.err.find("\nmorvane-cli: wrote")),
              "morvane-cli: warning: 'old.zrm' already carries a block of 3 collision volumes (in "
              "its last PRIM chunk, at offset 48): it was rewritten before, and this rewrite adds "
              "a second block to every PRIM chunk");
    EXPECT_EQ(readFile(path("out.zrm")), rewriteInMemory(rewritten, 2).output);
    EXPECT_EQ(run({"--skip-rewritten", "-n", "2", "old.zrm", "skipped.zrm"}).exitCode, 0);
    EXPECT_FALSE(fs::exists(path("skipped.zrm")));

    fs::create_directory(path("out"));
    const ToolRun batch = run({"-q", "-n", "2", "--skip-rewritten", "-d", "out", "old.zrm",
                               "lookalike.zrm", "noprim.zrm"});
    EXPECT_EQ(batch.exitCode, 0) << batch.err;
    EXPECT_EQ(batch.out, "");
    EXPECT_THAT(batch.err, HasSubstr("morvane-cli: left out 'old.zrm': it already carries a block "
                                     "of 3 collision volumes (in its last PRIM chunk, at offset "
                                     "48); 'out/old.zrm' was not written\n"));
    EXPECT_THAT(batch.err, ::testing::Not(HasSubstr("warning")));
    EXPECT_EQ(TempFolder::namesIn(path("out")), "lookalike.zrm noprim.zrm ");
    for (const auto& [name, model] :
         {std::pair{"lookalike.zrm", lookalike}, std::pair{"noprim.zrm", noPrim}}) {
        EXPECT_EQ(readFile(path("out/") + name), rewriteInMemory(model, 2).output) << name;
    }
}

// A model whose rewrite cannot be recorded, as only its closing HAND chunk
// shows, is refused by the listing as by the rewrite, before the rewrite
// writes anything; its trace still shows how far it went. The model is a
// sparse file and costs no disk.
TEST_F(CommandLine, TheListingRefusesWhatEveryRewriteRefuses) {
    writeFile(path("big.zrm"), containerHeader() + words({kXyzs, 0, 0x7FFFFFE7u}));
    fs::resize_file(path("big.zrm"), 24 + std::uintmax_t{0x7FFFFFE7u});
    const std::string refusal =
        "morvane-cli: 'big.zrm': XYZS chunk at offset 12: the rewritten model's byte count with "
        "its closing HAND chunk (2147483667) does not fit in the format's signed 32-bit words\n";
    EXPECT_EQ(run({"--list", "big.zrm"}).err, refusal);
    const ToolRun rewrite = run({"-n", "1", "big.zrm", "out.zrm"});
    EXPECT_EQ(rewrite.exitCode, 1);
    EXPECT_EQ(rewrite.err, refusal);
    EXPECT_EQ(rewrite.out.rfind("copybytes"), rewrite.out.find("copybytes, 12 bytes\n"));
    EXPECT_THAT(rewrite.out, ::testing::EndsWith("adjusted size=2147483623\n"));
    EXPECT_EQ(folder_.listing(), "big.zrm ");
}

// Any name the file system takes can be written, whatever the length; a
// control character in a name cannot break a message's line, and a name that
// is not UTF-8 cannot break the JSON. Started with standard input and output
// closed, the tool's own files must not become them: the model would take in
// the trace.
TEST_F(CommandLine, NamesAreWrittenAndShownSafely) {
    writeFile(path("in.zrm"), model_);
    const std::string longest = std::string(251, 'm') + ".zrm";
    for (const std::string& program : kPrograms) {
        const ProcessSetup closed{.program = program, .output = StandardOutputTo::Nowhere};
        EXPECT_EQ(run({"-n", "1", "in.zrm", longest}, closed).exitCode, 0) << program;
        EXPECT_EQ(readFile(path(longest)), rewriteInMemory(model_, 1).output) << program;
    }
    EXPECT_EQ(run({"-n", "1", "two\nlines\t\x1b.zrm", "out.zrm"}).err,
              "morvane-cli: cannot open the model 'two\\nlines\\t\\x1B.zrm': No such file or "
              "directory\n");
    writeFile(path("caf\xe9.zrm"), model_);
    EXPECT_THAT(run({"--list", "--json", "caf\xe9.zrm"}).out, HasSubstr("\"caf\xEF\xBF\xBD.zrm\""));
}

}  // namespace
}  // namespace morvane::testing
