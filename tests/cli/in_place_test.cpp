// -i: each model is rewritten into its own name as any replaced output is,
// and left out once it carries its block; --backup keeps it as it was
// beside it, and at no moment is neither model under its name.
#include "command_line.h"

namespace morvane::testing {
namespace {

ino_t inodeOf(const std::string& file) {
    struct stat status {};
    ::stat(file.c_str(), &status);
    return status.st_ino;
}

// The hidden names a run left in `folder`, which only a SIGKILL may leave.
std::vector<fs::path> hiddenIn(const fs::path& folder) {
    std::vector<fs::path> hidden;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename().string().starts_with(".morvane-")) {
            hidden.push_back(entry.path());
        }
    }
    return hidden;
}

class InPlace : public CommandLine {
protected:
    // Another user's file, with an attribute and an access control list (as
    // the system stores it: the owner may read and write; the user nobody,
    // the owning group and the mask may read; others nothing).
    void giveAway(const std::string& file, mode_t mode) {
        const std::string acl =
            words({2, 0x60001, ~0u, 0x40002, 65534, 0x40004, ~0u, 0x40010, ~0u, 0x20, ~0u});
        ASSERT_EQ(::chown(file.c_str(), 65534, 65535), 0);
        ASSERT_EQ(::setxattr(file.c_str(), "user.origin", "scan 7", 6, 0), 0);
        ASSERT_EQ(::setxattr(file.c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0),
                  0);
        ASSERT_EQ(::chmod(file.c_str(), mode), 0);
    }

    const std::string old_ = numberedModel(1);
    const std::string new_ = rewriteInMemory(old_, 2).output;
};

// The new model replaces the old file, as a rename does; the backup is the
// old file itself, with all it had.
TEST_F(InPlace, EachModelTakesItsOwnNameAndKeepsWhatTheFileHad) {
    if (::geteuid() != 0) {
        GTEST_SKIP() << "giving a file to another user takes root";
    }
    for (const std::string& program : kPrograms) {
        SCOPED_TRACE(program);
        const std::map<std::string, mode_t> files = {{"a.zrm", 0640}, {"sub/b.zrm", 04755}};
        std::map<std::string, std::string> before;
        std::map<std::string, ino_t> inodes;
        fs::create_directory(path("sub"));
        for (const auto& [name, mode] : files) {
            writeFile(path(name), old_);
            giveAway(path(name), mode);
            before[name] = ownership(path(name));
            inodes[name] = inodeOf(path(name));
        }
        const ToolRun plain = run({"-q", "-n", "2", "-i", "a.zrm"}, {.program = program});
        EXPECT_EQ(plain.exitCode, 0) << plain.err;
        EXPECT_EQ(readFile(path("a.zrm")), new_);
        EXPECT_EQ(ownership(path("a.zrm")), before["a.zrm"]);
        EXPECT_NE(inodeOf(path("a.zrm")), inodes["a.zrm"]);
        EXPECT_EQ(folder_.listing(), "a.zrm sub ");

        const ToolRun kept =
            run({"-q", "-n", "2", "-i", "--backup", "sub/b.zrm"}, {.program = program});
        EXPECT_EQ(kept.exitCode, 0) << kept.err;
        EXPECT_THAT(kept.err,
                    ::testing::EndsWith("; the model as it was is kept as 'sub/b.zrm.bak'\n"));
        EXPECT_EQ(readFile(path("sub/b.zrm")), new_);
        EXPECT_EQ(ownership(path("sub/b.zrm")), before["sub/b.zrm"]);
        EXPECT_EQ(readFile(path("sub/b.zrm.bak")), old_);
        EXPECT_EQ(ownership(path("sub/b.zrm.bak")), before["sub/b.zrm"]);
        EXPECT_EQ(inodeOf(path("sub/b.zrm.bak")), inodes["sub/b.zrm"]);
        EXPECT_EQ(TempFolder::namesIn(path("sub")), "b.zrm b.zrm.bak ");
        fs::remove_all(path("sub"));
        fs::remove(path("a.zrm"));
    }
}

