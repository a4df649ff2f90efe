// A model that carries the block a rewrite left: listed with it, warned of,
// or left out.
#include "command_line.h"

namespace morvane::testing {
namespace {

// A lookalike's last PRIM chunk only ends like a block.
TEST_F(CommandLine, AModelRewrittenBeforeIsListedWithItsBlockAndWarnedOf) {
    const std::string rewritten = rewriteInMemory(model_, 3).output;
    const std::string lookalike = containerHeader() +
                                  chunk(kPrim, 0, 60, payload(40) + words({4, 3, 0, 0, 0})) +
                                  closingHand(40);
    const std::string noPrim = rewriteInMemory(containerHeader(), 3).output;
    writeFile(path("old.zrm"), rewritten);
    writeFile(path("lookalike.zrm"), lookalike);
    writeFile(path("noprim.zrm"), noPrim);
    EXPECT_THAT(run({"--list", "old.zrm"}).out,
                ::testing::EndsWith("\nblock: 3 collision volumes at offset 100, in the PRIM chunk "
                                    "at offset 48 (payload offset 40); the model was rewritten "
                                    "before\n"));
    EXPECT_THAT(run({"--list", "--json", "old.zrm"}).out,
                HasSubstr(R"(], "block": {"offset":100,"prim_offset":48,)"
                          R"("payload_offset":40,"volumes":3}, "error": null})"));

    const ToolRun again = run({"-q", "-n", "2", "old.zrm", "out.zrm"});
    EXPECT_EQ(again.exitCode, 0);
    EXPECT_EQ(again.err.substr(0, again.err.find("\nmorvane-cli: wrote")),
              "morvane-cli: warning: 'old.zrm' already carries a block of 3 collision volumes (in "
              "its last PRIM chunk, at offset 48): it was rewritten before, and this rewrite adds "
              "a second block to every PRIM chunk");
    EXPECT_EQ(readFile(path("out.zrm")), rewriteInMemory(rewritten, 2).output);
    EXPECT_EQ(run({"--skip-rewritten", "-n", "2", "old.zrm", "skipped.zrm"}).exitCode, 0);
    EXPECT_FALSE(fs::exists(path("skipped.zrm")));

    fs::create_directory(path("out"));
    const ToolRun batch = run({"-q", "-n", "2", "--skip-rewritten", "-d", "out", "old.zrm",
                               "lookalike.zrm", "noprim.zrm"});
    EXPECT_EQ(batch.exitCode, 0) << batch.err;
    EXPECT_EQ(batch.out, "");
    EXPECT_THAT(batch.err, HasSubstr("morvane-cli: left out 'old.zrm': it already carries a block "
                                     "of 3 collision volumes (in its last PRIM chunk, at offset "
                                     "48); 'out/old.zrm' was not written\n"));
    EXPECT_THAT(batch.err, ::testing::Not(HasSubstr("warning")));
    EXPECT_EQ(TempFolder::namesIn(path("out")), "lookalike.zrm noprim.zrm ");
    for (const auto& [name, model] :
         {std::pair{"lookalike.zrm", lookalike}, std::pair{"noprim.zrm", noPrim}}) {
        EXPECT_EQ(readFile(path("out/") + name), rewriteInMemory(model, 2).output) << name;
    }
}

}  // namespace
}  // namespace morvane::testing
