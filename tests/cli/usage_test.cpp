// The command line itself: what a usage error says, and its exit status; the
// usage that --help and a command line without words print.
#include <set>
#include <sstream>

#include "command_line.h"

namespace morvane::testing {
namespace {

// Every option the parser takes, short and long.
const std::set<std::string> kOptions = {
    "-n",        "--volumes",   "-d", "--directory",      "-i",     "--in-place", "--backup",
    "-r",        "--recursive", "-0", "--null",           "-q",     "--quiet",    "--files-from",
    "--dry-run", "--json",      "-h", "--skip-rewritten", "--list", "--help",     "--version"};

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);) {
        lines.push_back(line);
    }
    return lines;
}

// The names that begin the help's option rows, as "  -n, --volumes=N  ..."
// and "      --backup[=SUFFIX]  ...", without their values.
std::set<std::string> optionsOffered(const std::string& help) {
    std::set<std::string> options;
    for (const std::string& line : linesOf(help)) {
        const std::size_t start = line.find_first_not_of(' ');
        if (start < 2 || start > 6 || line[start] != '-') {
            continue;
        }
        std::istringstream names(line.substr(start, line.find("  ", start) - start));
        for (std::string name; std::getline(names >> std::ws, name, ',');) {
            options.insert(name.substr(0, name.find_first_of("=[")));
        }
    }
    return options;
}

class Usage : public CommandLine {
protected:
    // Whether the parser takes `word` for an option: one it does not know is
    // "not expected", and a word that looks like a negative number and is no
    // option would be a third path.
    bool parserTakes(const std::string& word) {
        const std::string err = run({"-n", "1", word, "in.zrm", "out.zrm"}).err;
        return err.find("not expected") == std::string::npos &&
               err.find("got 3 paths") == std::string::npos;
    }
};

// --help is our own text, grouped by task, with no parser notes; it offers
// every option the parser takes and only those, and fits 80 columns. "/?" is
// a path here, not a request for help.
TEST_F(Usage, HelpOffersEveryOptionTheParserTakesWithinEightyColumns) {
    const ToolRun help = run({"--help"});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.err, "");
    EXPECT_THAT(help.out,
                ::testing::StartsWith("Usage: morvane-cli -n N [OPTION]... INPUT OUTPUT\n"));
    for (const std::string& line : linesOf(help.out)) {
        EXPECT_LE(line.size(), 80u) << line;
        EXPECT_TRUE(std::ranges::all_of(line, [](char c) { return c >= ' ' && c <= '~'; })) << line;
    }
    for (const std::string note : {"Excludes", "Needs", "REQUIRED", "Positionals", "TEXT"}) {
        EXPECT_THAT(help.out, ::testing::Not(HasSubstr(note)));
    }
    for (const std::string group :
         {"\nRewriting one model:\n", "\nA batch into a folder:\n", "\nIn place:\n",
          "\nChoosing the models:\n", "\nWhat is printed:\n", "\nListing:\n",
          "\nExit status: ", "\nExamples:\n"}) {
        EXPECT_THAT(help.out, HasSubstr(group));
    }
    EXPECT_EQ(optionsOffered(help.out), kOptions);
    EXPECT_EQ(run({"-h"}).out, help.out);
    EXPECT_EQ(run({"-n", "3", "--help", "in.zrm"}).out, help.out);

    // Each of kOptions is taken by the parser, and so is no other short option.
    for (const std::string& option : kOptions) {
        EXPECT_TRUE(parserTakes(option)) << option;
    }
    for (const char letter :
         std::string("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789")) {
        const std::string option = std::string("-") + letter;
        EXPECT_EQ(parserTakes(option), kOptions.contains(option)) << option;
    }
    EXPECT_EQ(run({"/?"}).err,
              "morvane-cli: --volumes is required\nRun 'morvane-cli --help' for usage.\n");
    EXPECT_EQ(folder_.listing(), "");
}

// Without any word the tool says how it is used, on standard error, as a
// usage error: the forms of the command line that --help begins with.
TEST_F(Usage, NoArgumentsPrintTheShortUsage) {
    const ToolRun bare = run({});
    EXPECT_EQ(bare.exitCode, 2);
    EXPECT_EQ(bare.out, "");
    const std::string help = run({"--help"}).out;
    const std::string forms = help.substr(0, help.find("\n\n") + 1);
    EXPECT_THAT(forms, HasSubstr("--files-from=FILE [-0]\n"));
    EXPECT_EQ(bare.err, forms + "Run 'morvane-cli --help' for the options.\n");
}

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
