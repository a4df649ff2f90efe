// Whole model libraries on Windows: folder trees walked and mirrored, models
// rewritten in place with their backups, lists of models and the results in
// JSON, with the names Windows has (long, Unicode, 8.3, ending in a dot or a
// space) and its links to folders.
#include <windows.h>
// winioctl.h needs windows.h first.
#include <winioctl.h>

#include <cstring>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "command_line.h"
#include "model/files/path_text.h"
#include "support/pass_runner.h"

namespace morvane::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::Not;

// Files by their path below a folder, with their bytes.
using Files = std::map<std::wstring, std::string>;

std::wstring exactly(const fs::path& path) {
    return LR"(\\?\)" + path.wstring();
}

// A model of its own for each number, so that each output shows which model
// it was made from.
std::string modelNumbered(std::size_t number) {
    const auto length = static_cast<std::uint32_t>(8 + number);
    return containerHeader() + chunk(kPrim, 0, length, payload(length, 'a' + (number % 16)));
}

Files rewritten(const Files& models, int volumes) {
    Files outputs;
    for (const auto& [below, bytes] : models) {
        outputs[below] = rewriteInMemory(bytes, volumes).output;
    }
    return outputs;
}

// Each file below `root`, and the folders on the way, under the very names
// given, a dot or a space at their end included.
void makeTree(const fs::path& root, const Files& files) {
    ::CreateDirectoryW(exactly(root).c_str(), nullptr);
    for (const auto& [below, bytes] : files) {
        fs::path folder = root;
        for (const fs::path& part : fs::path(below).parent_path()) {
            folder /= part;
            ::CreateDirectoryW(exactly(folder).c_str(), nullptr);
        }
        writeFile(exactly(root / below), bytes);
    }
}

