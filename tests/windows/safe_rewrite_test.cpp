#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "model/files/batch_rewrite.h"
#include "model/files/path_text.h"
#include "support/file_layer_models.h"
#include "support/file_rewrite.h"
#include "support/pass_runner.h"
#include "support/temp_folder.h"
#include "support/zrm_builder.h"

namespace morvane::testing {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::ThrowsMessage;

class WindowsRewrite : public ::testing::Test {
protected:
    void SetUp() override { writeFile(folder_ / "in.zrm", kModel); }

    void rewrite(const fs::path& input, const fs::path& output) {
        std::ostringstream trace;
        rewriteFile(input, output, 1, trace);
    }

    TempFolder folder_;
};

// The input however Windows spells it (case, 8.3 short form, hard link, both
// slash kinds), and a reserved device name with or without an extension.
TEST_F(WindowsRewrite, WhatIsTheInputOrNoWritableFileIsRefused) {
    const fs::path in = folder_ / "in.zrm";
    fs::create_directory(folder_ / "adir");
    ASSERT_TRUE(::CreateHardLinkW((folder_ / "hard.zrm").c_str(), in.c_str(), nullptr));
    writeFile(folder_ / "locked.zrm", kPrecious);
    ::SetFileAttributesW((folder_ / "locked.zrm").c_str(), FILE_ATTRIBUTE_READONLY);
    const std::string itself = "it is the input model itself";
    std::vector<std::tuple<fs::path, fs::path, std::string>> cases = {
        {in, folder_ / "IN.ZRM", itself},
        {in, folder_ / "adir" / ".." / "in.zrm", itself},
        {in, fs::path(folder_.path().generic_wstring() + L"/in.zrm"), itself},
        {in, folder_ / "hard.zrm", itself},
        {in, L"NUL", "'NUL' is a device, not a model file"},
        {in, L"CON", "'CON' is a device, not a model file"},
        {in, L"COM1", "'COM1' is"},
        {in, folder_ / "nul.zrm", "nul.zrm' is a device, not a model file"},
        {in, folder_ / "com1.zrm", "com1.zrm' is a device, not a model file"},
        {in, folder_ / "adir", "adir' is a folder, not a model file"},
        {in, folder_ / "locked.zrm", "locked.zrm' is read-only"},
        {L"NUL", folder_ / "out.zrm", "'NUL' is a device, not a model file"},
        {L"CON", folder_ / "out.zrm", "'CON' is a device, not a model file"},
        {L"COM1", folder_ / "out.zrm", "'COM1' is a device, not a model file"},
        {folder_ / "nul.zrm", folder_ / "out.zrm", "nul.zrm' is a device, not a model file"},
        {folder_ / "adir", folder_ / "out.zrm", "adir' is a folder, not a model file"},
    };
    wchar_t shortName[MAX_PATH];
    if (::GetShortPathNameW(in.c_str(), shortName, MAX_PATH) > 0) {
        cases.emplace_back(in, shortName, itself);
    }
    for (const auto& [input, output, message] : cases) {
        EXPECT_THAT([&] { rewrite(input, output); }, ThrowsMessage<FileError>(HasSubstr(message)))
            << input << " " << output;
    }
    EXPECT_EQ(readFile(in), kModel);
    EXPECT_EQ(readFile(folder_ / "locked.zrm"), kPrecious);
    EXPECT_EQ(folder_.listing(), "adir hard.zrm in.zrm locked.zrm ");
}

// \\.\C:\m.zrm is a file in the device namespace: what a path opens, not
// how it is spelled, makes it a device.
TEST_F(WindowsRewrite, APathInTheDeviceNamespaceIsTheFileItOpens) {
    const auto inDeviceNamespace = [this](const wchar_t* name) {
        return fs::path(LR"(\\.\)" + (folder_ / name).wstring());
    };
    const std::string rewritten = rewriteInMemory(kModel, 1).output;
    rewrite(inDeviceNamespace(L"in.zrm"), folder_ / "read.zrm");
    EXPECT_EQ(readFile(folder_ / "read.zrm"), rewritten);
    rewrite(folder_ / "in.zrm", inDeviceNamespace(L"new.zrm"));
    EXPECT_EQ(readFile(folder_ / "new.zrm"), rewritten);
    writeFile(folder_ / "old.zrm", kPrecious);
    rewrite(folder_ / "in.zrm", inDeviceNamespace(L"old.zrm"));
    EXPECT_EQ(readFile(folder_ / "old.zrm"), rewritten);
    const std::wstring slashes = L"//./" + folder_.path().generic_wstring();
    rewrite(slashes + L"/in.zrm", slashes + L"/slashes.zrm");
    EXPECT_EQ(readFile(folder_ / "slashes.zrm"), rewritten);

    EXPECT_THAT([&] { rewrite(folder_ / "in.zrm", inDeviceNamespace(L"in.zrm")); },
                ThrowsMessage<FileError>(HasSubstr("it is the input model itself")));
    EXPECT_THAT([&] { rewrite(LR"(\\.\NUL)", folder_ / "out.zrm"); },
                ThrowsMessage<FileError>(HasSubstr("'\\\\.\\NUL' is a device, not a model file")));
    EXPECT_EQ(readFile(folder_ / "in.zrm"), kModel);
    EXPECT_EQ(folder_.listing(), "in.zrm new.zrm old.zrm read.zrm slashes.zrm ");
}

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

// The form Windows takes at any length: absolute, its own separators, ".."
// resolved, \\?\ in front (\\?\UNC\ for a share); a device stays a device.
TEST(SystemPaths, AreAbsoluteAndInTheirLongForm) {
    const std::wstring a(100, L'a');
    const std::wstring b(100, L'b');
    const std::wstring c(100, L'c');
    const std::pair<std::wstring, std::wstring> spellings[] = {
        {LR"(C:\m\a.zrm)", LR"(\\?\C:\m\a.zrm)"},
        {LR"(C:/m/x/../a.zrm)", LR"(\\?\C:\m\a.zrm)"},
        {LR"(\\server\share\m\a.zrm)", LR"(\\?\UNC\server\share\m\a.zrm)"},
        {LR"(\\?\C:\m\a.zrm)", LR"(\\?\C:\m\a.zrm)"},
        {L"NUL", LR"(\\.\NUL)"},
        {a + L"\\" + b + L"\\..\\" + c + L"\\m.zrm",
         L"\\\\?\\" + fs::current_path().wstring() + L"\\" + a + L"\\" + c + L"\\m.zrm"},
    };
    for (const auto& [spelling, system] : spellings) {
        EXPECT_EQ(SystemPath(spelling).wstring(), system) << fs::path(spelling);
    }
}

// Wine does not hold paths to 260 characters, as Windows does without their
// long form; these show the rewrite reaches files at any length all the same.
TEST_F(WindowsRewrite, PathsOfAnyLengthAreRewrittenAndRecognised) {
    for (const std::size_t length : {std::size_t{300}, std::size_t{1000}}) {
        SCOPED_TRACE(length);
        fs::path deep = folder_.path();
        for (wchar_t part = L'p'; deep.native().size() + 120 < length; ++part) {
            deep /= std::wstring(100, part);
        }
        fs::create_directories(deep);
        const std::wstring pad(length - deep.native().size() - 5, L'm');
        const fs::path input = deep / (pad + L".zrm");
        const fs::path output = deep / (pad.substr(1) + L"o.zrm");
        writeFile(input, kModel);
        ASSERT_GE(input.native().size(), length);
        rewrite(input, output);
        EXPECT_EQ(readFile(output), rewriteInMemory(kModel, 1).output);
        const fs::path sameFile = deep / L".." / deep.filename() / input.filename();
        EXPECT_THAT([&] { rewrite(input, sameFile); },
                    ThrowsMessage<FileError>(HasSubstr("it is the input model itself")));
        fs::create_directory(deep / L"batch");
        std::ostringstream trace;
        StreamTrace target(trace);
        int written = 0;
        BatchRewrite batch({1, RewrittenBefore::Rewrite, &target, {}},
                           [&](const RewriteOutcome& outcome) {
                               written += outcome.status == RewriteOutcome::Status::Written ? 1 : 0;
                           });
        for (const fs::path& model : {input, output}) {
            batch.add(model, deep / L"batch" / model.filename());
        }
        batch.finish();
        EXPECT_EQ(written, 2);
        EXPECT_EQ(readFile(deep / L"batch" / input.filename()), rewriteInMemory(kModel, 1).output);
    }
}

}  // namespace
}  // namespace morvane::testing
