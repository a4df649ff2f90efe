// morvane.exe started as Explorer's "Open with" starts it, then driven from
// outside through its controls and the system's file chooser.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <tuple>

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

// One of the programs as Explorer or a console starts it, its standard output
// into a file when one is named, in the given folder or the test's own;
// ended at the latest with the test.
class Program {
public:
    explicit Program(std::wstring commandLine, const fs::path& output = {},
                     const fs::path& folder = {}) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        if (!output.empty()) {
            startup.dwFlags = STARTF_USESTDHANDLES;
            startup.hStdInput = ::GetStdHandle(STD_INPUT_HANDLE);
            startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
            startup.hStdOutput =
                ::CreateFileW(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        }
        started_ = ::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, !output.empty(),
                                    0, nullptr, folder.empty() ? nullptr : folder.c_str(), &startup,
                                    &process_);
        if (!output.empty()) {
            ::CloseHandle(startup.hStdOutput);
        }
    }
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;
    ~Program() {
        if (started_) {
            ::TerminateProcess(process_.hProcess, 1);
            ::CloseHandle(process_.hThread);
            ::CloseHandle(process_.hProcess);
        }
    }

    bool started() const { return started_; }
    DWORD id() const { return process_.dwProcessId; }
    // Once it has ended; STILL_ACTIVE when it has not within 30 s.
    DWORD exitCode() const {
        DWORD code = STILL_ACTIVE;
        if (::WaitForSingleObject(process_.hProcess, 30000) == WAIT_OBJECT_0) {
            ::GetExitCodeProcess(process_.hProcess, &code);
        }
        return code;
    }

private:
    PROCESS_INFORMATION process_{};
    bool started_ = false;
};

std::wstring quoted(const fs::path& path) {
    return L"\"" + path.wstring() + L"\"";
}

// Names `file` in the chooser titled `title` as a user types it, and confirms.
void answerChooser(const std::wstring& title, const fs::path& file, DWORD process) {
    const HWND chooser = waitFor([&] { return findWindow(title, process); });
    ASSERT_NE(chooser, nullptr) << "no chooser titled " << fs::path(title);
    // The file name field: the chooser's first visible edit control.
    const HWND field = waitFor([&] { return findWindow(L"Edit", process, chooser); });
    ASSERT_NE(field, nullptr);
    ::SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(file.c_str()));
    ::PostMessageW(chooser, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

void click(HWND window, int control) {
    ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(control, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(window, control)));
}

// The save chooser adds the extension to a name typed without it, and takes
// an existing name without asking: the rewrite never overwrites in place.
// (Wine's open chooser does not try the extension on a name that must exist.)
// Started with its output redirected, the window hands the trace on, byte for
// byte the trace of morvane-cli.
TEST(WholeProgram, OpenedWithAModelItSavesItThroughItsControls) {
    TempFolder folder;
    const std::string model = containerHeader() + chunk(kPrim, 0, 40, payload(40));
    const std::string other = containerHeader() + chunk(kPrim, 0, 8, payload(8));
    writeFile(folder / "ship.zrm", model);
    writeFile(folder / "boat.zrm", other);
    const fs::path output = folder / "ship-collide.zrm";
    writeFile(output, "an older model");

    const Program program(quoted(MORVANE_WINDOW) + L" " + quoted(folder / "ship.zrm"),
                          folder / "trace.txt");
    ASSERT_TRUE(program.started());
    const DWORD id = program.id();

    const HWND window = waitFor([&] { return findWindow(L"morvane", id); });
    ASSERT_NE(window, nullptr) << "the window did not open";
    wchar_t chosen[512] = {};
    ::GetDlgItemTextW(window, 1002, chosen, 512);
    EXPECT_EQ(std::wstring(chosen), L"ZRM chosen: '" + (folder / "ship.zrm").wstring() + L"'");

    click(window, 1000);
    answerChooser(L"Choose ZRM file to load", folder / "boat.zrm", id);
    const std::wstring boatChosen = L"ZRM chosen: '" + (folder / "boat.zrm").wstring() + L"'";
    waitFor([&]() -> HWND {
        ::GetDlgItemTextW(window, 1002, chosen, 512);
        return boatChosen == chosen ? window : nullptr;
    });
    EXPECT_EQ(std::wstring(chosen), boatChosen);

    ::SetDlgItemTextW(window, 1001, L"3");
    click(window, 1003);
    answerChooser(L"Choose ZRM name to save as", folder / "ship-collide", id);

    const std::string expected = rewriteInMemory(other, 3).output;
    waitFor([&]() -> HWND {
        std::error_code error;
        return fs::file_size(output, error) == expected.size() ? window : nullptr;
    });
    EXPECT_EQ(readFile(output), expected);
    // The trace is whole in its file while the window is still open.
    const std::string trace = rewriteInMemory(other, 3).trace;
    waitFor([&]() -> HWND { return readFile(folder / "trace.txt") == trace ? window : nullptr; });
    EXPECT_EQ(readFile(folder / "trace.txt"), trace);
    EXPECT_TRUE(::IsWindowVisible(window));

    ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_EQ(program.exitCode(), 0u);
    const Program cli(quoted(MORVANE_CLI) + L" -n 3 " + quoted(folder / "boat.zrm") + L" " +
                          quoted(folder / "cli.zrm"),
                      folder / "cli-trace.txt");
    EXPECT_EQ(cli.exitCode(), 0u);
    EXPECT_EQ(readFile(folder / "trace.txt"), readFile(folder / "cli-trace.txt"));
    EXPECT_EQ(readFile(folder / "trace.txt"), rewriteInMemory(other, 3).trace);
}

