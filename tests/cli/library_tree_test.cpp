// A studio's library: 300 models in a tree, one file name in many folders,
// names that a shell would read as syntax or that are not UTF-8, through
// every way of rewriting many models at once. Each output is the single
// rewrite of its model.
#include <memory>

#include "command_line.h"

namespace morvane::testing {
namespace {

// A name as the file system holds it, and as JSON shows it: each byte that
// is not UTF-8 becomes U+FFFD.
struct Name {
    std::string bytes;
    std::string shown;
};

const std::vector<Name> kFolders = {
    {"ships", "ships"},
    {"ships/frigate/lod0", "ships/frigate/lod0"},
    {"ships/frigate/lod1", "ships/frigate/lod1"},
    {"odd dir", "odd dir"},
    {"it's", "it's"},
    {"say \"hi\"", "say \"hi\""},
    {"$HOME", "$HOME"},
    {"`touch INJECTED`", "`touch INJECTED`"},
    {"$(touch INJECTED)/deep", "$(touch INJECTED)/deep"},
    {"new\nline", "new\nline"},
    {"caf\xE9", "caf\xEF\xBF\xBD"},
    {"tab\there/[ab]*", "tab\there/[ab]*"},
};

const std::vector<Name> kFiles = {
    {"hull.zrm", "hull.zrm"},
    {"deck.ZRM", "deck.ZRM"},
    {"with space.zrm", "with space.zrm"},
    {"it's.zrm", "it's.zrm"},
    {"\"q\".zrm", "\"q\".zrm"},
    {"$x.zrm", "$x.zrm"},
    {"`id`.zrm", "`id`.zrm"},
    {"new\nline.zrm", "new\nline.zrm"},
    {"\xFF\xFE.zrm", "\xEF\xBF\xBD\xEF\xBF\xBD.zrm"},
};

constexpr int kVolumes = 3;
constexpr std::size_t kModels = 300;

struct Model {
    Name below;  // the tree
    std::string original;
    std::string rewritten;  // by a single rewrite
};

// Each single rewrite syncs its model; many at once share the file
// system's commits.
void rewriteEachOnItsOwn(std::vector<Model>& models) {
    constexpr std::size_t kAtOnce = 32;
    TempFolder folder;
    for (std::size_t first = 0; first < models.size(); first += kAtOnce) {
        std::vector<std::unique_ptr<CliProcess>> running;
        const std::size_t end = std::min(first + kAtOnce, models.size());
        for (std::size_t i = first; i < end; ++i) {
            const std::string number = std::to_string(i);
            writeFile(folder / (number + ".zrm"), models[i].original);
            fs::create_directory(folder / number);
            running.push_back(std::make_unique<CliProcess>(
                std::vector<std::string>{"-q", "-n", std::to_string(kVolumes), number + ".zrm",
                                         number + "/single.zrm"},
                folder.path(), folder / number, ProcessSetup{}));
        }
        running.clear();
        for (std::size_t i = first; i < end; ++i) {
            models[i].rewritten = readFile(folder / std::to_string(i) / "single.zrm");
        }
    }
}

// 12 folders of 25 models each, 9 of the names in every folder; each model
// of its own, rewritten on its own by the tool, once for all the tests.
const std::vector<Model>& library() {
    static const std::vector<Model> models = [] {
        std::vector<Model> made;
        for (const Name& under : kFolders) {
            std::vector<Name> names = kFiles;
            for (int part = 0; names.size() < kModels / kFolders.size(); ++part) {
                const std::string name = "part-" + std::to_string(part) + ".zrm";
                names.push_back({name, name});
            }
            for (const Name& name : names) {
                made.push_back({{under.bytes + "/" + name.bytes, under.shown + "/" + name.shown},
                                numberedModel(static_cast<std::uint32_t>(made.size() + 1)),
                                ""});
            }
        }
        rewriteEachOnItsOwn(made);
        return made;
    }();
    return models;
}

class LibraryTree : public CommandLine {
protected:
    void SetUp() override {
        for (const Model& model : models_) {
            ASSERT_FALSE(model.rewritten.empty()) << model.below.bytes;
            const fs::path file = path("lib/" + model.below.bytes);
            fs::create_directories(file.parent_path());
            writeFile(file, model.original);
        }
        ASSERT_EQ(models_.size(), kModels);
    }

