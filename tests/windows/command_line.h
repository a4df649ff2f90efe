#pragma once

// morvane-cli.exe started as a Windows program starts it, in a folder of the
// test's own; the Windows command-line tests' fixture.
#include <gmock/gmock.h>
#include <windows.h>

#include <filesystem>
#include <string>
#include <vector>

#include "support/temp_folder.h"
#include "support/zrm_builder.h"

namespace morvane::testing {

struct ToolRun {
    DWORD exitCode;
    std::string out;
    std::string err;
};

inline HANDLE inheritableFile(const std::filesystem::path& path, DWORD creation) {
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    return ::CreateFileW(path.c_str(), creation == OPEN_EXISTING ? GENERIC_READ : GENERIC_WRITE,
                         FILE_SHARE_READ, &inherit, creation, FILE_ATTRIBUTE_NORMAL, nullptr);
}

inline std::wstring shortNameOf(const std::wstring& file) {
    wchar_t name[MAX_PATH];
    const DWORD length = ::GetShortPathNameW(file.c_str(), name, MAX_PATH);
    return std::filesystem::path(std::wstring(name, length < MAX_PATH ? length : 0))
        .filename()
        .wstring();
}

// Files and folders whose names Windows reads as other names unless they come
// in the long form, which the temporary folder's own removal does not use;
// removed in the reverse order of their making.
class ExactlyNamedFiles {
public:
    ExactlyNamedFiles() = default;
    ExactlyNamedFiles(const ExactlyNamedFiles&) = delete;
    ExactlyNamedFiles& operator=(const ExactlyNamedFiles&) = delete;
    ~ExactlyNamedFiles() {
        for (auto made = made_.rbegin(); made != made_.rend(); ++made) {
            if (!::DeleteFileW(made->c_str())) {
                ::RemoveDirectoryW(made->c_str());
            }
        }
    }

    void write(const std::filesystem::path& file, const std::string& bytes) {
        made_.push_back(LR"(\\?\)" + file.wstring());
        writeFile(made_.back(), bytes);
    }
    void makeFolder(const std::filesystem::path& folder) {
        made_.push_back(LR"(\\?\)" + folder.wstring());
        ::CreateDirectoryW(made_.back().c_str(), nullptr);
    }
    // A file the program makes under such a name.
    void willRemove(const std::filesystem::path& file) {
        made_.push_back(LR"(\\?\)" + file.wstring());
    }

private:
    std::vector<std::wstring> made_;
};

class WindowsCommandLine : public ::testing::Test {
protected:
    // morvane-cli.exe started as a Windows program starts it, or as cmd.exe
    // does in the test's folder, its standard output and error kept in files;
    // standard input is the test's own, or `input` given.
    enum class Start { Directly, ThroughCmd };
    ToolRun run(const std::vector<std::wstring>& arguments, Start start = Start::Directly,
                const std::string* input = nullptr) {
        std::wstring commandLine = L"\"" MORVANE_CLI L"\"";
        for (const std::wstring& argument : arguments) {
            commandLine += L" \"" + argument + L"\"";
        }
        if (start == Start::ThroughCmd) {
            commandLine = L"cmd /c \"" + commandLine + L"\"";
        }
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        if (input != nullptr) {
            writeFile(logs_ / "stdin.txt", *input);
        }
        startup.hStdInput = input != nullptr ? inheritableFile(logs_ / "stdin.txt", OPEN_EXISTING)
                                             : ::GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = inheritableFile(logs_ / "stdout.txt", CREATE_ALWAYS);
        startup.hStdError = inheritableFile(logs_ / "stderr.txt", CREATE_ALWAYS);
        PROCESS_INFORMATION process{};
        DWORD exitCode = 255;
        if (::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                             folder_.path().c_str(), &startup, &process)) {
            ::WaitForSingleObject(process.hProcess, INFINITE);
            ::GetExitCodeProcess(process.hProcess, &exitCode);
        }
        for (const HANDLE handle :
             {startup.hStdOutput, startup.hStdError, process.hThread, process.hProcess}) {
            ::CloseHandle(handle);
        }
        if (input != nullptr) {
            ::CloseHandle(startup.hStdInput);
        }
        return {exitCode, readFile(logs_ / "stdout.txt"), readFile(logs_ / "stderr.txt")};
    }
    std::wstring path(const std::wstring& name) const { return (folder_.path() / name).wstring(); }

    TempFolder folder_;
    TempFolder logs_;
    const std::string model_ = containerHeader() + chunk(kPrim, 0, 40, payload(40));
};

}  // namespace morvane::testing
