#include <string>
#include <vector>

#include "command_line.h"
#include "model/files/path_text.h"
#include "support/pass_runner.h"

namespace morvane::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

// Windows programs are asked for their help with /?, typed alone or among
// other words, directly or through cmd.exe. Any other word that begins with
// a slash is a path from the drive's root, never an option.
TEST_F(WindowsCommandLine, SlashQuestionMarkIsHelpAndOtherSlashWordsArePaths) {
    const ToolRun help = run({L"--help"});
    ASSERT_EQ(help.exitCode, 0u);
    EXPECT_THAT(help.out,
                ::testing::StartsWith("Usage: morvane-cli -n N [OPTION]... INPUT OUTPUT\n"));
    for (const auto& [words, start] : std::vector<std::pair<std::vector<std::wstring>, Start>>{
             {{L"/?"}, Start::Directly},
             {{L"/?"}, Start::ThroughCmd},
             {{L"-n", L"3", L"/?", L"a.zrm"}, Start::Directly}}) {
        const ToolRun asked = run(words, start);
        EXPECT_EQ(asked.exitCode, 0u);
        EXPECT_EQ(asked.out, help.out);
        EXPECT_EQ(asked.err, "");
    }
    EXPECT_EQ(folder_.listing(), "");

    // Wine reads a path that begins with a slash as a Linux path, so the
    // model named is one that exists nowhere: what counts is that the word
    // reaches the file layer as a name and not the parser as an option.
    const ToolRun slashed = run({L"-q", L"-n", L"3", L"/v", L"/out.zrm"});
    EXPECT_EQ(slashed.exitCode, 1u);
    EXPECT_EQ(slashed.err, "morvane-cli: cannot open the model '/v': File not found\r\n");
}

// Lines end in LF as on Linux. One folder cannot hold both a.zrm and A.ZRM,
// nor a.zrm and "a.zrm." (the dots and spaces at a name's end are dropped),
// and NUL is a device in every folder.
TEST_F(WindowsCommandLine, TheTraceIsTheSameBytesAndNamesAreReadAsWindowsReadsThem) {
    const std::wstring input = path(L"\u043c\u043e\u0434\u0435\u043b\u044c.zrm");
    const std::wstring output = path(L"\u6a21\u578b.zrm");
    writeFile(input, model_);
    const ToolRun result = run({L"-n", L"3", input, output});
    const Rewritten expected = rewriteInMemory(model_, 3);
    EXPECT_EQ(result.exitCode, 0u) << result.err;
    EXPECT_EQ(result.out, expected.trace);
    EXPECT_EQ(readFile(output), expected.output);
    EXPECT_THAT(result.err, HasSubstr("\xE6\xA8\xA1\xE5\x9E\x8B.zrm' (" +
                                      std::to_string(expected.output.size()) + " bytes)"));
    for (const wchar_t* other : {L"out\\..\\A.ZRM", L"out\\..\\a.zrm.", L"out\\..\\a.zrm "}) {
        const ToolRun sameName =
            run({L"-n", L"1", L"-d", path(L"out"), path(L"a.zrm"), path(other)});
        EXPECT_EQ(sameName.exitCode, 2u);
        EXPECT_THAT(sameName.err, HasSubstr("morvane-cli: two inputs are named 'a.zrm' and '" +
                                            TextOf(fs::path(other).filename()) +
                                            "', which are one name here; with -d each model is "
                                            "written under its own file name\r\n"));
    }
    EXPECT_THAT(run({L"-n", L"1", input, L"NUL"}).err,
                HasSubstr("'NUL' is a device, not a model file"));
    EXPECT_EQ(folder_.listing(),
              "\xD0\xBC\xD0\xBE\xD0\xB4\xD0\xB5\xD0\xBB\xD1\x8C.zrm \xE6\xA8\xA1\xE5\x9E\x8B.zrm ");
}

