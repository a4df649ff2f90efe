// morvane.exe started as Explorer's "Open with" starts it, then driven from
// outside through its controls and the system's file chooser.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "support/pass_runner.h"
#include "support/temp_folder.h"
#include "support/zrm_builder.h"

namespace morvane::testing {
namespace {

namespace fs = std::filesystem;

// Waits up to 30 s for `found` to give a window.
template <typename Find>
HWND waitFor(Find found) {
    HWND window = nullptr;
    for (int waited = 0; waited < 3000 && (window = found()) == nullptr; ++waited) {
        ::Sleep(10);
    }
    return window;
}

// The first visible window of `process` under `parent` whose title or class is `text`.
HWND findWindow(const std::wstring& text, DWORD process, HWND parent = ::GetDesktopWindow()) {
    struct Search {
        const std::wstring& text;
        DWORD process;
        HWND found;
    } search{text, process, nullptr};
    const WNDENUMPROC visit = [](HWND window, LPARAM data) -> BOOL {
        auto& wanted = *reinterpret_cast<Search*>(data);
        wchar_t title[256] = {};
        wchar_t kind[32] = {};
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        ::GetWindowTextW(window, title, 256);
        ::GetClassNameW(window, kind, 32);
        if (owner == wanted.process && ::IsWindowVisible(window) &&
            (wanted.text == title || wanted.text == kind)) {
            wanted.found = window;
            return FALSE;
        }
        return TRUE;
    };
    ::EnumChildWindows(parent, visit, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

TEST(WholeProgram, OpenedWithAModelItSavesItThroughItsControls) {
    TempFolder folder;
    const std::string model = containerHeader() + chunk(kPrim, 0, 40, payload(40));
    writeFile(folder / "ship.zrm", model);
    const fs::path output = folder / "ship-collide.zrm";

    std::wstring commandLine =
        L"\"" + std::wstring(MORVANE_WINDOW) + L"\" \"" + (folder / "ship.zrm").wstring() + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 nullptr, &startup, &process));
    const DWORD id = process.dwProcessId;

    const HWND window = waitFor([&] { return findWindow(L"morvane", id); });
    ASSERT_NE(window, nullptr) << "the window did not open";
    wchar_t chosen[512] = {};
    ::GetDlgItemTextW(window, 1002, chosen, 512);
    EXPECT_EQ(std::wstring(chosen), L"ZRM chosen: '" + (folder / "ship.zrm").wstring() + L"'");

    ::SetDlgItemTextW(window, 1001, L"3");
    ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(1003, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(window, 1003)));
    const HWND chooser = waitFor([&] { return findWindow(L"Choose ZRM name to save as", id); });
    ASSERT_NE(chooser, nullptr) << "the save chooser did not open";
    // The file name field: the chooser's first visible edit control.
    const HWND field = waitFor([&] { return findWindow(L"Edit", id, chooser); });
    ASSERT_NE(field, nullptr);
    ::SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(output.c_str()));
    ::PostMessageW(chooser, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);

    const std::string expected = rewriteInMemory(model, 3).output;
    waitFor([&]() -> HWND {
        std::error_code error;
        return fs::file_size(output, error) == expected.size() ? window : nullptr;
    });
    EXPECT_EQ(readFile(output), expected);

    ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_EQ(::WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0);
    DWORD exitCode = 1;
    ::GetExitCodeProcess(process.hProcess, &exitCode);
    EXPECT_EQ(exitCode, 0u);
    ::TerminateProcess(process.hProcess, 1);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
}

}  // namespace
}  // namespace morvane::testing