    // Each model's rewrite is at its place under `out`, with `backup` beside
    // it holding the model as it was when one is named, and nothing else is.
    void expectEachRewrittenUnder(const std::string& out, const std::string& backup = "") {
        for (const Model& model : models_) {
            const fs::path file = path(out + "/" + model.below.bytes);
            EXPECT_EQ(readFile(file), model.rewritten) << file;
            if (!backup.empty()) {
                EXPECT_EQ(readFile(file.string() + backup), model.original) << file;
            }
        }
        const auto files = std::ranges::count_if(
            fs::recursive_directory_iterator(path(out)), fs::recursive_directory_iterator(),
            [](const fs::directory_entry& entry) { return entry.is_regular_file(); });
        EXPECT_EQ(files, std::ssize(models_) * (backup.empty() ? 1 : 2));
    }

    // Nothing ran a command out of a name.
    void expectNothingInjected() {
        for (const auto& entry : fs::recursive_directory_iterator(folder_.path())) {
            EXPECT_NE(entry.path().filename(), "INJECTED") << entry.path();
        }
    }

    const std::vector<Model>& models_ = library();
};

// -r -d with --json: the tree is kept, and each model's line names it.
TEST_F(LibraryTree, TheWholeTreeIsRewrittenIntoAFolderAndEachModelReported) {
    const ToolRun result =
        run({"-q", "-n", std::to_string(kVolumes), "--json", "-r", "-d", "out", "lib"});
    EXPECT_EQ(result.exitCode, 0) << result.err.substr(0, 2000);
    EXPECT_EQ(result.err, "");
    expectEachRewrittenUnder("out");
    std::map<std::string, std::string> outputs;
    for (const nlohmann::json& line : jsonLines(result.out)) {
        EXPECT_EQ(line["status"], "written") << line;
        outputs[line["input"]] = line["output"];
    }
    ASSERT_EQ(outputs.size(), kModels);
    for (const Model& model : models_) {
        EXPECT_EQ(outputs["lib/" + model.below.shown], "out/" + model.below.shown);
    }
    expectNothingInjected();
}

// -r -i --backup over a copy of the tree: every model in its own name, the
// old one beside it.
TEST_F(LibraryTree, TheWholeTreeIsRewrittenInPlaceWithBackups) {
    const ToolRun result =
        run({"-q", "-n", std::to_string(kVolumes), "-r", "-i", "--backup", "lib"});
    EXPECT_EQ(result.exitCode, 0) << result.err.substr(0, 2000);
    EXPECT_EQ(std::ranges::count(result.err, '\n'), std::ssize(models_));
    expectEachRewrittenUnder("lib", ".bak");
    expectNothingInjected();
}

// A NUL-separated list of every model, in an order of its own, in place and
// reported in that order.
TEST_F(LibraryTree, EveryModelOfANulSeparatedListIsRewritten) {
    std::string list;
    std::vector<std::string> inputs;
    for (std::size_t i = 0; i < models_.size(); ++i) {
        const Model& model = models_[(i * 7) % models_.size()];
        list += "lib/" + model.below.bytes + '\0';
        inputs.push_back("lib/" + model.below.shown);
    }
    writeFile(path("list"), list);
    const ToolRun result =
        run({"-q", "-n", std::to_string(kVolumes), "--json", "-i", "-0", "--files-from", "list"});
    EXPECT_EQ(result.exitCode, 0) << result.err.substr(0, 2000);
    std::vector<std::string> reported;
    for (const nlohmann::json& line : jsonLines(result.out)) {
        reported.push_back(line["input"]);
        EXPECT_EQ(line["output"], line["input"]);
    }
    EXPECT_EQ(reported, inputs);
    expectEachRewrittenUnder("lib");
}

}  // namespace
}  // namespace morvane::testing
