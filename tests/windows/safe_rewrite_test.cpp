#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <sstream>
#include <string>
#include <vector>

#include "model/file_rewrite.h"
#include "support/pass_runner.h"
#include "support/temp_folder.h"
#include "support/zrm_builder.h"

namespace morvane::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::ThrowsMessage;

const std::string kModel = containerHeader() + chunk(kPrim, 0, 8, payload(8));
const std::string kPrecious = "an older model that must survive";

class WindowsRewrite : public ::testing::Test {
protected:
    void SetUp() override { writeFile(folder_ / "in.zrm", kModel); }

    void rewrite(const fs::path& input, const fs::path& output) {
        std::ostringstream trace;
        RewriteModelFile(input, output, 1, trace);
    }

    TempFolder folder_;
};

// Windows names are case-insensitive, have 8.3 short forms, hard links and
// both slash kinds: the input is recognised under each.
TEST_F(WindowsRewrite, TheInputIsRecognisedHoweverItIsSpelt) {
    fs::create_directory(folder_ / "sub");
    ASSERT_TRUE(
        ::CreateHardLinkW((folder_ / "hard.zrm").c_str(), (folder_ / "in.zrm").c_str(), nullptr));
    std::vector<fs::path> spellings = {folder_ / "IN.ZRM", folder_ / "sub" / ".." / "in.zrm",
                                       fs::path(folder_.path().generic_wstring() + L"/in.zrm"),
                                       folder_ / "hard.zrm"};
    wchar_t shortName[MAX_PATH];
    if (::GetShortPathNameW((folder_ / "in.zrm").c_str(), shortName, MAX_PATH) > 0) {
        spellings.emplace_back(shortName);
    }
    for (const fs::path& output : spellings) {
        EXPECT_THAT([&] { rewrite(folder_ / "in.zrm", output); },
                    ThrowsMessage<FileError>(HasSubstr("it is the input model itself")))
            << output;
        EXPECT_EQ(readFile(folder_ / "in.zrm"), kModel);
    }
    EXPECT_EQ(folder_.listing(), "hard.zrm in.zrm sub ");
}

// Reserved device names, with or without an extension, a folder and a
// read-only file are refused, and nothing is created or changed.
TEST_F(WindowsRewrite, WhatIsNoWritableFileOnDiskIsRefused) {
    fs::create_directory(folder_ / "adir");
    writeFile(folder_ / "locked.zrm", kPrecious);
    ::SetFileAttributesW((folder_ / "locked.zrm").c_str(), FILE_ATTRIBUTE_READONLY);
    const std::pair<fs::path, std::string> outputs[] = {
        {L"NUL", "'NUL' is a device, not a model file"},
        {L"CON", "'CON' is a device, not a model file"},
        {L"COM1", "'COM1' is"},
        {folder_ / "nul.zrm", "nul.zrm' is a device, not a model file"},
        {folder_ / "adir", "adir' is a folder, not a model file"},
        {folder_ / "locked.zrm", "locked.zrm' is read-only"},
    };
    for (const auto& [output, message] : outputs) {
        EXPECT_THAT([&] { rewrite(folder_ / "in.zrm", output); },
                    ThrowsMessage<FileError>(HasSubstr(message)))
            << output;
    }
    EXPECT_THAT([&] { rewrite(L"NUL", folder_ / "out.zrm"); },
                ThrowsMessage<FileError>(HasSubstr("'NUL' is a device, not a model file")));
    EXPECT_THAT([&] { rewrite(folder_ / "adir", folder_ / "out.zrm"); },
                ThrowsMessage<FileError>(HasSubstr("adir' is a folder, not a model file")));
    EXPECT_EQ(readFile(folder_ / "locked.zrm"), kPrecious);
    EXPECT_EQ(folder_.listing(), "adir in.zrm locked.zrm ");
}

// A refused model leaves an existing output whole; a replaced one keeps its
// attributes; names in any script work.
TEST_F(WindowsRewrite, ReplacesSafelyAndKeepsTheAttributes) {
    writeFile(folder_ / "bad.zrm", containerHeader() + chunk(kXyzs, 0, 4096, payload(10)));
    writeFile(folder_ / "out.zrm", kPrecious);
    EXPECT_THROW(rewrite(folder_ / "bad.zrm", folder_ / "out.zrm"), ModelError);
    EXPECT_EQ(readFile(folder_ / "out.zrm"), kPrecious);

    ASSERT_TRUE(::SetFileAttributesW((folder_ / "out.zrm").c_str(),
                                     FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    rewrite(folder_ / "in.zrm", folder_ / "out.zrm");
    EXPECT_EQ(readFile(folder_ / "out.zrm"), rewriteInMemory(kModel, 1).output);
    EXPECT_NE(::GetFileAttributesW((folder_ / "out.zrm").c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);

    const fs::path russian = folder_ / L"\u043c\u043e\u0434\u0435\u043b\u044c.zrm";
    const fs::path chinese = folder_ / L"\u6a21\u578b.zrm";
    writeFile(russian, kModel);
    rewrite(russian, chinese);
    EXPECT_EQ(readFile(chinese), rewriteInMemory(kModel, 1).output);
    EXPECT_EQ(folder_.listing(),
              "bad.zrm in.zrm out.zrm \u043c\u043e\u0434\u0435\u043b\u044c.zrm \u6a21\u578b.zrm ");
}

}  // namespace
}  // namespace morvane::testing