// A model that carries its block is left out with a note, so that the same
// command run again changes nothing at all, backups included.
TEST_F(InPlace, ASecondRunLeavesEveryModelOutAndChangesNothing) {
    for (const char* name : {"ships/a.zrm", "ships/lod0/hull.ZRM", "top.zrm"}) {
        fs::create_directories(fs::path(path(name)).parent_path());
        writeFile(path(name), old_);
    }
    const std::vector<std::string> command = {"-q", "-n",       "2",     "-r",
                                              "-i", "--backup", "ships", "top.zrm"};
    const ToolRun first = run(command);
    EXPECT_EQ(first.exitCode, 0) << first.err;
    EXPECT_EQ(readFile(path("ships/lod0/hull.ZRM")), new_);
    EXPECT_EQ(readFile(path("ships/lod0/hull.ZRM.bak")), old_);
    const std::map<std::string, std::string> written = treeOf(folder_.path());
    const ToolRun second = run(command);
    EXPECT_EQ(second.exitCode, 0) << second.err;
    std::string notes;
    for (const char* name : {"ships/a.zrm", "ships/lod0/hull.ZRM", "top.zrm"}) {
        notes += "morvane-cli: left out '" + std::string(name) +
                 "': it already carries a block of 2 collision volumes (in its last PRIM chunk, "
                 "at offset 28); '" +
                 name + "' was not written\n";
    }
    EXPECT_EQ(second.err, notes);
    EXPECT_EQ(treeOf(folder_.path()), written);
}

// The backup takes the suffix given, or .bak, replacing what held that name;
// a name that already leads to the old model keeps it, and leaves nothing
// behind.
TEST_F(InPlace, TheBackupKeepsTheModelAsItWasUnderItsSuffix) {
    for (const char* name : {"a.zrm", "b.zrm", "c.zrm", "d.zrm"}) {
        writeFile(path(name), old_);
    }
    writeFile(path("a.zrm.bak"), kPrecious);
    fs::create_hard_link(path("c.zrm"), path("c.zrm.bak"));
    const ToolRun bak = run({"-q", "-n", "2", "-i", "--backup", "a.zrm", "c.zrm"});
    EXPECT_EQ(bak.exitCode, 0) << bak.err;
    const ToolRun orig = run({"-q", "-n", "2", "-i", "--backup=.orig", "b.zrm"});
    EXPECT_EQ(orig.exitCode, 0) << orig.err;
    for (const char* name : {"a.zrm", "b.zrm", "c.zrm"}) {
        EXPECT_EQ(readFile(path(name)), new_) << name;
    }
    for (const char* backup : {"a.zrm.bak", "b.zrm.orig", "c.zrm.bak"}) {
        EXPECT_EQ(readFile(path(backup)), old_) << backup;
    }
    EXPECT_EQ(folder_.listing(), "a.zrm a.zrm.bak b.zrm b.zrm.orig c.zrm c.zrm.bak d.zrm ");

    // What is not a file is not replaced by a backup, and its model is kept.
    fs::create_directory(path("d.zrm.bak"));
    fs::create_symlink("a.zrm", path("d.zrm.old"));
    for (const std::string suffix : {".bak", ".old"}) {
        const ToolRun refused = run({"-q", "-n", "2", "-i", "--backup=" + suffix, "d.zrm"});
        EXPECT_EQ(refused.exitCode, 1);
        EXPECT_EQ(refused.err, "morvane-cli: refusing to keep the backup of 'd.zrm' as 'd.zrm" +
                                   suffix + "': it is " +
                                   (suffix == ".bak" ? "a folder" : "a symbolic link") + "\n");
    }
    EXPECT_EQ(readFile(path("d.zrm")), old_);
    EXPECT_EQ(readFile(path("a.zrm")), new_);
}

