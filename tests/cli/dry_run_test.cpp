// --dry-run: everything read and checked, every output planned and every
// refusal found, nothing made, written or renamed; and the real run then does
// exactly what was foretold, with the same exit status.
#include "command_line.h"

namespace morvane::testing {
namespace {

// The start of what the real run says of a model, from what the dry run
// said it would: a would-write line foretells the written line up to its
// counts.
std::string foretold(const std::string& line) {
    const std::string tool = "morvane-cli: ";
    for (const std::string prefix : {"would refuse: ", "would fail: "}) {
        if (line.starts_with(tool + prefix)) {
            return tool + line.substr(tool.size() + prefix.size());
        }
    }
    if (line.starts_with(tool + "would leave out ")) {
        const std::string rest = line.substr(tool.size() + 16);
        return tool + "left out " + rest.substr(0, rest.rfind(" would not be written")) +
               " was not written";
    }
    if (line.starts_with(tool + "would write ")) {
        const std::string rest = line.substr(tool.size() + 12);
        return tool + "wrote " + rest.substr(0, rest.find(" bytes)") + 7) + ": ";
    }
    return line;
}

// The real run's line for each model is the one the dry run foretold, and
// so is its JSON object but for its status.
void expectForetold(const ToolRun& dry, const ToolRun& real) {
    const std::vector<std::string> would = linesOf(dry.err);
    const std::vector<std::string> did = linesOf(real.err);
    ASSERT_EQ(would.size(), did.size()) << dry.err << "\n" << real.err;
    for (std::size_t i = 0; i < would.size(); ++i) {
        EXPECT_THAT(did[i], ::testing::StartsWith(foretold(would[i]))) << would[i];
    }
    std::vector<nlohmann::json> plans = jsonLines(dry.out);
    const std::vector<nlohmann::json> results = jsonLines(real.out);
    for (nlohmann::json& plan : plans) {
        if (plan["status"] == "would-write") {
            plan["status"] = "written";
        }
        if (plan["message"].is_string()) {
            plan["message"] = foretold("morvane-cli: " + plan["message"].get<std::string>())
                                  .substr(std::string("morvane-cli: ").size());
        }
    }
    EXPECT_EQ(plans, results);
}

class DryRun : public CommandLine {
protected:
    // Runs `arguments` with --dry-run, then for real, each with --json: the
    // dry run leaves the folder as it was, byte for byte, and foretells the
    // real run and its exit status.
    ToolRun dryThenReal(std::vector<std::string> arguments, int exitCode) {
        arguments.push_back("--json");
        const std::map<std::string, std::string> before = treeOf(folder_.path());
        std::vector<std::string> dryArguments = arguments;
        dryArguments.push_back("--dry-run");
        const ToolRun dry = run(dryArguments);
        EXPECT_EQ(dry.exitCode, exitCode) << dry.err;
        EXPECT_EQ(treeOf(folder_.path()), before);
        const ToolRun real = run(arguments);
        EXPECT_EQ(real.exitCode, exitCode) << real.err;
        expectForetold(dry, real);
        return dry;
    }
};

// Every outcome a batch can have, with the folders a tree needs still to
// be made.
TEST_F(DryRun, ABatchIsForetoldModelByModelAndNothingIsMade) {
    const std::string plain = numberedModel(1);
    for (const char* name : {"a.zrm", "b.zrm", "ro.zrm", "x.zrm", "y.zrm", "tree/deep/d.zrm",
                             "tree/blocked/e.zrm", "out/self.zrm"}) {
        fs::create_directories(fs::path(path(name)).parent_path());
        writeFile(path(name), plain);
    }
    writeFile(path("done.zrm"), rewriteInMemory(plain, 2).output);
    writeFile(path("cut.zrm"), plain.substr(0, plain.size() - 1));
    writeFile(path("out/b.zrm"), kPrecious);
    writeFile(path("out/ro.zrm"), kPrecious);
    fs::permissions(path("out/ro.zrm"), fs::perms(0444));
    writeFile(path("out/x.zrm"), kPrecious);
    fs::create_hard_link(path("out/x.zrm"), path("out/y.zrm"));
    writeFile(path("out/blocked"), kPrecious);
    const ToolRun dry =
        dryThenReal({"-n", "2", "--skip-rewritten", "-r", "-d", "out", "a.zrm", "b.zrm", "done.zrm",
                     "cut.zrm", "ro.zrm", "out/self.zrm", "x.zrm", "y.zrm", "missing.zrm", "tree"},
                    1);
    const std::size_t bytes = rewriteInMemory(plain, 2).output.size();
    const std::string would = "morvane-cli: would write 'out/";
    EXPECT_EQ(
        linesOf(dry.err),
        (std::vector<std::string>{
            would + "a.zrm' (" + std::to_string(bytes) + " bytes)",
            would + "b.zrm' (" + std::to_string(bytes) + " bytes), replacing a file",
            "morvane-cli: would leave out 'done.zrm': it already carries a block of 2 collision "
            "volumes (in its last PRIM chunk, at offset 28); 'out/done.zrm' would not be written",
            "morvane-cli: would refuse: 'cut.zrm': PRIM chunk at offset 28: the payload needs 8 "
            "bytes, only 7 remain",
            "morvane-cli: would refuse: 'out/ro.zrm' is read-only; make it writable to replace it",
            "morvane-cli: would refuse: refusing to write 'out/self.zrm': it is the input model "
            "itself, which would be lost",
            would + "x.zrm' (" + std::to_string(bytes) + " bytes), replacing a file",
            "morvane-cli: would refuse: refusing to write 'out/y.zrm': it is the same file as "
            "'out/x.zrm', which this run writes too, and one of the two models would be lost",
            "morvane-cli: would fail: cannot open the model 'missing.zrm': No such file or "
            "directory",
            "morvane-cli: would fail: cannot write 'out/blocked/e.zrm': Not a directory",
            would + "deep/d.zrm' (" + std::to_string(bytes) + " bytes)"}));
    EXPECT_EQ(readFile(path("out/deep/d.zrm")), rewriteInMemory(plain, 2).output);
}

// The exit status is the real run's: 0 when all would be written, 1 when a
// model's output folder is missing and nothing would make it.
TEST_F(DryRun, TheExitStatusIsTheRealRunsOwn) {
    writeFile(path("a.zrm"), numberedModel(1));
    dryThenReal({"-n", "2", "-d", "nowhere", "a.zrm"}, 1);
    EXPECT_EQ(folder_.listing(), "a.zrm ");
    dryThenReal({"-n", "2", "-r", "-d", "made/below", "a.zrm"}, 0);
    EXPECT_EQ(readFile(path("made/below/a.zrm")), rewriteInMemory(numberedModel(1), 2).output);
    fs::create_directory(path("out"));
    dryThenReal({"-n", "2", "-d", "out", "a.zrm"}, 0);
}

// In place, backups and all: nothing is renamed until the real run.
TEST_F(DryRun, InPlaceWithBackupsIsForetoldAndNothingIsRenamed) {
    for (const char* name : {"lib/a.zrm", "lib/deep/b.zrm", "lib/deep/c.zrm"}) {
        fs::create_directories(fs::path(path(name)).parent_path());
        writeFile(path(name), numberedModel(2));
    }
    writeFile(path("lib/deep/b.zrm.bak"), kPrecious);
    fs::create_directory(path("lib/deep/c.zrm.bak"));
    const ToolRun dry = dryThenReal({"-n", "3", "-r", "-i", "--backup", "lib"}, 1);
    const std::size_t bytes = rewriteInMemory(numberedModel(2), 3).output.size();
    EXPECT_EQ(linesOf(dry.err),
              (std::vector<std::string>{
                  "morvane-cli: would write 'lib/a.zrm' (" + std::to_string(bytes) +
                      " bytes), replacing a file, and keep the model as it was as 'lib/a.zrm.bak'",
                  "morvane-cli: would write 'lib/deep/b.zrm' (" + std::to_string(bytes) +
                      " bytes), replacing a file, and keep the model as it was as "
                      "'lib/deep/b.zrm.bak'",
                  "morvane-cli: would refuse: refusing to keep the backup of 'lib/deep/c.zrm' as "
                  "'lib/deep/c.zrm.bak': it is a folder"}));
    EXPECT_EQ(readFile(path("lib/deep/b.zrm.bak")), numberedModel(2));
    EXPECT_EQ(readFile(path("lib/deep/c.zrm")), numberedModel(2));
    // Run again, everything is left out, as foretold.
    dryThenReal({"-q", "-n", "3", "-r", "-i", "--backup", "lib/a.zrm", "lib/deep/b.zrm"}, 0);
}

}  // namespace
}  // namespace morvane::testing