// The shell hands the tool a model's wildcards as they were typed; only
// files match, in name order, and a pattern that matches nothing is a model
// that cannot be opened.
TEST_F(WindowsCommandLine, WildcardsInAModelArgumentAreExpanded) {
    fs::create_directories(path(L"models\\dir.zrm"));
    for (const wchar_t* name : {L"ship1.zrm", L"ship2.zrm", L"ship10.zrm", L"Boat.zrm", L"a.txt"}) {
        writeFile(path(L"models\\") + name, model_);
    }
    fs::create_directory(path(L"out"));
    const ToolRun all =
        run({L"-q", L"-n", L"3", L"-d", L"out", L"models\\*.zrm"}, Start::ThroughCmd);
    EXPECT_EQ(all.exitCode, 0u) << all.err;
    std::vector<std::string> written;
    for (std::size_t at = 0; (at = all.err.find("wrote '", at)) != std::string::npos; ++at) {
        written.push_back(all.err.substr(at + 7, all.err.find('\'', at + 7) - at - 7));
    }
    EXPECT_EQ(written, (std::vector<std::string>{"out\\Boat.zrm", "out\\ship1.zrm",
                                                 "out\\ship10.zrm", "out\\ship2.zrm"}));
    fs::create_directory(path(L"some"));
    const ToolRun some =
        run({L"-q", L"-n", L"3", L"-d", L"some", L"models\\ship?.zrm", L"none*.zrm"},
            Start::ThroughCmd);
    EXPECT_EQ(some.exitCode, 1u);
    EXPECT_THAT(some.err, HasSubstr("morvane-cli: no file matches 'none*.zrm'"));
    EXPECT_EQ(TempFolder::namesIn(path(L"some")), "ship1.zrm ship2.zrm ");
    EXPECT_EQ(readFile(path(L"some\\ship2.zrm")), rewriteInMemory(model_, 3).output);
}

// Other programs make names that end in a dot or a space, which Windows reads
// without it where they are typed ("c.zrm." is c.zrm). A wildcard finds such a
// file as it is, and the tool reads the file it found; messages name it in
// words people write.
TEST_F(WindowsCommandLine, AModelFoundByAWildcardIsTheFileThatWasFound) {
    const std::string other = containerHeader() + chunk(kXyzs, 0, 4, payload(4));
    writeFile(path(L"c.zrm"), model_);
    ExactlyNamedFiles odd;
    odd.write(path(L"c.zrm."), other);
    odd.write(path(L"d.zrm "), containerHeader() + chunk(kXyzs, 0, 4096, payload(4)));
    fs::create_directories(path(L"e"));
    odd.write(path(L"e\\e.zrm "), other);
    ASSERT_EQ(folder_.listing(), "c.zrm c.zrm. d.zrm  e ");
    const std::string heading = "      offset  tag   second word    size word         bytes\n";
    const std::string header = "           0  ZRM4   0x11111111          100            12\n";
    const std::string here = TextOf(folder_.path());

    const ToolRun found = run({L"--list", L"c.zrm*", L"d.zrm*"});
    EXPECT_EQ(found.exitCode, 1u);
    EXPECT_EQ(found.out, "'c.zrm'\n" + heading + header +
                             "          12  PRIM   0x00000000           40            52\n\n'" +
                             here + "\\c.zrm.'\n" + heading + header +
                             "          12  XYZS   0x00000000            4            16\n\n'" +
                             here + "\\d.zrm '\n" + heading + header);
    EXPECT_THAT(found.err,
                HasSubstr("morvane-cli: '" + here + "\\d.zrm ': XYZS chunk at offset 12"));

    const ToolRun typed = run({L"--list", L"c.zrm."});
    EXPECT_EQ(typed.exitCode, 0u) << typed.err;
    EXPECT_THAT(typed.out, HasSubstr("'c.zrm.'\n" + heading + header + "          12  PRIM"));

    EXPECT_THAT(run({L"-q", L"-n", L"3", L"-d", L"out", L"c*"}).err,
                HasSubstr("two inputs are named 'c.zrm' and 'c.zrm.', which are one name here"));
    fs::create_directory(path(L"out"));
    const ToolRun rewritten = run({L"-q", L"-n", L"3", L"-d", L"out", L"e\\e*"});
    EXPECT_EQ(rewritten.exitCode, 0u) << rewritten.err;
    EXPECT_EQ(readFile(path(L"out\\e.zrm")), rewriteInMemory(other, 3).output);
    EXPECT_EQ(TempFolder::namesIn(path(L"out")), "e.zrm ");
}

