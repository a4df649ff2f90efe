#include <nlohmann/json.hpp>

#include <array>

#include "command_line_fixture.h"

namespace morvane::testing {
namespace {

TEST_F(CommandLine, StandardOutputIsExactlyTheTraceAndTheSummaryGoesToErrors) {
    writeFile(path("in.zrm"), model_);
    const ToolRun result = run({"-n", "3", path("in.zrm"), path("out.zrm")});
    const Rewritten expected = rewriteInMemory(model_, 3);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.out, expected.trace);
    EXPECT_EQ(readFile(path("out.zrm")), expected.output);
    EXPECT_EQ(result.err, "morvane-cli: wrote '" + path("out.zrm") + "' (" +
                              std::to_string(expected.output.size()) +
                              " bytes): 2 chunks copied, 1 PRIM chunk extended with 3 volumes, 1 "
                              "HAND chunk dropped, 4 bytes of unrecognised words passed over, 2 "
                              "trailing bytes dropped\n");

    // Counts of one and of none, and no parts for what the model lacks.
    const std::string plain = containerHeader() + chunk(kPrim, 0, 4, payload(4));
    writeFile(path("plain.zrm"), plain);
    const ToolRun single = run({"-q", "-n", "1", path("plain.zrm"), path("out.zrm")});
    EXPECT_EQ(single.err, "morvane-cli: wrote '" + path("out.zrm") + "' (" +
                              std::to_string(rewriteInMemory(plain, 1).output.size()) +
                              " bytes): 1 chunk copied, 1 PRIM chunk extended with 1 volume, 0 "
                              "HAND chunks dropped\n");
}

TEST_F(CommandLine, QuietBatchWritesEveryGoodModelAndReportsTheBadOnes) {
    writeFile(path("a.zrm"), model_);
    writeFile(path("bad.zrm"), containerHeader() + chunk(kNorm, 0, 99, ""));
    writeFile(path("c.zrm"), model_);
    fs::create_directory(path("out"));
    const ToolRun result =
        run({"-q", "-n", "2", "-d", path("out"), path("a.zrm"), path("bad.zrm"), path("c.zrm")});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.out, "");
    EXPECT_EQ(readFile(path("out/a.zrm")), rewriteInMemory(model_, 2).output);
    EXPECT_EQ(readFile(path("out/c.zrm")), rewriteInMemory(model_, 2).output);
    EXPECT_FALSE(fs::exists(path("out/bad.zrm")));
    EXPECT_THAT(result.err, HasSubstr("NORM chunk at offset 12"));
}

TEST_F(CommandLine, UsageErrorsExitTwoAndSayWhatWasExpected) {
    writeFile(path("in.zrm"), model_);
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{path("in.zrm"), path("out.zrm")}, "--volumes is required"},
        {{"-n", "0", path("in.zrm"), path("out.zrm")}, "from 1 to 1000, not '0'"},
        {{"-n", "1001", path("in.zrm"), path("out.zrm")}, "from 1 to 1000, not '1001'"},
        {{"-n", "abc", path("in.zrm"), path("out.zrm")}, "from 1 to 1000, not 'abc'"},
        {{"-n", "5x", path("in.zrm"), path("out.zrm")}, "from 1 to 1000, not '5x'"},
        {{"-n", "\x1b[2J", path("in.zrm"), path("out.zrm")}, "not '\\x1B[2J'"},
        {{"-n", "2", "-d", "", path("in.zrm"), path("out.zrm")},
         "the folder given with -d must not be empty"},
        {{"-n", "2", "", path("out.zrm")}, "a path must not be empty"},
        {{"-n", "2", path("in.zrm")}, "expected INPUT and OUTPUT, got 1 path"},
        {{"-n", "2", path("in.zrm"), path("a"), path("b")}, "got 3 paths"},
        {{"-n", "2", "-d", path("out"), path("in.zrm"), path("out/../in.zrm")},
         "two inputs are named 'in.zrm'"},
        {{"--list", "-n", "2", path("in.zrm")}, "--volumes excludes --list"},
        {{"--json", path("in.zrm")}, "--json requires --list"},
        {{"--list", "--skip-rewritten", path("in.zrm")}, "--skip-rewritten excludes --list"},
    };
    for (const auto& [arguments, message] : cases) {
        const ToolRun result = run(arguments);
        EXPECT_EQ(result.exitCode, 2) << message;
        EXPECT_THAT(result.err, HasSubstr(message));
    }
    EXPECT_EQ(folder_.listing(), "in.zrm ");
}

