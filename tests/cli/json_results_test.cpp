// --json: one object a model on standard output, one a line, with exactly
// its fields, in place of the trace; standard error keeps its lines.
#include "command_line.h"

namespace morvane::testing {
namespace {

using nlohmann::json;

// One model's line as it must be.
json result(const std::string& input, const json& output, const std::string& status,
            const json& message, const json& bytes, const json& prims, int volumes, bool replaced,
            const json& backup) {
    return {{"input", input},     {"output", output},     {"status", status},
            {"message", message}, {"bytes", bytes},       {"prim_chunks", prims},
            {"volumes", volumes}, {"replaced", replaced}, {"backup", backup}};
}

// The keys of each line, in the order they come.
std::vector<std::string> keysOf(const std::string& line) {
    std::vector<std::string> keys;
    const nlohmann::ordered_json object = nlohmann::ordered_json::parse(line);
    for (const auto& [key, value] : object.items()) {
        keys.push_back(key);
    }
    return keys;
}

// Every status a model can end with in a real run, each line with exactly
// its values; nothing of the trace.
TEST_F(CommandLine, EachModelGetsOneLineWithExactlyItsFields) {
    const std::string plain = numberedModel(1);
    const std::string rewritten = rewriteInMemory(numberedModel(2), 3).output;
    writeFile(path("new.zrm"), plain);
    writeFile(path("old.zrm"), plain);
    writeFile(path("done.zrm"), rewritten);
    writeFile(path("cut.zrm"), plain.substr(0, 40));
    fs::create_directory(path("out"));
    writeFile(path("out/old.zrm"), kPrecious);
    const ToolRun batch = run({"-n", "2", "--json", "--skip-rewritten", "-d", "out", "new.zrm",
                               "old.zrm", "done.zrm", "cut.zrm", "missing.zrm"});
    EXPECT_EQ(batch.exitCode, 1);
    const std::int64_t bytes = std::ssize(rewriteInMemory(plain, 2).output);
    const std::string cut =
        "'cut.zrm': PRIM chunk at offset 28: the payload needs 8 bytes, only 0 "
        "remain";
    const std::string missing = "cannot open the model 'missing.zrm': No such file or directory";
    const std::vector<json> expected = {
        result("new.zrm", "out/new.zrm", "written", nullptr, bytes, 1, 2, false, nullptr),
        result("old.zrm", "out/old.zrm", "written", nullptr, bytes, 1, 2, true, nullptr),
        result("done.zrm", nullptr, "left-out", nullptr, nullptr, nullptr, 2, false, nullptr),
        result("cut.zrm", "out/cut.zrm", "refused", cut, nullptr, nullptr, 2, false, nullptr),
        result("missing.zrm", "out/missing.zrm", "failed", missing, nullptr, nullptr, 2, false,
               nullptr)};
    EXPECT_EQ(jsonLines(batch.out), expected);
    for (const std::string& line : linesOf(batch.out)) {
        EXPECT_EQ(keysOf(line),
                  (std::vector<std::string>{"input", "output", "status", "message", "bytes",
                                            "prim_chunks", "volumes", "replaced", "backup"}));
    }
    // Standard error keeps every line it has without --json.
    const std::vector<std::string> told = linesOf(batch.err);
    ASSERT_EQ(told.size(), 5u) << batch.err;
    EXPECT_EQ(told[0], wroteNumbered("out/new.zrm", 2));
    EXPECT_EQ(told[1], wroteNumbered("out/old.zrm", 2));
    EXPECT_THAT(told[2], ::testing::StartsWith("morvane-cli: left out 'done.zrm': it already "));
    EXPECT_EQ(told[3], "morvane-cli: " + cut);
    EXPECT_EQ(told[4], "morvane-cli: " + missing);
}

// In place with a backup, and planned only: what would be written is told
// as it would be written. -q leaves the summaries out of standard error,
// never the errors.
TEST_F(CommandLine, InPlaceAndPlannedModelsNameTheirBackupAndWhatTheyReplace) {
    const std::string plain = numberedModel(1);
    writeFile(path("a.zrm"), plain);
    writeFile(path("b.zrm"), plain);
    fs::permissions(path("b.zrm"), fs::perms(0444));
    const std::int64_t bytes = std::ssize(rewriteInMemory(plain, 4).output);
    const std::string readOnly = "'b.zrm' is read-only; make it writable to replace it";
    const ToolRun planned =
        run({"-q", "-n", "4", "--json", "--dry-run", "-i", "--backup=.orig", "a.zrm", "b.zrm"});
    EXPECT_EQ(planned.exitCode, 1);
    EXPECT_EQ(jsonLines(planned.out),
              (std::vector<json>{
                  result("a.zrm", "a.zrm", "would-write", nullptr, bytes, 1, 4, true, "a.zrm.orig"),
                  result("b.zrm", "b.zrm", "refused", "would refuse: " + readOnly, nullptr, nullptr,
                         4, false, nullptr)}));
    EXPECT_EQ(planned.err, "morvane-cli: would refuse: " + readOnly + "\n");
    const ToolRun written =
        run({"-q", "-n", "4", "--json", "-i", "--backup=.orig", "a.zrm", "b.zrm"});
    EXPECT_EQ(written.exitCode, 1);
    EXPECT_EQ(
        jsonLines(written.out),
        (std::vector<json>{
            result("a.zrm", "a.zrm", "written", nullptr, bytes, 1, 4, true, "a.zrm.orig"),
            result("b.zrm", "b.zrm", "refused", readOnly, nullptr, nullptr, 4, false, nullptr)}));
    EXPECT_EQ(written.err, "morvane-cli: " + readOnly + "\n");
    EXPECT_EQ(readFile(path("a.zrm.orig")), plain);
}

// A name that is not UTF-8 keeps the line valid JSON: each byte that cannot
// be read becomes U+FFFD.
TEST_F(CommandLine, NamesThatAreNotUtf8StayValidJson) {
    const std::string name = "caf\xE9 \x80\xFF.zrm";
    writeFile(path(name), numberedModel(1));
    fs::create_directory(path("out\xFE"));
    const ToolRun result = run({"-n", "1", "--json", "-d", "out\xFE", name});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    const std::vector<json> lines = jsonLines(result.out);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0]["input"], "caf\xEF\xBF\xBD \xEF\xBF\xBD\xEF\xBF\xBD.zrm");
    EXPECT_EQ(lines[0]["output"], "out\xEF\xBF\xBD/caf\xEF\xBF\xBD \xEF\xBF\xBD\xEF\xBF\xBD.zrm");
    EXPECT_EQ(readFile(path("out\xFE/" + name)), rewriteInMemory(numberedModel(1), 1).output);
}

}  // namespace
}  // namespace morvane::testing
