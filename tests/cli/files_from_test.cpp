// --files-from: models listed one a line, or NUL-separated with -0, from a
// file or standard input, each name taken exactly as written.
#include "command_line.h"

namespace morvane::testing {
namespace {

// Names that each end with a NUL byte.
std::string nulSeparated(const std::vector<std::string>& names) {
    std::string list;
    for (const std::string& name : names) {
        list += name + '\0';
    }
    return list;
}

class FilesFrom : public CommandLine {
protected:
    // Writes a model of its own under each name.
    void writeModels(const std::vector<std::string>& names) {
        for (const std::string& name : names) {
            writeFile(path(name), numberedModel(static_cast<std::uint32_t>(models_.size() + 1)));
            models_[name] = readFile(path(name));
        }
    }

    // Exactly these models were written into `out`, each its own rewrite,
    // and were told so in this order.
    void expectWrittenInto(const std::string& out, const std::vector<std::string>& names,
                           const std::vector<std::string>& shown, const std::string& err) {
        std::string told;
        for (const std::string& name : shown) {
            told += wroteNumbered(out + "/" + name, 2) + "\n";
        }
        EXPECT_EQ(err, told);
        for (const std::string& name : names) {
            EXPECT_EQ(readFile(path(out + "/" + name)), rewriteInMemory(models_.at(name), 2).output)
                << name;
        }
        EXPECT_EQ(std::distance(fs::directory_iterator(path(out)), fs::directory_iterator()),
                  std::ssize(names));
    }

    std::map<std::string, std::string> models_;
};

// What a shell would expand or split stays as it is: a name `*.zrm` is that
// one file and `-` a file called `-`. Empty lines are passed over.
TEST_F(FilesFrom, EachLineIsOneModelTakenAsWritten) {
    const std::vector<std::string> names = {"*.zrm",          "-",
                                            "with space.zrm", "it's \"quoted\".zrm",
                                            "$HOME.zrm",      "`touch x`.zrm",
                                            "[a].zrm",        "caf\xE9.zrm",
                                            "plain.zrm"};
    writeModels(names);
    writeModels({"other.zrm", "a.zrm"});
    std::string list;
    for (const std::string& name : names) {
        list += name + (name == "-" ? "\n\n\n" : "\n");
    }
    writeFile(path("list"), "\n" + list.substr(0, list.size() - 1));
    fs::create_directory(path("out"));
    const ToolRun result = run({"-q", "-n", "2", "-d", "out", "--files-from", "list"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    expectWrittenInto("out", names, names, result.err);
    EXPECT_FALSE(fs::exists(path("x")));
}

// With -0 a name may hold a newline, and a line's end is part of the name.
TEST_F(FilesFrom, NulSeparatedNamesMayHoldNewlines) {
    const std::vector<std::string> names = {"two\nlines.zrm", "tab\there.zrm", "end \n", "-",
                                            "plain.zrm"};
    writeModels(names);
    writeModels({"two", "lines.zrm"});
    std::vector<std::string> listed = names;
    listed.insert(listed.begin() + 2, "");
    writeFile(path("list"), nulSeparated(listed));
    fs::create_directory(path("out"));
    const ToolRun result = run({"-q", "-n", "2", "-d", "out", "-0", "--files-from=list"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    expectWrittenInto("out", names,
                      {"two\\nlines.zrm", "tab\\there.zrm", "end \\n", "-", "plain.zrm"},
                      result.err);
}

// `-` is standard input; the list's models come after those named on the
// command line, and a folder in it is walked with -r.
TEST_F(FilesFrom, StandardInputIsTheListAfterTheNamedModels) {
    writeModels({"first.zrm", "second.zrm", "third.zrm"});
    fs::create_directory(path("tree"));
    writeModels({"tree/deep.zrm"});
    writeFile(path("list"), nulSeparated({"second.zrm", "tree", "third.zrm"}));
    const ToolRun result =
        run({"-q", "-n", "2", "-r", "-d", "out", "first.zrm", "-0", "--files-from", "-"},
            {.input = path("list")});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.err, wroteNumbered("out/first.zrm", 2) + "\n" +
                              wroteNumbered("out/second.zrm", 2) + "\n" +
                              wroteNumbered("out/deep.zrm", 2) + "\n" +
                              wroteNumbered("out/third.zrm", 2) + "\n");
    models_["deep.zrm"] = models_["tree/deep.zrm"];
    expectWrittenInto("out", {"first.zrm", "second.zrm", "third.zrm", "deep.zrm"}, {}, "");

    // In place the list's models are rewritten into their own names.
    writeFile(path("list"), "first.zrm\n");
    const ToolRun inPlace = run({"-q", "-n", "3", "-i", "--files-from=-"}, {.input = path("list")});
    EXPECT_EQ(inPlace.exitCode, 0) << inPlace.err;
    EXPECT_EQ(readFile(path("first.zrm")), rewriteInMemory(models_["first.zrm"], 3).output);
}

// A list that cannot be read is an error with the system's reason; the
// models named beside it are still rewritten.
TEST_F(FilesFrom, AListThatCannotBeReadIsAnErrorWithTheSystemsReason) {
    writeModels({"named.zrm"});
    fs::create_directory(path("folder"));
    fs::create_directory(path("out"));
    const std::vector<std::pair<std::string, std::string>> lists = {
        {"missing", "cannot read the list of models 'missing': No such file or directory"},
        {"folder", "cannot read the list of models 'folder': Is a directory"},
    };
    for (const auto& [list, message] : lists) {
        fs::remove(path("out/named.zrm"));
        const ToolRun result =
            run({"-q", "-n", "2", "-d", "out", "named.zrm", "--files-from", list});
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_EQ(result.err,
                  "morvane-cli: " + message + "\n" + wroteNumbered("out/named.zrm", 2) + "\n");
        EXPECT_EQ(readFile(path("out/named.zrm")), rewriteInMemory(models_["named.zrm"], 2).output);
    }
    const ToolRun input =
        run({"-q", "-n", "2", "-d", "out", "--files-from=-"}, {.input = path("folder")});
    EXPECT_EQ(input.exitCode, 1);
    EXPECT_EQ(input.err,
              "morvane-cli: cannot read the list of models from standard input: Is a directory\n");
    if (::geteuid() == 0) {
        writeFile(path("closed"), "named.zrm\n");
        fs::permissions(path("closed"), fs::perms::none);
        fs::permissions(path("out"), fs::perms(0777));
        const ToolRun closed =
            run({"-q", "-n", "2", "-d", "out", "--files-from", "closed"}, {.asNobody = true});
        EXPECT_EQ(closed.exitCode, 1);
        EXPECT_EQ(closed.err,
                  "morvane-cli: cannot read the list of models 'closed': Permission denied\n");
    }
}

}  // namespace
}  // namespace morvane::testing
