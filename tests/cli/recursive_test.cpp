// -r: a folder stands for the models under it, in name order, and -d keeps
// their tree; links to folders, other files and the output folder are never
// read as models.
#include "command_line.h"

namespace morvane::testing {
namespace {

// Every file under `folder`, by its path below it.
std::vector<std::string> filesUnder(const fs::path& folder) {
    std::vector<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        if (!entry.is_directory()) {
            files.push_back(fs::relative(entry.path(), folder).string());
        }
    }
    std::ranges::sort(files);
    return files;
}

class RecursiveRun : public CommandLine {
protected:
    // Writes a model of its own at each name under the test's folder.
    void writeModels(const std::vector<std::string>& names) {
        for (const std::string& name : names) {
            fs::create_directories(fs::path(path(name)).parent_path());
            writeFile(path(name), numberedModel(++written_));
            models_[name] = readFile(path(name));
        }
    }

    // Each of `names` has its single rewrite at its place under `out`, as
    // found under `from`.
    void expectRewrittenUnder(const std::string& out, const std::string& from,
                              const std::vector<std::string>& names, int volumes) {
        for (const std::string& name : names) {
            EXPECT_EQ(readFile(path(out + "/" + name)),
                      rewriteInMemory(models_.at(from + "/" + name), volumes).output)
                << name;
        }
    }

