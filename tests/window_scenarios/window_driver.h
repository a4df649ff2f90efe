#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <deque>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "file_chooser.h"
#include "support/temp_folder.h"
#include "user_guide.h"

namespace morvane::ui::scenarios {

enum class Key { Enter, Escape, F1 };

// A box answer that presses Enter, which takes the box's default button.
inline constexpr int kPressEnter = 0;

// The user in front of the window, on whichever rendering. Every call returns
// once the window has handled it; a box or window that opens meanwhile is
// answered (with IDOK, or the next prepared button) and noted.
class WindowDriver {
public:
    virtual ~WindowDriver() = default;

    // The window as the program opens it, with the models named on its command
    // line.
    virtual void Open(std::vector<std::filesystem::path> models = {}) = 0;
    virtual std::string FieldText(int id) = 0;
    // Whether the field shows the last letter of its text, and the text shown
    // while the pointer rests on a control.
    virtual bool ShowsTheEndOf(int id) = 0;
    virtual std::string ToolTipOf(int id) = 0;
    // How many letters the system shows in a tooltip at most.
    virtual std::size_t LongestToolTip() const { return std::string::npos; }
    virtual void TypeCount(const std::string& text) = 0;
    virtual void Click(int id) = 0;
    virtual void Press(Key key) = 0;
    virtual void SystemCommand(int commandId) = 0;
    // The last item of the system menu, and whether a separator precedes it.
    virtual std::string LastSystemMenuItem(bool& afterSeparator) = 0;
    // The texts of the system menu's items, "-" for a separator; and the
    // item with the given text chosen from it.
    virtual std::vector<std::string> SystemMenuItems() = 0;
    virtual void ChooseSystemMenuItem(const std::string& text) = 0;
    virtual void Drop(const std::vector<std::filesystem::path>& files) = 0;
    virtual bool CountFieldHasFocusAndIsSelected() = 0;
    // Whether the window is still open, and what ended it when it is not.
    virtual bool IsOpen() = 0;
    virtual int Result() = 0;

    std::deque<std::optional<std::filesystem::path>> chooserAnswers;
    std::vector<ChooserRequest> requests;
    // Where the window's help finds the guide, and the documents the desktop
    // was asked to open, which it opens while desktopOpens says so.
    std::filesystem::path guideFolder = "/nowhere/guide";
    std::vector<std::filesystem::path> opened;
    bool desktopOpens = true;
    std::deque<int> boxAnswers;  // IDYES, IDNO, IDOK or kPressEnter
    // Message box texts, each with its details after a blank line where it
    // has them (see Box); other windows' titles.
    std::vector<std::string> said;
    // A progress window that opens is cancelled; the worker of the save, on
    // another thread, may wait for that.
    std::atomic<bool> cancelProgress{false};
    std::atomic<bool> progressShown{false};
    std::atomic<bool> progressCancelled{false};
    // The thread the window runs on, once it is open.
    std::thread::id windowThread;
    // How long a box stays open before it is answered: a person reads it for
    // a second or more, and the window's timers go on firing meanwhile.
    std::chrono::milliseconds readingTime{0};

protected:
    // Notes the request and gives the next prepared answer to a file chooser.
    std::optional<std::filesystem::path> NextChooserAnswer(const ChooserRequest& request) {
        requests.push_back(request);
        if (chooserAnswers.empty()) {
            ADD_FAILURE() << "unexpected file chooser: " << request.title;
            return std::nullopt;
        }
        std::optional<std::filesystem::path> answer = chooserAnswers.front();
        chooserAnswers.pop_front();
        return answer;
    }
};

// A message box as the user reads it: its text, then, after a blank line,
// the technical details that Qt shows on request and Win32 under the text.
inline std::string Box(const std::string& text, const std::string& details) {
    return text + "\n\n" + details;
}

// The status line for a chosen model, spelled out rather than asked of the window's code.
inline std::string Chosen(const std::filesystem::path& input) {
    return "ZRM chosen: '" + DisplayText(input) + "'";
}

// A desktop that records what it is asked to open.
class RecordingDesktop : public DocumentOpener {
public:
    explicit RecordingDesktop(WindowDriver& user) : m_user(user) {}
    bool Open(const std::filesystem::path& document) override {
        m_user.opened.push_back(document);
        return m_user.desktopOpens;
    }

private:
    WindowDriver& m_user;
};

// The rendering under test.
std::unique_ptr<WindowDriver> MakeWindowDriver();

// The settings the window keeps, as a user who has never run morvane has
// them; the user's own are never touched.
void ForgetKeptSettings();

// A folder for the scenario's files and the user in front of the window.
class WindowScenario : public ::testing::Test {
protected:
    WindowScenario() { ForgetKeptSettings(); }

    std::filesystem::path Write(const char* name, const std::string& bytes) const {
        testing::writeFile(folder / name, bytes);
        return folder / name;
    }

    testing::TempFolder folder;
    std::unique_ptr<WindowDriver> user = MakeWindowDriver();
};

}  // namespace morvane::ui::scenarios