// Each folder numbers its own 8.3 short names, so a model's short name may
// belong to another file in the output folder. Wine makes a short name from a
// hash of the long one, so these two names share one.
TEST_F(WindowsCommandLine, ABatchWritesEachModelUnderItsOwnLongName) {
    for (const wchar_t* folder : {L"in", L"out", L"both", L"again"}) {
        fs::create_directory(path(folder));
    }
    writeFile(path(L"in\\ship hull.zrm"), model_);
    writeFile(path(L"out\\ship deck 35415.zrm"), "another model");
    writeFile(path(L"again\\ship hull.zrm"), model_);
    ASSERT_EQ(shortNameOf(path(L"in\\ship hull.zrm")), L"SHIP~MVX.ZRM");
    ASSERT_EQ(shortNameOf(path(L"out\\ship deck 35415.zrm")), L"SHIP~MVX.ZRM");
    const std::string rewritten = rewriteInMemory(model_, 3).output;

    const ToolRun byShortName = run({L"-q", L"-n", L"3", L"-d", L"out", L"in\\SHIP~MVX.ZRM"});
    EXPECT_EQ(byShortName.exitCode, 0u) << byShortName.err;
    EXPECT_THAT(byShortName.err, HasSubstr("morvane-cli: wrote 'out\\ship hull.zrm' ("));
    EXPECT_EQ(readFile(path(L"out\\ship hull.zrm")), rewritten);
    EXPECT_EQ(readFile(path(L"out\\ship deck 35415.zrm")), "another model");
    EXPECT_EQ(TempFolder::namesIn(path(L"out")), "ship deck 35415.zrm ship hull.zrm ");

    // Two spellings of one model lead to one output; a model the batch reads
    // is no output, under whichever name it is reached.
    const ToolRun twice =
        run({L"-q", L"-n", L"3", L"-d", L"both", L"in\\SHIP~MVX.ZRM", L"in\\ship hull.zrm"});
    EXPECT_EQ(twice.exitCode, 1u);
    EXPECT_THAT(twice.err, HasSubstr("morvane-cli: refusing to write 'both\\ship hull.zrm': it is "
                                     "the same file as 'both\\ship hull.zrm', which this run "
                                     "writes too"));
    EXPECT_EQ(TempFolder::namesIn(path(L"both")), "ship hull.zrm ");
    EXPECT_EQ(readFile(path(L"both\\ship hull.zrm")), rewritten);
    const ToolRun read =
        run({L"-q", L"-n", L"3", L"-d", L"again", L"in\\SHIP~MVX.ZRM", L"again\\ship hull.zrm"});
    EXPECT_EQ(read.exitCode, 1u);
    EXPECT_THAT(read.err, HasSubstr("morvane-cli: refusing to write 'again\\ship hull.zrm': it "
                                    "leads to 'again\\ship hull.zrm', a model this run reads"));
    EXPECT_EQ(TempFolder::namesIn(path(L"again")), "ship hull.zrm ");
    EXPECT_EQ(readFile(path(L"again\\ship hull.zrm")), model_);
    EXPECT_EQ(TempFolder::namesIn(path(L"in")), "ship hull.zrm ");
}

// Two names of one file in the folder: the later model would take the
// earlier one's place.
TEST_F(WindowsCommandLine, TwoOutputsOfABatchThatAreOneFileAreNotBothWritten) {
    const std::string other = containerHeader() + chunk(kXyzs, 0, 4, payload(4));
    writeFile(path(L"a.zrm"), model_);
    writeFile(path(L"b.zrm"), other);
    fs::create_directory(path(L"out"));
    writeFile(path(L"out\\a.zrm"), "old");
    ASSERT_TRUE(
        ::CreateHardLinkW(path(L"out\\b.zrm").c_str(), path(L"out\\a.zrm").c_str(), nullptr));
    const ToolRun result =
        run({L"-q", L"-n", L"2", L"-d", path(L"out"), path(L"a.zrm"), path(L"b.zrm")});
    EXPECT_EQ(result.exitCode, 1u);
    EXPECT_THAT(result.err, HasSubstr("b.zrm': it is the same file as '"));
    EXPECT_EQ(readFile(path(L"out\\a.zrm")), rewriteInMemory(model_, 2).output);
    EXPECT_EQ(readFile(path(L"out\\b.zrm")), "old");
}

}  // namespace
}  // namespace morvane::testing
