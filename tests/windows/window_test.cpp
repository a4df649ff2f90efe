#include <atomic>
#include <sstream>

#include "model/file_rewrite.h"
#include "support/pass_runner.h"
#include "support/zrm_builder.h"
#include "window_driver.h"

namespace morvane::ui::testing {
namespace {

const std::string kModel = containerHeader() + chunk(kPrim, 0, 12, payload(12));

std::string CoreMessage(const std::filesystem::path& input, const std::filesystem::path& output) {
    std::ostringstream trace;
    try {
        RewriteModelFile(input, output, 1, trace);
    } catch (const std::exception& error) {
        return error.what();
    }
    return "(written)";
}

using WindowOnWindows = Win32WindowTest;

// Saving asks for a model first. Choosing one refreshes the count from the
// window's member; a cancelled chooser changes nothing. The save writes the
// same bytes as the rewrite does on Linux.
TEST_F(WindowOnWindows, ChoosesAModelAndSavesItWithTheCountTyped) {
    const auto input = Write("in.zrm", kModel);
    const auto output = folder / "out.zrm";
    CCollisionDlg window(*this);
    std::string startCount, startField, firstMessage, afterChoosing, countAfterChoosing;
    Run(window, [&] {
        startCount = FieldText(IDC_VOLUMES);
        startField = FieldText(IDC_FILENAME);
        ClickAndSettle(IDC_SAVE);
        firstMessage = AnswerMessageBox();
        TypeCount("7");
        ChooseModel(input);
        afterChoosing = FieldText(IDC_FILENAME);
        countAfterChoosing = FieldText(IDC_VOLUMES);
        TypeCount("3");
        ChooseModel(std::nullopt);
        answers.push_back(std::nullopt);
        ClickAndSettle(IDC_SAVE);
        answers.push_back(output);
        ClickAndSettle(IDC_SAVE, 20000);
        EXPECT_TRUE(NoMessageBoxOpen());
    });
    EXPECT_EQ(startCount, "1");
    EXPECT_EQ(startField, "");
    EXPECT_NE(firstMessage.find("step 1"), std::string::npos) << firstMessage;
    EXPECT_EQ(afterChoosing, "ZRM chosen: '" + Narrow(input.wstring()) + "'");
    EXPECT_EQ(countAfterChoosing, "1");
    EXPECT_EQ(readFile(output), rewriteInMemory(kModel, 3).output);
    ASSERT_EQ(requests.size(), 4u);
    EXPECT_EQ(requests[0].title, "Choose ZRM file to load");
    EXPECT_EQ(requests[3].title, "Choose ZRM name to save as");
}

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

// A refused count writes nothing and sends the user back into the field with
// its text selected. Enter presses the default Quit, which checks the count
// the same way and closes only when it is good.
TEST_F(WindowOnWindows, TheCountIsCheckedOnSaveAndOnEnter) {
    const auto input = Write("in.zrm", kModel);
    const auto output = folder / "out.zrm";
    CCollisionDlg window(*this);
    std::vector<std::string> said;
    bool focusBack = false;
    bool selected = false;
    bool closedByEnter = false;
    const int ended = Run(window, [&] {
        ChooseModel(input);
        for (const char* typed : {"0", "abc"}) {
            TypeCount(typed);
            answers.push_back(output);
            ClickAndSettle(IDC_SAVE);
            said.push_back(AnswerMessageBox());
        }
        WaitFor([&] { return FocusedControl() == Control(IDC_VOLUMES); });
        focusBack = FocusedControl() == Control(IDC_VOLUMES);
        DWORD start = 0;
        DWORD end = 0;
        ::SendMessageW(Control(IDC_VOLUMES), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                       reinterpret_cast<LPARAM>(&end));
        selected = start == 0 && end == 3;
        TypeCount("1001");
        PressKey(VK_RETURN);
        said.push_back(AnswerMessageBox());
        TypeCount("12");
        PressKey(VK_RETURN);
        closedByEnter = WaitFor([&] { return Dialog() == nullptr; });
    });
    EXPECT_TRUE(closedByEnter);
    EXPECT_EQ(ended, IDOK);
    EXPECT_EQ(said, (std::vector<std::string>{"Please enter a whole number from 1 to 1000.",
                                              "Please enter a whole number.",
                                              "Please enter a whole number from 1 to 1000."}));
    EXPECT_TRUE(focusBack);
    EXPECT_TRUE(selected);
    EXPECT_FALSE(std::filesystem::exists(output));
}

TEST_F(WindowOnWindows, EscapeClosesAtOnce) {
    CCollisionDlg window(*this);
    bool closed = false;
    const int ended = Run(window, [&] {
        TypeCount("abc");
        PressKey(VK_ESCAPE);
        closed = WaitFor([&] { return Dialog() == nullptr; });
    });
    EXPECT_TRUE(closed);
    EXPECT_EQ(ended, IDCANCEL);
}

// The user sees the core's own explanation and the earlier output is kept.
TEST_F(WindowOnWindows, ARefusedModelLeavesTheOutputAndSaysWhy) {
    const auto input = Write("in.zrm", "not zrm");
    const auto output = Write("out.zrm", "keep");
    CCollisionDlg window(*this);
    std::string said;
    Run(window, [&] {
        ChooseModel(input);
        answers.push_back(output);
        ClickAndSettle(IDC_SAVE);
        said = AnswerMessageBox();
    });
    EXPECT_EQ(said, CoreMessage(input, folder / "other.zrm"));
    EXPECT_EQ(readFile(output), "keep");
    EXPECT_EQ(folder.listing(), "in.zrm out.zrm ");
}

// The system menu ends with the About item; every command from 0x10 to 0x1F
// opens the About box; Close closes the window as the second Quit does.
TEST_F(WindowOnWindows, AboutIsOnTheSystemMenu) {
    CCollisionDlg window(*this);
    std::wstring lastItem;
    UINT lastId = 0;
    bool separator = false;
    std::vector<std::wstring> aboutTitles;
    bool closed = false;
    const int ended = Run(window, [&] {
        const HMENU menu = ::GetSystemMenu(Dialog(), FALSE);
        const int count = ::GetMenuItemCount(menu);
        wchar_t text[256] = {};
        ::GetMenuStringW(menu, static_cast<UINT>(count - 1), text, 256, MF_BYPOSITION);
        lastItem = text;
        lastId = ::GetMenuItemID(menu, count - 1);
        separator =
            (::GetMenuState(menu, static_cast<UINT>(count - 2), MF_BYPOSITION) & MF_SEPARATOR) != 0;
        for (const WPARAM command : {WPARAM{0x10}, WPARAM{0x1F}}) {
            ::PostMessageW(Dialog(), WM_SYSCOMMAND, command, 0);
            const HWND about = WaitForWindow([](HWND w) { return !IsMessageBox(w); });
            aboutTitles.push_back(about != nullptr ? TextOfWindow(about) : L"");
            ::PostMessageW(about, WM_COMMAND, IDOK, 0);
            WaitFor([&] { return !::IsWindow(about); });
        }
        ::PostMessageW(Dialog(), WM_SYSCOMMAND, SC_CLOSE, 0);
        closed = WaitFor([&] { return Dialog() == nullptr; });
    });
    EXPECT_TRUE(closed);
    EXPECT_TRUE(separator);
    EXPECT_EQ(lastItem, L"&About morvane...");
    EXPECT_EQ(lastId, static_cast<UINT>(IDM_ABOUTBOX));
    EXPECT_EQ(aboutTitles, (std::vector<std::wstring>{L"About morvane", L"About morvane"}));
    EXPECT_EQ(ended, IDCANCEL);
}

// One dropped file is chosen as the chooser would choose it; several files,
// or a folder, change nothing.
TEST_F(WindowOnWindows, OneDroppedFileIsChosen) {
    const auto input = Write("in.zrm", kModel);
    const auto other = Write("other.zrm", kModel);
    CCollisionDlg window(*this);
    std::vector<std::string> fields;
    Run(window, [&] {
        TypeCount("9");
        Drop({input});
        fields.push_back(FieldText(IDC_FILENAME));
        fields.push_back(FieldText(IDC_VOLUMES));
        Drop({other, input});
        Drop({folder.path()});
        fields.push_back(FieldText(IDC_FILENAME));
    });
    const std::string chosen = "ZRM chosen: '" + Narrow(input.wstring()) + "'";
    EXPECT_EQ(fields, (std::vector<std::string>{chosen, "1", chosen}));
    EXPECT_TRUE(requests.empty());
}

// The first model named on the command line is chosen; the others are named.
TEST_F(WindowOnWindows, TheCommandLineModelIsChosen) {
    const auto input = Write("in.zrm", kModel);
    const auto other = Write("other.zrm", kModel);
    CCollisionDlg window(*this);
    window.ChooseOnStart({input, other});
    std::string field;
    std::string said;
    Run(window, [&] {
        said = AnswerMessageBox();
        field = FieldText(IDC_FILENAME);
    });
    EXPECT_EQ(field, "ZRM chosen: '" + Narrow(input.wstring()) + "'");
    EXPECT_EQ(said, "morvane works on one model at a time. These were not opened:\n'" +
                        Narrow(other.wstring()) + "'");
}

// No (the default) writes nothing and asks for no name; Yes saves.
TEST_F(WindowOnWindows, ARewrittenModelIsSavedOnlyWhenTheUserAgrees) {
    const std::string rewritten = rewriteInMemory(kModel, 3).output;
    const auto input = Write("in.zrm", rewritten);
    const auto output = folder / "out.zrm";
    CCollisionDlg window(*this);
    std::string question;
    Run(window, [&] {
        ChooseModel(input);
        ClickAndSettle(IDC_SAVE);
        question = AnswerMessageBox(IDNO);
        answers.push_back(output);
        ClickAndSettle(IDC_SAVE);
        AnswerMessageBox(IDYES);
        WaitFor([&] { return std::filesystem::exists(output); });
    });
    EXPECT_NE(question.find("already carries a block of 3 collision volumes"), std::string::npos)
        << question;
    EXPECT_EQ(requests.size(), 2u);
    EXPECT_EQ(readFile(output), rewriteInMemory(rewritten, 1).output);
}

// Held at its first report of reading until the test lets it go on.
class HeldRewrite {
public:
    ModelRewriter Rewriter() {
        return [this](const std::filesystem::path& input, const std::filesystem::path& output,
                      int volumes, std::ostream& trace, const RewriteProgress& progress) {
            return RewriteModelFile(input, output, volumes, trace,
                                    [this, &progress](std::int64_t read, std::int64_t total) {
                                        held = true;
                                        WaitFor([this] { return released.load(); });
                                        return progress(read, total);
                                    });
        };
    }

