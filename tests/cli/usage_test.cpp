// The command line itself: what a usage error says, and its exit status.
#include "command_line.h"

namespace morvane::testing {
namespace {

// The count is read as the window's field reads it: white space around it
// and one leading plus sign are taken; what the field refuses is refused.
TEST_F(CommandLine, TheCountIsReadAsTheWindowReadsIt) {
    writeFile(path("in.zrm"), model_);
    for (const std::string count : {" 3", "+3", "3\t", " +3 "}) {
        SCOPED_TRACE(count);
        fs::remove(path("out.zrm"));
        const ToolRun result = run({"-q", "-n", count, "in.zrm", "out.zrm"});
        EXPECT_EQ(result.exitCode, 0) << result.err;
        EXPECT_EQ(readFile(path("out.zrm")), rewriteInMemory(model_, 3).output);
    }
    EXPECT_EQ(run({"-q", "--volumes= +3", "in.zrm", "out.zrm"}).exitCode, 0);
    const std::string count =
        "--volumes: the number of collision volumes must be a whole number from 1 to 1000, not ";
    for (const std::string refused : {"+-3", "++3", "+ 3", "3 3", "0x3", " "}) {
        const ToolRun result = run({"-n", refused, "in.zrm", "refused.zrm"});
        EXPECT_EQ(result.exitCode, 2) << refused;
        EXPECT_EQ(result.err, "morvane-cli: " + count + "'" + refused +
                                  "'\nRun 'morvane-cli --help' for usage.\n");
    }
    EXPECT_EQ(folder_.listing(), "in.zrm out.zrm ");
}

TEST_F(CommandLine, UsageErrorsExitTwoAndSayWhatWasExpected) {
    writeFile(path("in.zrm"), model_);
    fs::create_directory(path("adir"));
    const std::string count =
        "--volumes: the number of collision volumes must be a whole number from 1 to 1000, not ";
    const std::string twoPaths = "expected INPUT and OUTPUT, got ";
    const std::string recursive =
        "-r needs -d DIR or -i: a tree of models is rewritten into a folder or in place";
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases = {
        {{"in.zrm", "out.zrm"}, "--volumes is required"},
        {{"-n", "0", "in.zrm", "out.zrm"}, count + "'0'"},
        {{"-n", "1001", "in.zrm", "out.zrm"}, count + "'1001'"},
        {{"-n", "5\x1b", "in.zrm", "out.zrm"}, count + "'5\\x1B'"},
        {{"-n", "2", "-d", "", "in.zrm"},
         "--directory: the folder given with -d must not be empty"},
        {{"-n", "2", "--directory=", "adir", "in.zrm"},
         "--directory: the folder given with -d must not be empty"},
        {{"--volumes=", "in.zrm", "out.zrm"}, count + "''"},
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
        {{"--list", "-r", "adir"}, "--recursive excludes --list"},
        {{"--list", "-i", "in.zrm"}, "--in-place excludes --list"},
        {{"--list", "--dry-run", "in.zrm"}, "--dry-run excludes --list"},
        {{"-n", "2", "-r", "adir"}, recursive},
        {{"-n", "2", "-r", "adir", "out.zrm"}, recursive},
        {{"-n", "2", "-i", "-d", "out", "in.zrm"},
         "-i and -d exclude each other: -i writes each model into its own name"},
        {{"-n", "2", "-i"}, "expected one or more inputs after -i"},
        {{"-n", "2", "--backup", "in.zrm", "out.zrm"},
         "--backup goes with -i: it keeps each model rewritten in place"},
        {{"-n", "2", "-i", "--backup=", "in.zrm"}, "--backup: the backup suffix must not be empty"},
        {{"-n", "2", "-r", "-i", "--backup=.old.ZRM", "adir"},
         "the backup suffix '.old.ZRM' ends in .zrm, so that a later -r would take the backups "
         "for models"},
        {{"-n", "2", "-d", "out", "-0", "in.zrm"},
         "-0 goes with --files-from: it says how the list's names are separated"},
        {{"-n", "2", "--files-from", "in.zrm"},
         "--files-from needs -d DIR, -i or --list: its models have no OUTPUT"},
        {{"-n", "2", "-d", "out", "--files-from="},
         "--files-from: the list given with --files-from must not be empty"},
    };
    for (const auto& [arguments, message] : cases) {
        const ToolRun result = run(arguments);
        EXPECT_EQ(result.exitCode, 2) << message;
        EXPECT_EQ(result.err,
                  "morvane-cli: " + message + "\nRun 'morvane-cli --help' for usage.\n");
    }
    EXPECT_THAT(run({"--help"}).out, HasSubstr("Usage: morvane-cli"));
    EXPECT_EQ(folder_.listing() + TempFolder::namesIn(path("adir")), "adir in.zrm ");
}

}  // namespace
}  // namespace morvane::testing