TEST_F(CommandLine, ListShowsEveryRowAsTableOrJsonWithTheRefusal) {
    writeFile(path("in.zrm"), model_);
    const ToolRun table = run({"--list", path("in.zrm")});
    EXPECT_EQ(table.exitCode, 0) << table.err;
    EXPECT_EQ(table.out, "'" + path("in.zrm") +
                             "'\n"
                             "      offset  tag   second word    size word         bytes\n"
                             "           0  ZRM4   0x11111111          100            12\n"
                             "          12  XYZS   0x00000000           24            36\n"
                             "          48  HAND   0x00000000            4            16\n"
                             "          64  unrecognised words                         4\n"
                             "          68  PRIM   0x00000000           40            52\n"
                             "         120  trailing bytes                             2\n");

    writeFile(path("bad\"name.zrm"), containerHeader() + chunk(kPrim, 0, 9, ""));
    const ToolRun json = run({"--list", "--json", path("in.zrm"), path("bad\"name.zrm")});
    EXPECT_EQ(json.exitCode, 1);
    for (const std::string part :
         {"{\"type\":\"chunk\",\"tag\":\"PRIM\",\"offset\":68,\"bytes\":52,\"second\":0,"
          "\"size\":40}",
          "bad\\\"name.zrm", "\"error\": \"'",
          "PRIM chunk at offset 12: the payload needs 9 bytes, only 0 remain\"}\n]\n"}) {
        EXPECT_THAT(json.out, HasSubstr(part));
    }
    EXPECT_THAT(json.err, HasSubstr("PRIM chunk at offset 12"));
    const auto listed = nlohmann::json::parse(json.out);
    ASSERT_EQ(listed.size(), 2u);
    EXPECT_EQ(listed[0]["file"], path("in.zrm"));
    EXPECT_EQ(listed[0]["chunks"].size(), 6u);
    EXPECT_TRUE(listed[0]["error"].is_null());
    EXPECT_EQ(listed[1]["file"], path("bad\"name.zrm"));
    EXPECT_TRUE(listed[1]["error"].is_string());
    EXPECT_EQ(folder_.listing(), "bad\"name.zrm in.zrm ");
}

// A model rewritten before is listed with its block, and warned of once when
// it is rewritten again, which still writes exactly what was asked for; with
// --skip-rewritten it is left out and the batch still succeeds. A model that
// only looks rewritten (a last PRIM chunk whose tail is not a block), or that
// has no PRIM chunk, meets none of this.
TEST_F(CommandLine, AModelRewrittenBeforeIsListedWithItsBlockAndWarnedOf) {
    const std::string rewritten = rewriteInMemory(model_, 3).output;
    const std::string lookalike = containerHeader() +
                                  chunk(kPrim, 0, 60, payload(40) + words({4, 3, 0, 0, 0})) +
                                  closingHand(40);
    const std::string noPrim = rewriteInMemory(containerHeader(), 3).output;
    writeFile(path("rewritten.zrm"), rewritten);
    writeFile(path("lookalike.zrm"), lookalike);
    writeFile(path("noprim.zrm"), noPrim);
    const ToolRun table = run({"--list", path("rewritten.zrm")});
    EXPECT_EQ(table.exitCode, 0) << table.err;
    EXPECT_EQ(table.out, "'" + path("rewritten.zrm") +
                             "'\n"
                             "      offset  tag   second word    size word         bytes\n"
                             "           0  ZRM4   0x11111111          136            12\n"
                             "          12  XYZS   0x00000000           24            36\n"
                             "          48  PRIM   0x00000000           60            72\n"
                             "         120  HAND   0x00000000            8            20\n"
                             "block: 3 collision volumes at offset 100, in the PRIM chunk at "
                             "offset 48 (payload offset 40); the model was rewritten before\n");
    const ToolRun json =
        run({"--list", "--json", path("rewritten.zrm"), path("lookalike.zrm"), path("noprim.zrm")});
    EXPECT_THAT(json.out, HasSubstr("], \"block\": {\"offset\":100,\"prim_offset\":48,"
                                    "\"payload_offset\":40,\"volumes\":3}, \"error\": null}"));
    EXPECT_EQ(json.out.find("\"block\": {"), json.out.rfind("\"block\": {"));
    EXPECT_THAT(run({"--list", path("lookalike.zrm"), path("noprim.zrm")}).out,
                ::testing::Not(HasSubstr("block")));

    const std::string warning = "morvane-cli: warning: '" + path("rewritten.zrm") +
                                "' already carries a block of 3 collision volumes (in its last "
                                "PRIM chunk, at offset 48): it was rewritten before, and this "
                                "rewrite adds a second block to every PRIM chunk\n";
    const ToolRun again = run({"-q", "-n", "2", path("rewritten.zrm"), path("out.zrm")});
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_EQ(again.err.substr(0, warning.size()), warning);
    EXPECT_EQ(again.err.find("warning", warning.size()), std::string::npos) << again.err;
    EXPECT_EQ(readFile(path("out.zrm")), rewriteInMemory(rewritten, 2).output);

    fs::create_directory(path("out"));
    writeFile(path("out/rewritten.zrm"), kPrecious);
    writeFile(path("plain.zrm"), model_);
    const ToolRun batch =
        run({"-q", "-n", "2", "--skip-rewritten", "-d", path("out"), path("plain.zrm"),
             path("rewritten.zrm"), path("lookalike.zrm"), path("noprim.zrm")});
    EXPECT_EQ(batch.exitCode, 0) << batch.err;
    EXPECT_THAT(batch.err, HasSubstr("morvane-cli: left out '" + path("rewritten.zrm") +
                                     "': it already carries a block of 3 collision volumes (in "
                                     "its last PRIM chunk, at offset 48); '" +
                                     path("out/rewritten.zrm") + "' was not written\n"));
    EXPECT_THAT(batch.err, ::testing::Not(HasSubstr("warning")));
    EXPECT_EQ(readFile(path("out/rewritten.zrm")), kPrecious);
    for (const auto& [name, model] :
         {std::pair{"plain.zrm", model_}, std::pair{"lookalike.zrm", lookalike},
          std::pair{"noprim.zrm", noPrim}}) {
        EXPECT_EQ(readFile(path("out/") + name), rewriteInMemory(model, 2).output) << name;
    }
}