    std::map<std::string, std::string> models_;
    std::uint32_t written_ = 0;
};

// Names sort by their bytes, folders among files; a model under a folder
// comes where the folder's name falls. Any case of .zrm is a model.
TEST_F(RecursiveRun, AFolderStandsForEveryModelUnderItInNameOrderAndKeepsItsTree) {
    writeModels({"ships/frigate/lod1/hull.Zrm", "ships/a.zrm", "ships/frigate/lod0/hull.zrm",
                 "ships/B.zrm", "ships/a/x.ZRM", "ships/a-b.zrm", "ships/galleon/hull.zrm"});
    writeFile(path("ships/frigate/lod0/readme.txt"), "not a model");
    writeFile(path("ships/frigate/hull.zrm.bak"), kPrecious);
    writeFile(path("ships/frigate/zrm"), kPrecious);
    writeFile(path("ships/notes.zrmx"), kPrecious);
    fs::create_directory_symlink("frigate", path("ships/linked"));
    fs::create_directory_symlink("..", path("ships/frigate/lod0/up.zrm"));
    fs::create_directory_symlink("../..", path("ships/galleon/loop"));
    fs::create_symlink("a.zrm", path("ships/alias.zrm"));
    const ToolRun result = run({"-q", "-n", "2", "-r", "-d", "out", "ships"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    const std::vector<std::string> found = {"B.zrm",
                                            "a/x.ZRM",
                                            "a-b.zrm",
                                            "a.zrm",
                                            "alias.zrm",
                                            "frigate/lod0/hull.zrm",
                                            "frigate/lod1/hull.Zrm",
                                            "galleon/hull.zrm"};
    std::vector<std::string> told;
    for (const std::string& name : found) {
        told.push_back("morvane-cli: wrote 'out/" + name + "'");
    }
    EXPECT_EQ(subjects(result.err), told);
    EXPECT_EQ(filesUnder(path("out")), (std::vector<std::string>{
                                           "B.zrm",
                                           "a-b.zrm",
                                           "a.zrm",
                                           "a/x.ZRM",
                                           "alias.zrm",
                                           "frigate/lod0/hull.zrm",
                                           "frigate/lod1/hull.Zrm",
                                           "galleon/hull.zrm",
                                       }));
    models_["ships/alias.zrm"] = models_["ships/a.zrm"];
    expectRewrittenUnder("out", "ships", found, 2);

    // The tree below each folder given is kept, however it is spelled.
    const ToolRun deeper = run({"-q", "-n", "3", "-r", "-d", "out2", "ships/frigate/",
                                path("ships/galleon"), "ships/B.zrm"});
    EXPECT_EQ(deeper.exitCode, 0) << deeper.err;
    EXPECT_EQ(filesUnder(path("out2")),
              (std::vector<std::string>{"B.zrm", "hull.zrm", "lod0/hull.zrm", "lod1/hull.Zrm"}));
    EXPECT_EQ(readFile(path("out2/hull.zrm")),
              rewriteInMemory(models_["ships/galleon/hull.zrm"], 3).output);
    EXPECT_EQ(readFile(path("out2/lod0/hull.zrm")),
              rewriteInMemory(models_["ships/frigate/lod0/hull.zrm"], 3).output);
}

// The folders are made as mkdir makes them: 0777 less the mask. A folder
// that is there already keeps its own mode.
TEST_F(RecursiveRun, FoldersAreMadeWithTheModeMkdirGives) {
    writeModels({"ships/frigate/lod0/hull.zrm", "ships/top.zrm"});
    fs::create_directory(path("kept"));
    fs::permissions(path("kept"), fs::perms(0700));
    for (const mode_t mask : {mode_t{002}, mode_t{027}}) {
        SCOPED_TRACE(mask);
        const std::string out = "out" + std::to_string(mask);
        const ToolRun result = run({"-q", "-n", "1", "-r", "-d", out, "ships"}, {.fileMask = mask});
        EXPECT_EQ(result.exitCode, 0) << result.err;
        for (const std::string& folder : {out, out + "/frigate", out + "/frigate/lod0"}) {
            EXPECT_EQ(fs::status(path(folder)).permissions(), fs::perms(0777 & ~mask)) << folder;
        }
        EXPECT_EQ(run({"-q", "-n", "1", "-r", "-d", "kept", "ships"}, {.fileMask = mask}).exitCode,
                  0);
        EXPECT_EQ(fs::status(path("kept")).permissions(), fs::perms(0700));
        EXPECT_EQ(fs::status(path("kept/frigate")).permissions(), fs::perms(0777 & ~mask));
        fs::remove_all(path("kept/frigate"));
    }
    expectRewrittenUnder("out2", "ships", {"top.zrm", "frigate/lod0/hull.zrm"}, 1);
}

// An output folder inside the tree is not read, whatever its spelling: a
// second run finds the same models as the first, not its outputs.
TEST_F(RecursiveRun, TheOutputFolderIsNeverReadAsInput) {
    writeModels({"ships/a.zrm", "ships/frigate/hull.zrm", "ships/zulu/hull.zrm"});
    const std::vector<std::string> told = {"morvane-cli: wrote 'ships/out/a.zrm'",
                                           "morvane-cli: wrote 'ships/out/frigate/hull.zrm'",
                                           "morvane-cli: wrote 'ships/out/zulu/hull.zrm'"};
    const ToolRun first = run({"-q", "-n", "2", "-r", "-d", "ships/out", "ships"});
    EXPECT_EQ(first.exitCode, 0) << first.err;
    EXPECT_EQ(subjects(first.err), told);
    const ToolRun second = run({"-q", "-n", "2", "-r", "-d", "ships/out", "ships"});
    EXPECT_EQ(second.exitCode, 0) << second.err;
    EXPECT_EQ(subjects(second.err), told);
    const ToolRun spelled = run({"-q", "-n", "2", "-r", "-d", path("ships/./out/"), "ships"});
    EXPECT_EQ(spelled.exitCode, 0) << spelled.err;
    EXPECT_EQ(std::ranges::count(spelled.err, '\n'), 3) << spelled.err;
    EXPECT_EQ(filesUnder(path("ships/out")),
              (std::vector<std::string>{"a.zrm", "frigate/hull.zrm", "zulu/hull.zrm"}));
    expectRewrittenUnder("ships/out", "ships", {"a.zrm", "frigate/hull.zrm", "zulu/hull.zrm"}, 2);
}

// Two folders given may each hold a model at one place below them: the
// later one is refused, and the batch goes on.
TEST_F(RecursiveRun, TwoModelsThatMeetAtOneOutputNameAreNotBothWritten) {
    writeModels({"docks/hull.zrm", "ships/hull.zrm", "ships/mast.zrm"});
    const ToolRun result = run({"-q", "-n", "2", "-r", "-d", "out", "docks", "ships"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, wroteNumbered("out/hull.zrm", 2) +
                              "\nmorvane-cli: refusing to write 'out/hull.zrm': it is the same "
                              "file as 'out/hull.zrm', which this run writes too, and one of the "
                              "two models would be lost\n" +
                              wroteNumbered("out/mast.zrm", 2) + "\n");
    expectRewrittenUnder("out", "docks", {"hull.zrm"}, 2);
    expectRewrittenUnder("out", "ships", {"mast.zrm"}, 2);
}

// A folder that cannot be read is named; the rest of the tree is still done.
TEST_F(RecursiveRun, AFolderThatCannotBeReadIsToldAndTheRestIsDone) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "a folder closed to the tool needs it run as another user";
    }
    writeModels({"ships/a.zrm", "ships/locked/hidden.zrm", "ships/z.zrm"});
    fs::permissions(path("ships/locked"), fs::perms::none);
    fs::create_directory(path("out"));
    fs::permissions(path("out"), fs::perms(0777));
    const ToolRun result = run({"-q", "-n", "2", "-r", "-d", "out", "ships"}, {.asNobody = true});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(subjects(result.err),
              (std::vector<std::string>{"morvane-cli: cannot read the folder 'ships/locked'",
                                        "morvane-cli: wrote 'out/a.zrm'",
                                        "morvane-cli: wrote 'out/z.zrm'"}));
    EXPECT_THAT(result.err, HasSubstr("'ships/locked': Permission denied\n"));
    expectRewrittenUnder("out", "ships", {"a.zrm", "z.zrm"}, 2);
    EXPECT_EQ(filesUnder(path("out")), (std::vector<std::string>{"a.zrm", "z.zrm"}));
}

}  // namespace
}  // namespace morvane::testing
