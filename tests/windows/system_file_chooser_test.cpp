#include <gtest/gtest.h>

#include "native_file_chooser.h"

namespace morvane::ui {
namespace {

// The system's chooser is asked as the window always asked it.
TEST(SystemFileChooserSettings, AreTheWindowsOwn) {
    const OpenFileRequest load({"Choose ZRM file to load", ChooserRequest::Accepts::ExistingFile});
    EXPECT_EQ(load.title, L"Choose ZRM file to load");
    EXPECT_EQ(load.settings.Flags, static_cast<DWORD>(OFN_EXPLORER | OFN_FILEMUSTEXIST));
    EXPECT_EQ(std::wstring(load.settings.lpstrFile), L"*.zrm");
    EXPECT_EQ(std::wstring(load.settings.lpstrDefExt), L"zrm");
    EXPECT_EQ(
        std::wstring(load.settings.lpstrFilter, std::wstring(load.settings.lpstrFilter).size() + 7),
        std::wstring(L"ZRM Files (*.zrm)\0*.zrm", 24));
    EXPECT_GE(load.settings.nMaxFile, 32767u);
    const OpenFileRequest save(
        {"Choose ZRM name to save as", ChooserRequest::Accepts::NameInExistingFolder});
    EXPECT_EQ(save.settings.Flags, static_cast<DWORD>(OFN_EXPLORER | OFN_PATHMUSTEXIST));
    EXPECT_EQ(save.settings.Flags & OFN_OVERWRITEPROMPT, 0u);
}

}  // namespace
}  // namespace morvane::ui