// A model whose rewrite cannot be recorded, as only its closing HAND chunk
// shows, is refused by the listing as by the rewrite, before the rewrite
// writes anything. The model is a sparse file and costs no disk.
TEST_F(CommandLine, TheListingRefusesWhatEveryRewriteRefuses) {
    writeFile(path("big.zrm"), containerHeader() + words({kXyzs, 0, 0x7FFFFFE7u}));
    fs::resize_file(path("big.zrm"), 24 + std::uintmax_t{0x7FFFFFE7u});
    const std::string refusal =
        "'" + path("big.zrm") +
        "': XYZS chunk at offset 12: the rewritten model's byte count with its closing HAND "
        "chunk (2147483667) does not fit in the format's signed 32-bit words\n";
    const ToolRun listing = run({"--list", path("big.zrm")});
    EXPECT_EQ(listing.exitCode, 1);
    EXPECT_EQ(listing.err, "morvane-cli: " + refusal);
    const ToolRun rewrite = run({"-n", "1", path("big.zrm"), path("out.zrm")});
    EXPECT_EQ(rewrite.exitCode, 1);
    EXPECT_EQ(rewrite.err, "morvane-cli: " + refusal);
    EXPECT_EQ(rewrite.out.rfind("copybytes"), rewrite.out.find("copybytes, 12 bytes\n"));
    EXPECT_EQ(folder_.listing(), "big.zrm ");
}

// A count is decimal however it begins, as the window's field reads it.
TEST_F(CommandLine, CountsAreDecimal) {
    writeFile(path("in.zrm"), model_);
    for (const auto& [typed, volumes] : {std::pair{"010", 10}, std::pair{"0100", 100},
                                         std::pair{"08", 8}, std::pair{"1000", 1000}}) {
        const ToolRun result = run({"-q", "-n", typed, path("in.zrm"), path("out.zrm")});
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(readFile(path("out.zrm")), rewriteInMemory(model_, volumes).output) << typed;
    }
}

// Any name the file system takes can be written, whatever the length; a
// control character in a name cannot break a message's line, and a name that
// is not UTF-8 cannot break the JSON.
TEST_F(CommandLine, NamesAreWrittenAndShownSafely) {
    writeFile(path("in.zrm"), model_);
    const std::string longest = std::string(251, 'm') + ".zrm";
    for (const std::string& program : kPrograms) {
        const ToolRun result =
            run({"-q", "-n", "1", path("in.zrm"), path(longest)}, {.program = program});
        EXPECT_EQ(result.exitCode, 0) << program << result.err;
        EXPECT_EQ(readFile(path(longest)), rewriteInMemory(model_, 1).output);
    }
    const ToolRun missing = run({"-n", "1", path("two\nlines\t\x1b.zrm"), path("out.zrm")});
    EXPECT_EQ(missing.err, "morvane-cli: cannot open the model '" +
                               path("two\\nlines\\t\\x1B.zrm") + "': No such file or directory\n");
    writeFile(path("caf\xe9.zrm"), model_);
    const ToolRun json = run({"--list", "--json", path("caf\xe9.zrm")});
    EXPECT_EQ(json.exitCode, 0);
    EXPECT_THAT(json.out, HasSubstr("caf\xEF\xBF\xBD.zrm\""));
}

TEST_F(CommandLine, HelpAndVersion) {
    EXPECT_THAT(run({"--help"}).out, HasSubstr("Usage: morvane-cli"));
    const ToolRun version = run({"--version"});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.out, "morvane-cli 1.0.0.1\n");
}

}  // namespace
}  // namespace morvane::testing