    std::atomic<bool> held{false};
    std::atomic<bool> released{false};
};

// The progress window shows over a long save; its Cancel stops the worker,
// the earlier output survives and no temporary file is left.
TEST_F(WindowOnWindows, ALongSaveCanBeCancelled) {
    const auto input =
        Write("in.zrm", containerHeader() + chunk(kPrim, 0, 1u << 20, payload(1u << 20)));
    const auto output = Write("out.zrm", "keep");
    HeldRewrite rewrite;
    CCollisionDlg window(*this, rewrite.Rewriter());
    bool progressShown = false;
    bool windowDisabled = false;
    Run(window, [&] {
        ChooseModel(input);
        answers.push_back(output);
        ClickAndSettle(IDC_SAVE);
        WaitFor([&] { return rewrite.held.load(); });
        const HWND progress = WaitForWindow([](HWND w) { return !IsMessageBox(w); });
        progressShown = progress != nullptr;
        windowDisabled = ::IsWindowEnabled(Dialog()) == FALSE;
        ::PostMessageW(progress, WM_COMMAND, IDCANCEL, 0);
        WaitFor([&] {
            return ::GetWindowTextLengthW(::GetDlgItem(progress, 100)) > 0 &&
                   TextOfWindow(::GetDlgItem(progress, 100)) == L"Cancelling...";
        });
        rewrite.released = true;
        WaitFor([&] { return !::IsWindow(progress); });
        EXPECT_TRUE(NoMessageBoxOpen());
    });
    rewrite.released = true;
    EXPECT_TRUE(progressShown);
    EXPECT_TRUE(windowDisabled);
    EXPECT_EQ(readFile(output), "keep");
    EXPECT_EQ(folder.listing(), "in.zrm out.zrm ");
}

}  // namespace
}  // namespace morvane::ui::testing