// Every file below `root` as the system lists it, read under its very name.
Files filesUnder(const fs::path& root, const std::wstring& below = L"") {
    Files files;
    const fs::path folder = below.empty() ? root : root / below;
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW((exactly(folder) + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return files;
    }
    do {
        const std::wstring name = found.cFileName;
        const std::wstring path = below.empty() ? name : below + L"\\" + name;
        if (name == L"." || name == L"..") {
            continue;
        }
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            files.merge(filesUnder(root, path));
        } else {
            files[path] = readFile(exactly(root / path));
        }
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
    return files;
}

// Everything below the folder, removed under the very names it has.
void removeExactly(const fs::path& folder) {
    WIN32_FIND_DATAW found{};
    const HANDLE search = ::FindFirstFileW((exactly(folder) + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) {
        return;
    }
    do {
        const std::wstring name = found.cFileName;
        const std::wstring path = exactly(folder / name);
        if (name == L"." || name == L"..") {
            continue;
        }
        ::SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
            ::RemoveDirectoryW(path.c_str()) || ::DeleteFileW(path.c_str());
        } else if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
            removeExactly(folder / name);
            ::RemoveDirectoryW(path.c_str());
        } else {
            ::DeleteFileW(path.c_str());
        }
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

// The names as one line, to compare before the bytes.
std::string namesOf(const Files& files) {
    std::string names;
    for (const auto& [below, bytes] : files) {
        names += TextOf(below) + "  ";
    }
    return names;
}

// The files below `root` are those expected, each holding its bytes, and
// nothing else is there (no temporary file either).
void expectFiles(const fs::path& root, const Files& expected) {
    const Files found = filesUnder(root);
    EXPECT_EQ(namesOf(found), namesOf(expected)) << "below " << TextOf(root);
    for (const auto& [below, bytes] : expected) {
        const auto file = found.find(below);
        EXPECT_TRUE(file == found.end() || file->second == bytes)
            << TextOf(below) << " holds other bytes";
    }
}

// A name as a JSON string holds it.
std::string inJson(const std::string& text) {
    std::string quoted = "\"";
    for (const char c : text) {
        quoted += c == '\\' || c == '"' ? std::string{'\\', c} : std::string{c};
    }
    return quoted + "\"";
}

bool isHidden(const fs::path& file) {
    const DWORD attributes = ::GetFileAttributesW(exactly(file).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_HIDDEN) != 0;
}

// A junction (as `mklink /J` makes) at `link`, leading to the folder
// `target`, given absolute: 0, or the system's reason when it made none.
DWORD makeJunction(const fs::path& link, const fs::path& target) {
    if (!::CreateDirectoryW(link.c_str(), nullptr)) {
        return ::GetLastError();
    }
    const std::wstring substitute = LR"(\??\)" + target.wstring();
    const std::wstring printed = target.wstring();
    const std::wstring names = substitute + L'\0' + printed + L'\0';
    const auto bytes = [](std::size_t characters) {
        return static_cast<WORD>(characters * sizeof(wchar_t));
    };
    // REPARSE_DATA_BUFFER for a mount point, which the SDK keeps in the DDK.
    std::vector<char> buffer(16 + bytes(names.size()));
    const auto put = [&buffer](std::size_t at, auto value) {
        std::memcpy(buffer.data() + at, &value, sizeof value);
    };
    put(0, DWORD{IO_REPARSE_TAG_MOUNT_POINT});
    put(4, static_cast<WORD>(buffer.size() - 8));
    put(8, WORD{0});
    put(10, bytes(substitute.size()));
    put(12, bytes(substitute.size() + 1));
    put(14, bytes(printed.size()));
    std::memcpy(buffer.data() + 16, names.data(), bytes(names.size()));
    const HANDLE folder =
        ::CreateFileW(link.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                      FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    DWORD returned = 0;
    const bool made =
        ::DeviceIoControl(folder, FSCTL_SET_REPARSE_POINT, buffer.data(),
                          static_cast<DWORD>(buffer.size()), nullptr, 0, &returned, nullptr);
    const DWORD error = made ? ERROR_SUCCESS : ::GetLastError();
    ::CloseHandle(folder);
    return error;
}

// A symbolic link to a folder; false when the system made none, which Wine
// 8 does while it says it did.
bool makeFolderLink(const fs::path& link, const fs::path& target) {
    ::CreateSymbolicLinkW(
        link.c_str(), target.c_str(),
        SYMBOLIC_LINK_FLAG_DIRECTORY | SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE);
    const DWORD attributes = ::GetFileAttributesW(link.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           (attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
}

class ModelLibrary : public WindowsCommandLine {
protected:
    void TearDown() override { removeExactly(folder_.path()); }
};

// The tree below the folder given is kept below the output folder, which lies
// inside the tree and is never read, so a second run finds the same models.
// A folder or a file whose name ends in a dot or a space, as the walk finds
// it, is read as it is and written where Windows reads its name, without
// them. Given by its 8.3 short name, the folder still gives the long names
// below it. Paths here pass 260 characters.
TEST_F(ModelLibrary, ATreeIsMirroredUnderTheOutputFolderAndThatFolderIsNeverRead) {
    const std::wstring longFolders = std::wstring(120, L'p') + L"\\" + std::wstring(120, L'q');
    const Files models = {
        {L"ships\\frigate\\lod0\\hull.zrm", modelNumbered(0)},
        {L"ships\\frigate\\lod1\\HULL.ZRM", modelNumbered(1)},
        {L"\u043a\u043e\u0440\u0430\u0431\u043b\u044c\\\u043c\u043e\u0434\u0435\u043b\u044c.zrm",
         modelNumbered(2)},
        {L"\u6a21\u578b\\\u8239.Zrm", modelNumbered(3)},
        {L"\U0001D538\\\U0001F600.zRm", modelNumbered(4)},
        {longFolders + L"\\deep.zrm", modelNumbered(5)},
        {L"odd.\\c.zrm.", modelNumbered(6)},
        {L"spaced \\e.zrm ", modelNumbered(7)},
        {L"top model.zrm", modelNumbered(8)},
    };
    const fs::path tree = folder_ / L"model library";
    makeTree(tree, models);
    makeTree(tree, {{L"notes.txt", "not a model"}, {L"out\\earlier.zrm", modelNumbered(9)}});
    ASSERT_GT((tree / L"out" / longFolders / L"deep.zrm").native().size(), 300u);
    Files written = rewritten(models, 3);
    written[L"odd\\c.zrm"] = written.extract(L"odd.\\c.zrm.").mapped();
    written[L"spaced\\e.zrm"] = written.extract(L"spaced \\e.zrm ").mapped();
    Files expected = models;
    expected[L"notes.txt"] = "not a model";
    expected[L"out\\earlier.zrm"] = modelNumbered(9);
    for (const auto& [below, bytes] : written) {
        expected[L"out\\" + below] = bytes;
    }

    for (int again = 0; again < 2; ++again) {
        SCOPED_TRACE(again);
        const ToolRun result =
            run({L"-q", L"-n", L"3", L"-r", L"-d", L"model library\\out", L"model library"});
        EXPECT_EQ(result.exitCode, 0u) << result.err;
        EXPECT_EQ(result.out, "");
        EXPECT_THAT(
            result.err,
            HasSubstr("morvane-cli: wrote 'model library\\out\\"
                      "\xF0\x9D\x94\xB8\\\xF0\x9F\x98\x80.zRm' (" +
                      std::to_string(written[L"\U0001D538\\\U0001F600.zRm"].size()) + " bytes)"));
        EXPECT_THAT(result.err, HasSubstr("morvane-cli: wrote 'model library\\out\\odd\\c.zrm' ("));
        EXPECT_THAT(result.err,
                    HasSubstr("morvane-cli: wrote 'model library\\out\\spaced\\e.zrm'"));
        EXPECT_THAT(result.err, Not(HasSubstr("earlier")));
        expectFiles(tree, expected);
    }

    const std::string shortName = TextOf(shortNameOf(tree.wstring()));
    ASSERT_THAT(shortName, Not(HasSubstr(" ")));
    const ToolRun byShortName =
        run({L"-q", L"-n", L"3", L"-r", L"-d", PathFromText(shortName + "\\out").wstring(),
             PathFromText(shortName).wstring()});
    EXPECT_EQ(byShortName.exitCode, 0u) << byShortName.err;
    EXPECT_THAT(byShortName.err, HasSubstr("morvane-cli: wrote '" + shortName +
                                           "\\out\\ships\\frigate\\lod0\\hull.zrm'"));
    EXPECT_THAT(byShortName.err,
                HasSubstr("morvane-cli: wrote '" + shortName + "\\out\\top model.zrm'"));
    expectFiles(tree, expected);
}

// Each model takes the new model under its own name, as found; the replaced
// file stays beside it as its backup, with its old bytes, and the new one
// keeps its hidden attribute. A second run leaves every model out and changes
// no byte. c.zrm and "c.zrm." are two files, each rewritten into itself.
TEST_F(ModelLibrary, ATreeIsRewrittenInPlaceWithBackupsAndASecondRunChangesNothing) {
    const std::wstring longFolder = std::wstring(150, L'l') + L"\\" + std::wstring(100, L'm');
    const Files models = {
        {L"hidden hull.zrm", modelNumbered(0)},
        {L"\u043a\u043e\u0440\u0430\u0431\u043b\u044c\\\u6a21\u578b.ZRM", modelNumbered(1)},
        {L"odd.\\c.zrm", modelNumbered(2)},
        {L"odd.\\c.zrm.", modelNumbered(3)},
        {longFolder + L"\\\U0001F600.zrm", modelNumbered(4)},
    };
    const std::string done = rewriteInMemory(modelNumbered(5), 2).output;
    const fs::path tree = folder_ / L"library";
    makeTree(tree, models);
    makeTree(tree, {{L"done.zrm", done}});
    ASSERT_TRUE(::SetFileAttributesW(exactly(tree / L"hidden hull.zrm").c_str(),
                                     FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    Files expected = rewritten(models, 3);
    expected[L"done.zrm"] = done;
    for (const auto& [below, bytes] : models) {
        expected[below + L".bak"] = bytes;
    }

    const ToolRun first = run({L"-q", L"-n", L"3", L"-r", L"-i", L"--backup", L"library"});
    EXPECT_EQ(first.exitCode, 0u) << first.err;
    EXPECT_THAT(first.err, HasSubstr("morvane-cli: left out 'library\\done.zrm': it already "
                                     "carries a block of 2 collision volumes"));
    EXPECT_THAT(first.err, HasSubstr("; the model as it was is kept as '" +
                                     TextOf(tree / L"odd.\\c.zrm..bak") + "'\r\n"));
    expectFiles(tree, expected);
    EXPECT_TRUE(isHidden(tree / L"hidden hull.zrm"));
    EXPECT_TRUE(isHidden(tree / L"hidden hull.zrm.bak"));

    const ToolRun second = run({L"-q", L"-n", L"3", L"-r", L"-i", L"--backup", L"library"});
    EXPECT_EQ(second.exitCode, 0u) << second.err;
    EXPECT_THAT(second.err, Not(HasSubstr("wrote")));
    expectFiles(tree, expected);
    EXPECT_TRUE(isHidden(tree / L"hidden hull.zrm"));

    // Windows reads "x.zrm." as x.zrm: a later -r would take such backups
    // for models.
    const ToolRun dotted = run({L"-n", L"3", L"-r", L"-i", L"--backup=.zrm.", L"library"});
    EXPECT_EQ(dotted.exitCode, 2u);
    EXPECT_THAT(dotted.err, HasSubstr("morvane-cli: the backup suffix '.zrm.' ends in .zrm"));
    expectFiles(tree, expected);
}

// A list written on Windows: UTF-8, perhaps behind a byte-order mark, its
// lines ending in CR LF; an empty line is passed over, and the list itself
// may lie beyond 260 characters. With -0 the names end in NUL and a carriage
// return is part of one. A name is taken as written, wildcards and all.
TEST_F(ModelLibrary, ListsOfModelsWrittenOnWindowsAreRead) {
    const Files models = {
        {L"a.zrm", modelNumbered(0)},
        {L"\u043c\u043e\u0434\u0435\u043b\u044c.zrm", modelNumbered(1)},
        {L"\U0001F600 \u6a21\u578b.zrm", modelNumbered(2)},
    };
    makeTree(folder_ / L"in", models);
    const std::string names[] = {"in\\a.zrm",
                                 "in\\\xD0\xBC\xD0\xBE\xD0\xB4\xD0\xB5\xD0\xBB\xD1\x8C.zrm",
                                 "in\\\xF0\x9F\x98\x80 \xE6\xA8\xA1\xE5\x9E\x8B.zrm"};
    const fs::path lists = folder_ / std::wstring(150, L'l') / std::wstring(150, L'n');
    fs::create_directories(lists);
    writeFile(lists / L"list.txt",
              "\xEF\xBB\xBF" + names[0] + "\r\n\r\n" + names[1] + "\r\n" + names[2] + "\r\n");
    ASSERT_GT((lists / L"list.txt").native().size(), 300u);
    for (const wchar_t* out : {L"out", L"out0", L"none"}) {
        fs::create_directory(path(out));
    }

    const ToolRun listed = run(
        {L"-q", L"-n", L"3", L"-d", L"out", L"--files-from=" + (lists / L"list.txt").wstring()});
    EXPECT_EQ(listed.exitCode, 0u) << listed.err;
    expectFiles(path(L"out"), rewritten(models, 3));

    const std::string nulSeparated = names[0] + '\0' + '\0' + names[1] + '\0' + names[2] + '\0';
    const ToolRun separated = run({L"-q", L"-n", L"3", L"-0", L"-d", L"out0", L"--files-from=-"},
                                  Start::Directly, &nulSeparated);
    EXPECT_EQ(separated.exitCode, 0u) << separated.err;
    expectFiles(path(L"out0"), rewritten(models, 3));

    const std::string asWritten = names[0] + "\r" + '\0' + "in\\*.zrm" + '\0';
    const ToolRun taken = run({L"-q", L"-n", L"3", L"-0", L"-d", L"none", L"--files-from=-"},
                              Start::Directly, &asWritten);
    EXPECT_EQ(taken.exitCode, 1u);
    EXPECT_THAT(taken.err, HasSubstr("'in\\a.zrm\\r'"));
    EXPECT_THAT(taken.err, HasSubstr("'in\\*.zrm'"));
    expectFiles(path(L"none"), {});
}

// With -r a wildcard names the folders it matches too, each walked, as a
// shell on Linux would hand them over; never the folder itself or the one
// above it, which Windows lists among the names a folder holds.
TEST_F(ModelLibrary, AWildcardWithRecursiveNamesFoldersToWalk) {
    makeTree(folder_ / L"models", {{L"a.zrm", modelNumbered(0)},
                                   {L"frigate\\hull.zrm", modelNumbered(1)},
                                   {L"frigate\\lod1\\hull.zrm", modelNumbered(2)},
                                   {L"\u6a21\u578b\\b.ZRM", modelNumbered(3)}});
    const ToolRun result =
        run({L"-q", L"-n", L"3", L"-r", L"-d", L"out", L"models\\*"}, Start::ThroughCmd);
    EXPECT_EQ(result.exitCode, 0u) << result.err;
    expectFiles(path(L"out"), rewritten({{L"a.zrm", modelNumbered(0)},
                                         {L"hull.zrm", modelNumbered(1)},
                                         {L"lod1\\hull.zrm", modelNumbered(2)},
                                         {L"b.ZRM", modelNumbered(3)}},
                                        3));
}

// One object a model on standard output, in UTF-8, each line ending in LF
// alone: the outputs under long names below a folder given by its short
// name, a model found under a name that ends in a dot in the form that opens
// it. A dry run says what the real run then does, and writes nothing.
TEST_F(ModelLibrary, JsonResultsNameEachModelAsItWasFound) {
    const std::string russian = "\xD0\xBC\xD0\xBE\xD0\xB4\xD0\xB5\xD0\xBB\xD1\x8C.zrm";
    const std::string done = rewriteInMemory(model_, 2).output;
    const Files models = {{PathFromText(russian).wstring(), model_},
                          {L"bad.zrm", "not a model"},
                          {L"done.zrm", done},
                          {L"odd.\\c.zrm.", model_}};
    makeTree(folder_ / L"ship library", models);
    const std::string library = TextOf(shortNameOf(path(L"ship library")));
    ASSERT_NE(library, "ship library");
    const std::string bad = inJson(library + "\\bad.zrm");
    const std::string refusal = "'" + library +
                                "\\\\bad.zrm': not a ZRM model: the file is 11 "
                                "bytes long, too short for the 12-byte ZRM4 header it must "
                                "begin with";
    const std::string odd =
        inJson("\\\\?\\" + TextOf(folder_.path()) + "\\" + library + "\\odd.\\c.zrm.");
    const std::string oddBackup =
        inJson("\\\\?\\" + TextOf(folder_.path()) + "\\" + library + "\\odd.\\c.zrm..bak");
    const std::string written = R"(,"message":null,"bytes":104,"prim_chunks":1,"volumes":3,)";
    const std::string nothing = R"(,"bytes":null,"prim_chunks":null,"volumes":3,)";

    const ToolRun mirrored =
        run({L"--json", L"-n", L"3", L"-r", L"-d", L"out", PathFromText(library).wstring()});
    EXPECT_EQ(mirrored.exitCode, 1u);
    EXPECT_EQ(mirrored.out,
              R"({"input":)" + bad + R"(,"output":"out\\bad.zrm","status":"refused","message":")" +
                  refusal + "\"" + nothing + R"("replaced":false,"backup":null})" + "\n" +
                  R"({"input":)" + inJson(library + "\\done.zrm") +
                  R"(,"output":"out\\done.zrm","status":"written")" +
                  R"(,"message":null,"bytes":)" +
                  std::to_string(rewriteInMemory(done, 3).output.size()) +
                  R"(,"prim_chunks":1,"volumes":3,)" + R"("replaced":false,"backup":null})" + "\n" +
                  R"({"input":)" + odd + R"(,"output":"out\\odd\\c.zrm","status":"written")" +
                  written + R"("replaced":false,"backup":null})" + "\n" + R"({"input":)" +
                  inJson(library + "\\" + russian) + R"(,"output":)" + inJson("out\\" + russian) +
                  R"(,"status":"written")" + written + R"("replaced":false,"backup":null})" + "\n");

    const auto inPlace = [&](const std::string& status, const std::string& refused) {
        return R"({"input":)" + bad + R"(,"output":)" + bad + R"(,"status":"refused","message":")" +
               refused + refusal + "\"" + nothing + R"("replaced":false,"backup":null})" + "\n" +
               R"({"input":)" + inJson(library + "\\done.zrm") + R"(,"output":null,)" +
               R"("status":"left-out","message":null)" + nothing +
               R"("replaced":false,"backup":null})" + "\n" + R"({"input":)" + odd +
               R"(,"output":)" + odd + R"(,"status":")" + status + "\"" + written +
               R"("replaced":true,"backup":)" + oddBackup + "}\n" + R"({"input":)" +
               inJson(library + "\\" + russian) + R"(,"output":)" +
               inJson(library + "\\" + russian) + R"(,"status":")" + status + "\"" + written +
               R"("replaced":true,"backup":)" + inJson(library + "\\" + russian + ".bak") + "}\n";
    };
    const std::vector<std::wstring> words = {
        L"--json", L"-n", L"3", L"-r", L"-i", L"--backup", PathFromText(library).wstring()};
    std::vector<std::wstring> dryRun = words;
    dryRun.insert(dryRun.begin(), L"--dry-run");
    const ToolRun planned = run(dryRun);
    EXPECT_EQ(planned.exitCode, 1u);
    EXPECT_EQ(planned.out, inPlace("would-write", "would refuse: "));
    expectFiles(path(L"ship library"), models);

    const ToolRun real = run(words);
    EXPECT_EQ(real.exitCode, 1u);
    EXPECT_EQ(real.out, inPlace("written", ""));
    Files expected = models;
    expected[PathFromText(russian).wstring()] = rewriteInMemory(model_, 3).output;
    expected[PathFromText(russian + ".bak").wstring()] = model_;
    expected[L"odd.\\c.zrm."] = rewriteInMemory(model_, 3).output;
    expected[L"odd.\\c.zrm..bak"] = model_;
    expectFiles(path(L"ship library"), expected);
}

// A link to a folder could lead back up the tree; it is passed over, whatever
// its name. Wine makes no junction, nor a symbolic link: folder_links_test.sh
// covers the links it shows, which are the Linux ones below its drives.
TEST_F(ModelLibrary, JunctionsAreNotFollowed) {
    makeTree(folder_ / L"tree", {{L"a.zrm", modelNumbered(0)}});
    makeTree(folder_ / L"elsewhere", {{L"b.zrm", modelNumbered(1)}});
    if (const DWORD error = makeJunction(folder_ / L"tree\\loop", folder_ / L"tree")) {
        GTEST_SKIP() << "FSCTL_SET_REPARSE_POINT made no junction (error " << error
                     << "), as under Wine 8";
    }
    ASSERT_EQ(makeJunction(folder_ / L"tree\\linked.zrm", folder_ / L"elsewhere"), 0u);
    ASSERT_EQ(readFile(folder_ / L"tree\\loop\\a.zrm"), modelNumbered(0));
    const ToolRun result = run({L"-q", L"-n", L"3", L"-r", L"-d", L"out", L"tree"});
    EXPECT_EQ(result.exitCode, 0u) << result.err;
    expectFiles(path(L"out"), rewritten({{L"a.zrm", modelNumbered(0)}}, 3));
}

TEST_F(ModelLibrary, SymbolicLinksToFoldersAreNotFollowed) {
    makeTree(folder_ / L"tree", {{L"a.zrm", modelNumbered(0)}});
    makeTree(folder_ / L"elsewhere", {{L"b.zrm", modelNumbered(1)}});
    if (!makeFolderLink(folder_ / L"tree\\loop", folder_ / L"tree")) {
        GTEST_SKIP() << "CreateSymbolicLinkW made no symbolic link (Wine 8 says it did and "
                        "makes none)";
    }
    ASSERT_TRUE(makeFolderLink(folder_ / L"tree\\linked.zrm", folder_ / L"elsewhere"));
    ASSERT_EQ(readFile(folder_ / L"tree\\loop\\a.zrm"), modelNumbered(0));
    const ToolRun result = run({L"-q", L"-n", L"3", L"-r", L"-d", L"out", L"tree"});
    EXPECT_EQ(result.exitCode, 0u) << result.err;
    expectFiles(path(L"out"), rewritten({{L"a.zrm", modelNumbered(0)}}, 3));
}

}  // namespace
}  // namespace morvane::testing
