// --list: every row of a model as a table or as JSON, and the same refusal as
// a rewrite's.
#include "command_line.h"

namespace morvane::testing {
namespace {

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

// A STRN chunk's size word is its payload's length without the padding that
// follows it, which the bytes it occupies count.
TEST_F(CommandLine, TheListingGivesAStrnChunksSizeWordAndItsPaddedBytes) {
    writeFile(path("in.zrm"),
              containerHeader() + chunk(kStrn, 3, 5, payload(5) + std::string(3, '\0')));
    const std::string row =
        R"("type":"chunk","tag":"STRN","offset":12,"bytes":20,"second":3,"size":5)";
    EXPECT_THAT(run({"--list", "--json", "in.zrm"}).out, HasSubstr("{" + row + "}"));
    EXPECT_THAT(run({"--list", "in.zrm"}).out,
                HasSubstr("          12  STRN   0x00000003            5            20\n"));
}

// Only the closing HAND chunk takes this rewrite past the limit. The model is
// a sparse file and costs no disk.
TEST_F(CommandLine, TheListingRefusesWhatEveryRewriteRefuses) {
    writeFile(path("big.zrm"), containerHeader() + words({kXyzs, 0, 0x7FFFFFE7u}));
    fs::resize_file(path("big.zrm"), 24 + std::uintmax_t{0x7FFFFFE7u});
    const std::string refusal =
        "morvane-cli: 'big.zrm': XYZS chunk at offset 12: the rewritten model's byte count with "
        "its closing HAND chunk (2147483667) does not fit in the format's signed 32-bit words\n";
    EXPECT_EQ(run({"--list", "big.zrm"}).err, refusal);
    const ToolRun rewrite = run({"-n", "1", "big.zrm", "out.zrm"});
    EXPECT_EQ(rewrite.err, refusal);
    EXPECT_EQ(rewrite.out.rfind("copybytes"), rewrite.out.find("copybytes, 12 bytes\n"));
    EXPECT_THAT(rewrite.out, ::testing::EndsWith("adjusted size=2147483623\n"));
    EXPECT_EQ(folder_.listing(), "big.zrm ");
}

}  // namespace
}  // namespace morvane::testing
