// A batch (-d): each model under its own name in the folder, outputs that
// would be one file, and a batch with few files left to open.
#include "command_line.h"

namespace morvane::testing {
namespace {

// Wherever a model is read from, named relative or absolute, it is written
// into the folder under its own file name.
TEST_F(CommandLine, ABatchWritesEachModelIntoTheFolderUnderItsFileName) {
    fs::create_directories(path("in/deep"));
    fs::create_directory(path("out"));
    writeFile(path("in/a.zrm"), model_);
    writeFile(path("in/deep/b.zrm"), model_);
    const ToolRun result = run({"-q", "-n", "2", "-d", "out", "in/a.zrm", path("in/deep/b.zrm")});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(TempFolder::namesIn(path("out")), "a.zrm b.zrm ");
    for (const char* name : {"out/a.zrm", "out/b.zrm"}) {
        EXPECT_EQ(readFile(path(name)), rewriteInMemory(model_, 2).output) << name;
    }
}

// Links in the folder may lead two outputs to one file, which would then keep
// only the later model.
TEST_F(CommandLine, TwoOutputsOfABatchThatAreOneFileAreNotBothWritten) {
    const std::vector<std::string> names = {"x.zrm", "y.zrm", "z.zrm", "a.zrm", "b.zrm"};
    std::map<std::string, std::string> models;
    std::uint32_t size = 0;
    for (const std::string& name : names) {
        size += 4;
        models[name] = containerHeader() + chunk(kPrim, 0, size, payload(size));
        writeFile(path(name), models[name]);
    }
    fs::create_directory(path("out"));
    writeFile(path("out/y.zrm"), kPrecious);
    fs::create_symlink("y.zrm", path("out/x.zrm"));
    writeFile(path("out/a.zrm"), kPrecious);
    fs::create_hard_link(path("out/a.zrm"), path("out/b.zrm"));
    std::vector<std::string> arguments = {"-q", "-n", "3", "-d", "out"};
    arguments.insert(arguments.end(), names.begin(), names.end());
    const ToolRun result = run(arguments);
    EXPECT_EQ(result.exitCode, 1);
    for (const auto& [second, first] : {std::pair{"y", "x"}, std::pair{"b", "a"}}) {
        EXPECT_THAT(result.err,
                    HasSubstr("morvane-cli: refusing to write 'out/" + std::string(second) +
                              ".zrm': it is the same file as "
                              "'out/" +
                              first +
                              ".zrm', which this run writes too, and one of the two "
                              "models would be lost\n"));
    }
    EXPECT_EQ(readFile(path("out/y.zrm")), rewriteInMemory(models["x.zrm"], 3).output);
    EXPECT_EQ(readFile(path("out/z.zrm")), rewriteInMemory(models["z.zrm"], 3).output);
    EXPECT_EQ(readFile(path("out/a.zrm")), rewriteInMemory(models["a.zrm"], 3).output);
    EXPECT_EQ(readFile(path("out/b.zrm")), kPrecious);
    EXPECT_EQ(TempFolder::namesIn(path("out")), "a.zrm b.zrm x.zrm y.zrm z.zrm ");

    // An output may also lead to a model of the batch, read before it or after.
    fs::create_directory(path("out2"));
    fs::create_symlink("../z.zrm", path("out2/x.zrm"));
    fs::create_symlink("../x.zrm", path("out2/z.zrm"));
    const ToolRun inputs = run({"-q", "-n", "3", "-d", "out2", "x.zrm", "y.zrm", "z.zrm"});
    EXPECT_EQ(inputs.exitCode, 1);
    for (const auto& [output, input] : {std::pair{"x", "z"}, std::pair{"z", "x"}}) {
        EXPECT_THAT(inputs.err, HasSubstr("morvane-cli: refusing to write 'out2/" +
                                          std::string(output) + ".zrm': it leads to '" + input +
                                          ".zrm', a model this run reads, which would be lost\n"));
        EXPECT_EQ(readFile(path(std::string(input) + ".zrm")), models[std::string(input) + ".zrm"]);
    }
    EXPECT_EQ(readFile(path("out2/y.zrm")), rewriteInMemory(models["y.zrm"], 3).output);
}

// The group of models that wait for their names together fits in the files
// the tool may still open, however many it was handed open.
TEST_F(CommandLine, ABatchWritesEveryModelWithFewFilesLeftToOpen) {
    const std::string small = containerHeader() + chunk(kPrim, 0, 4, payload(4));
    fs::create_directory(path("in"));
    fs::create_directory(path("out"));
    std::vector<std::string> arguments = {"-q", "-n", "1", "-d", "out"};
    for (int i = 0; i < 300; ++i) {
        arguments.push_back("in/" + std::to_string(i) + ".zrm");
        writeFile(path(arguments.back()), small);
    }
    const ToolRun result = run(arguments, {.openFileLimit = 64, .inheritedFiles = 40});
    EXPECT_EQ(result.exitCode, 0) << result.err.substr(0, 1000);
    EXPECT_EQ(std::ranges::count(result.err, '\n'), 300);
    EXPECT_EQ(readFile(path("out/299.zrm")), rewriteInMemory(small, 1).output);
}

}  // namespace
}  // namespace morvane::testing