// The choosers start where the models are: a name typed without a folder is
// taken from the model's folder by the open chooser, as the folder a model
// was last chosen in, and the save chooser, as the chosen model's folder,
// while the program runs in another folder.
TEST(WholeProgram, TheChoosersStartInTheModelsFolder) {
    TempFolder folder;
    TempFolder elsewhere;
    const std::string model = containerHeader() + chunk(kPrim, 0, 8, payload(8));
    writeFile(folder / "ship.zrm", model);
    writeFile(folder / "boat.zrm", model);
    const Program program(quoted(MORVANE_WINDOW) + L" " + quoted(folder / "ship.zrm"), {},
                          elsewhere.path());
    ASSERT_TRUE(program.started());
    const DWORD id = program.id();
    const HWND window = waitFor([&] { return findWindow(L"morvane", id); });
    ASSERT_NE(window, nullptr) << "the window did not open";

    click(window, 1000);
    answerChooser(L"Choose ZRM file to load", L"boat.zrm", id);
    const std::wstring boatChosen = L"ZRM chosen: '" + (folder / "boat.zrm").wstring() + L"'";
    wchar_t chosen[512] = {};
    waitFor([&]() -> HWND {
        ::GetDlgItemTextW(window, 1002, chosen, 512);
        return boatChosen == chosen ? window : nullptr;
    });
    EXPECT_EQ(std::wstring(chosen), boatChosen);

    ::SetDlgItemTextW(window, 1001, L"2");
    click(window, 1003);
    answerChooser(L"Choose ZRM name to save as", L"named.zrm", id);
    const fs::path output = folder / "named.zrm";
    const std::string expected = rewriteInMemory(model, 2).output;
    waitFor([&]() -> HWND {
        std::error_code error;
        return fs::file_size(output, error) == expected.size() ? window : nullptr;
    });
    EXPECT_EQ(readFile(output), expected);
    EXPECT_EQ(elsewhere.listing(), "");
    ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    EXPECT_EQ(program.exitCode(), 0u);
}

