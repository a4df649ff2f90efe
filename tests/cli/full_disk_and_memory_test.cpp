// A full disk, a file-size limit and too little memory: each model that
// meets one is reported, its output left as it was, and the batch goes on.
#include "command_line.h"

namespace morvane::testing {
namespace {

// The disk fills, or the file-size limit is met, in the middle of old's copy,
// and for new only at the last flush, 100 bytes past the room.
TEST_F(CommandLine, DiskFullLeavesEachOutputNameAsItWasAndTheBatchGoesOn) {
    constexpr rlim_t kRoom = 1024 * 1024;
    const std::string small = containerHeader() + chunk(kPrim, 0, 16, payload(16));
    writeFile(path("old.zrm"), containerHeader() + chunk(kXyzs, 0, 4 * kRoom, payload(4 * kRoom)) +
                                   chunk(kPrim, 0, 16, payload(16)));
    writeFile(path("new.zrm"),
              containerHeader() + chunk(kXyzs, 0, kRoom + 56, payload(kRoom + 56)));
    writeFile(path("small.zrm"), small);
    for (const std::string& program : kPrograms) {
        SCOPED_TRACE(program);
        TempFolder out;
        writeFile(out / "old.zrm", kPrecious);
        const ToolRun result =
            run({"-n", "5", "-d", out.path().string(), "old.zrm", "new.zrm", "small.zrm"},
                {.program = program, .fileSizeLimit = kRoom});
        EXPECT_EQ(result.exitCode, 1) << result.signal;
        const std::string to = "morvane-cli: cannot write the model '";
        EXPECT_THAT(result.err, HasSubstr(to + "old.zrm' to '" + (out / "old.zrm").string() +
                                          "': File too large\n"));
        EXPECT_THAT(result.err, HasSubstr(to + "new.zrm' to '" + (out / "new.zrm").string() +
                                          "': File too large\n"));
        EXPECT_EQ(readFile(out / "old.zrm"), kPrecious);
        EXPECT_EQ(readFile(out / "small.zrm"), rewriteInMemory(small, 5).output);
        EXPECT_EQ(out.listing(), "old.zrm small.zrm ");
    }
    // The pass stops at the failed write: what is wrong further on is not
    // what the user must mend.
    writeFile(path("cut.zrm"), containerHeader() + chunk(kXyzs, 0, 2 * kRoom, payload(2 * kRoom)) +
                                   chunk(kNorm, 0, 64, payload(8)));
    const ToolRun cut = run({"-n", "5", "cut.zrm", "cut-out.zrm"}, {.fileSizeLimit = kRoom});
    EXPECT_EQ(cut.err,
              "morvane-cli: cannot write the model 'cut.zrm' to 'cut-out.zrm': File too large\n");
    EXPECT_FALSE(fs::exists(path("cut-out.zrm")));
}

// Whatever memory the tool may have, it ends by itself: a model it cannot
// rewrite or list for want of memory is named, its output name keeps what it
// held, and the other models still get their chance. The large model needs
// a larger read block than the small one, so some limits leave room for the
// small one alone.
TEST_F(CommandLine, RunningOutOfMemoryIsReportedWithEachModelsName) {
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "the address sanitizer reserves more address space than any limit leaves";
#endif
    const std::string big = containerHeader() + chunk(kXyzs, 0, 1 << 20, payload(1 << 20)) +
                            chunk(kPrim, 0, 8, payload(8));
    const std::string small = containerHeader() + chunk(kPrim, 0, 8, payload(8));
    writeFile(path("big.zrm"), big);
    writeFile(path("small.zrm"), small);
    fs::create_directory(path("out"));
    const std::map<std::string, std::string> models = {{"big.zrm", big}, {"small.zrm", small}};
    bool someLeftOut = false;
    bool smallAloneWritten = false;
    bool allWritten = false;
    // Below this the system cannot even load the program.
    rlim_t starts = 1 << 20;
    while (starts < 256 << 20 && run({"--version"}, {.addressSpaceLimit = starts}).exitCode != 0) {
        starts += 256 << 10;
    }
    for (rlim_t limit = starts; limit <= 256 << 20 && !allWritten; limit += 64 << 10) {
        SCOPED_TRACE(std::to_string(limit) + " bytes of address space");
        fs::remove_all(path("out"));
        fs::create_directory(path("out"));
        const ToolRun batch = run({"-q", "-n", "2", "-d", "out", "big.zrm", "small.zrm"},
                                  {.addressSpaceLimit = limit});
        ASSERT_EQ(batch.signal, 0) << batch.err;
        if (batch.err == "morvane-cli: out of memory\n") {
            EXPECT_EQ(batch.exitCode, 1);
            EXPECT_EQ(TempFolder::namesIn(path("out")), "");
            continue;
        }
        std::map<std::string, bool> written;
        for (const auto& [name, model] : models) {
            const std::string output = "out/" + name;
            const bool wrote =
                batch.err.find("morvane-cli: wrote '" + output + "' (") != std::string::npos;
            const bool outOfMemory =
                batch.err.find("morvane-cli: cannot rewrite '" + name + "': out of memory; '" +
                               output + "' was left as it was\n") != std::string::npos;
            EXPECT_NE(wrote, outOfMemory) << batch.err;
            EXPECT_EQ(fs::exists(path(output)), wrote);
            if (wrote) {
                EXPECT_EQ(readFile(path(output)), rewriteInMemory(model, 2).output);
            }
            written[name] = wrote;
        }
        EXPECT_EQ(std::ranges::count(batch.err, '\n'), 2) << batch.err;
        EXPECT_EQ(batch.exitCode, written["big.zrm"] && written["small.zrm"] ? 0 : 1);
        EXPECT_EQ(TempFolder::namesIn(path("out")),
                  std::string(written["big.zrm"] ? "big.zrm " : "") +
                      (written["small.zrm"] ? "small.zrm " : ""));
        someLeftOut = someLeftOut || !written["big.zrm"] || !written["small.zrm"];
        smallAloneWritten = smallAloneWritten || (!written["big.zrm"] && written["small.zrm"]);
        allWritten = written["big.zrm"] && written["small.zrm"];

        const ToolRun listing =
            run({"--list", "big.zrm", "small.zrm"}, {.addressSpaceLimit = limit});
        ASSERT_EQ(listing.signal, 0) << listing.err;
        EXPECT_THAT(
            listing.err,
            ::testing::MatchesRegex("(morvane-cli: (out of memory|cannot list '(big|small)\\.zrm': "
                                    "out of memory)\n)*"));
        EXPECT_EQ(listing.exitCode, listing.err.empty() ? 0 : 1);
    }
    EXPECT_TRUE(someLeftOut);
    EXPECT_TRUE(smallAloneWritten);
    EXPECT_TRUE(allWritten);
    EXPECT_EQ(folder_.listing(), "big.zrm out small.zrm ");
}

}  // namespace
}  // namespace morvane::testing