// A backup that would take the name of a model the run reads would lose
// that model, whichever of the two comes first.
TEST_F(InPlace, ABackupThatLandsOnAModelOfTheRunIsRefused) {
    const std::string other = numberedModel(2);
    for (const auto& order : {std::vector<std::string>{"a.zrm", "a.zrm.old"},
                              std::vector<std::string>{"a.zrm.old", "a.zrm"}}) {
        SCOPED_TRACE(order[0]);
        writeFile(path("a.zrm"), old_);
        writeFile(path("a.zrm.old"), other);
        fs::remove(path("a.zrm.old.old"));
        std::vector<std::string> arguments = {"-q", "-n", "2", "-i", "--backup=.old"};
        arguments.insert(arguments.end(), order.begin(), order.end());
        const ToolRun result = run(arguments);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_THAT(result.err,
                    HasSubstr("morvane-cli: refusing to keep the model 'a.zrm' replaced as "
                              "'a.zrm.old': it leads to 'a.zrm.old', a model this run reads, "
                              "which would be lost\n"));
        EXPECT_EQ(readFile(path("a.zrm")), old_);
        EXPECT_EQ(readFile(path("a.zrm.old")), rewriteInMemory(other, 2).output);
        EXPECT_EQ(readFile(path("a.zrm.old.old")), other);
        EXPECT_EQ(folder_.listing(), "a.zrm a.zrm.old a.zrm.old.old ");
    }
}

// SIGKILL cannot be made to wait, so each step must leave both names whole:
// killed at the backup's move (the first rename), at the model's rename, or
// just after it, the model's name holds the old model or the new one and the
// backup's name what it held or the old model. A hidden name left behind
// holds a whole model too.
TEST_F(InPlace, NoKillLeavesAModelOrItsBackupWithoutItsName) {
    struct Moment {
        std::string injected;
        bool onFolder;
        std::string model;
        std::string backup;
    };
    const std::vector<Moment> moments = {
        {"rename:signal=SIGKILL", false, old_, kPrecious},
        {"rename:signal=SIGKILL:when=2", false, old_, old_},
        {"fsync:signal=SIGKILL", true, new_, old_},
    };
    for (const std::string& program : kPrograms) {
        for (const Moment& moment : moments) {
            SCOPED_TRACE(program + " " + moment.injected);
            // A kill between the two renames leaves both names on one file.
            fs::remove(path("a.zrm"));
            fs::remove(path("a.zrm.bak"));
            writeFile(path("a.zrm"), old_);
            writeFile(path("a.zrm.bak"), kPrecious);
            const ToolRun killed = run({"-q", "-n", "2", "-i", "--backup", "a.zrm"},
                                       {.program = program,
                                        .injected = moment.injected,
                                        .onFile = moment.onFolder ? folder_.path().string() : ""});
            EXPECT_EQ(killed.signal, SIGKILL) << killed.err;
            EXPECT_EQ(readFile(path("a.zrm")), moment.model);
            EXPECT_EQ(readFile(path("a.zrm.bak")), moment.backup);
            for (const fs::path& hidden : hiddenIn(folder_.path())) {
                EXPECT_THAT(readFile(hidden), ::testing::AnyOf(old_, new_));
                fs::remove(hidden);
            }
            EXPECT_EQ(folder_.listing(), "a.zrm a.zrm.bak ");
        }
        // With no backup before, its name holds nothing until it holds the old model.
        fs::remove(path("a.zrm.bak"));
        fs::remove(path("a.zrm"));
        writeFile(path("a.zrm"), old_);
        const ToolRun first = run({"-q", "-n", "2", "-i", "--backup", "a.zrm"},
                                  {.program = program, .injected = "rename:signal=SIGKILL"});
        EXPECT_EQ(first.signal, SIGKILL) << first.err;
        EXPECT_EQ(readFile(path("a.zrm")), old_);
        EXPECT_FALSE(fs::exists(path("a.zrm.bak")));
        for (const fs::path& hidden : hiddenIn(folder_.path())) {
            fs::remove(hidden);
        }
    }
}

}  // namespace
}  // namespace morvane::testing