// A second morvane opens its window below and to the right of the first by
// the height of the first's caption, which stays in sight.
TEST(WholeProgram, ASecondWindowCascadesFromTheFirst) {
    const Program first(quoted(MORVANE_WINDOW));
    ASSERT_TRUE(first.started());
    const HWND before = waitFor([&] { return findWindow(L"morvane", first.id()); });
    ASSERT_NE(before, nullptr) << "the first window did not open";
    ::SetWindowPos(before, nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    RECT frame{};
    ::GetWindowRect(before, &frame);
    POINT client{0, 0};
    ::ClientToScreen(before, &client);
    const LONG caption = client.y - frame.top;
    ASSERT_EQ(frame.left, 40);
    ASSERT_GT(caption, 0);

    const Program second(quoted(MORVANE_WINDOW));
    ASSERT_TRUE(second.started());
    const HWND after = waitFor([&] { return findWindow(L"morvane", second.id()); });
    ASSERT_NE(after, nullptr) << "the second window did not open";
    RECT cascaded{};
    ::GetWindowRect(after, &cascaded);
    EXPECT_EQ(cascaded.left, 40 + caption);
    EXPECT_EQ(cascaded.top, 30 + caption);
    for (const auto& [window, program] : {std::pair{before, &first}, std::pair{after, &second}}) {
        ::PostMessageW(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
        EXPECT_EQ(program->exitCode(), 0u);
    }
}

// Where the box's field draws the letter at `index` of its text.
POINT letterAt(HWND field, std::size_t index) {
    const auto at = static_cast<DWORD>(::SendMessageW(field, EM_POSFROMCHAR, index, 0));
    return {static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
}

// Without a console the answer comes in a message box, and no window opens.
TEST(WholeProgram, VersionAndAWrongOptionAnswerInABox) {
    const std::tuple<std::wstring, std::wstring, DWORD> answers[] = {
        {L"--version", L"morvane " MORVANE_VERSION_TEXT, 0},
        {L"--bogus", L"morvane: unknown option '--bogus'", 2},
    };
    for (const auto& [word, text, status] : answers) {
        const Program program(quoted(MORVANE_WINDOW) + L" " + word);
        ASSERT_TRUE(program.started());
        const HWND box = waitFor([&] { return findWindow(L"#32770", program.id()); });
        ASSERT_NE(box, nullptr) << "no box for " << fs::path(word);
        wchar_t said[2048] = {};
        ::GetDlgItemTextW(box, 0xFFFF, said, 2048);
        EXPECT_TRUE(std::wstring(said).starts_with(text)) << fs::path(said);
        EXPECT_EQ(::GetDlgItem(box, 1003), nullptr) << "the window opened";
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        EXPECT_EQ(program.exitCode(), status) << fs::path(word);
    }
}

// The usage comes in a box of its own whose field lines up the options'
// descriptions, each line whole on a line of its own; the text can be
// selected there and copied.
TEST(WholeProgram, HelpLinesUpItsColumnsInABox) {
    const Program program(quoted(MORVANE_WINDOW) + L" --help");
    ASSERT_TRUE(program.started());
    const HWND box = waitFor([&] { return findWindow(L"#32770", program.id()); });
    ASSERT_NE(box, nullptr) << "no box for --help";
    const HWND field = waitFor([&] { return findWindow(L"Edit", program.id(), box); });
    ASSERT_NE(field, nullptr) << "the usage is not in a field";
    wchar_t shown[4096] = {};
    // GetWindowText does not ask another program's controls for their text.
    ::SendMessageW(field, WM_GETTEXT, 4096, reinterpret_cast<LPARAM>(shown));
    const std::wstring text = shown;
    EXPECT_TRUE(text.starts_with(L"Usage: morvane [OPTION]... [--] [MODEL]\r\n")) << fs::path(text);
    const std::size_t descriptions[] = {text.find(L"show this help"),
                                        text.find(L"show the version"),
                                        text.find(L"end the options")};
    for (const std::size_t at : descriptions) {
        ASSERT_NE(at, std::wstring::npos) << fs::path(text);
        EXPECT_EQ(letterAt(field, at).x, letterAt(field, descriptions[0]).x) << at;
    }
    const std::size_t lineEnd = text.find(L"'-'") + 2;
    RECT client{};
    ::GetClientRect(field, &client);
    const POINT last = letterAt(field, lineEnd);
    EXPECT_EQ(last.y, letterAt(field, descriptions[2]).y) << "the line is broken";
    EXPECT_TRUE(::PtInRect(&client, last)) << last.x << "," << last.y;
    const POINT end = letterAt(field, text.find_last_not_of(L"\r\n"));
    EXPECT_TRUE(::PtInRect(&client, end)) << end.x << "," << end.y;
    EXPECT_EQ(::GetDlgItem(box, 1003), nullptr) << "the window opened";
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(program.exitCode(), 0u);
}

}  // namespace
}  // namespace morvane::testing
