#pragma once

#include <gtest/gtest.h>
#include <windows.h>
//
#include <commctrl.h>
#include <shlobj.h>

#include <chrono>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "collision_dlg.h"
#include "native_file_chooser.h"
#include "resources/resource.h"
#include "support/temp_folder.h"
#include "wide_text.h"

namespace morvane::ui::testing {

using namespace morvane::testing;

// A broken window fails the test after this long instead of hanging it.
constexpr auto kGiveUp = std::chrono::seconds(20);
// What the system's message box calls the control that holds its text.
constexpr int kMessageBoxText = 0xFFFF;

inline bool WaitFor(const std::function<bool()>& condition) {
    const auto deadline = std::chrono::steady_clock::now() + kGiveUp;
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) {
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

inline std::wstring TextOfWindow(HWND window) {
    wchar_t text[4096] = {};
    ::GetWindowTextW(window, text, 4096);
    return text;
}

// The Win32 window, run modally on the test's thread as the program runs it,
// while the user plays on a thread of their own: they press keys and click
// through the messages the system would send, answer the file chooser with
// prepared paths, and read and answer message boxes as they open.
class Win32WindowTest : public ::testing::Test, public FileChooser {
protected:
    std::optional<std::filesystem::path> Choose(const ChooserRequest& request) override {
        requests.push_back(request);
        if (answers.empty()) {
            ADD_FAILURE() << "unexpected file chooser: " << request.title;
            return std::nullopt;
        }
        std::optional<std::filesystem::path> answer = answers.front();
        answers.pop_front();
        return answer;
    }

    // Returns what ended the window; a window the user left open is closed.
    int Run(CCollisionDlg& window, const std::function<void()>& user) {
        m_window = &window;
        m_uiThread = ::GetCurrentThreadId();
        std::thread player([&] {
            if (WaitFor([&] { return Dialog() != nullptr && ::IsWindowVisible(Dialog()); })) {
                user();
            } else {
                ADD_FAILURE() << "the window never showed";
            }
            if (Dialog() != nullptr) {
                ::PostMessageW(Dialog(), WM_COMMAND, IDCANCEL, 0);
            }
        });
        const int ended = window.DoModal();
        player.join();
        return ended;
    }

    HWND Dialog() const { return m_window->GetSafeHwnd(); }
    HWND Control(int id) const { return ::GetDlgItem(Dialog(), id); }
    std::string FieldText(int id) const { return Narrow(TextOfWindow(Control(id))); }

    void Click(int id) const { ::PostMessageW(Control(id), BM_CLICK, 0, 0); }

    // Clicks and waits until the click has been handled, or for a while when
    // it opens a modal window that waits for the user.
    void ClickAndSettle(int id, UINT milliseconds = 300) const {
        ::SendMessageTimeoutW(Control(id), BM_CLICK, 0, 0, SMTO_NORMAL, milliseconds, nullptr);
    }

    void TypeCount(const std::string& text) const {
        ::SendMessageW(Dialog(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Control(IDC_VOLUMES)),
                       TRUE);
        ::SendMessageW(Control(IDC_VOLUMES), EM_SETSEL, 0, -1);
        ::SendMessageW(Control(IDC_VOLUMES), WM_CHAR, VK_BACK, 0);
        for (const wchar_t letter : Widen(text)) {
            ::SendMessageW(Control(IDC_VOLUMES), WM_CHAR, letter, 0);
        }
    }

    // A key pressed where the focus is, through the dialog's own key handling.
    void PressKey(WPARAM key) const {
        HWND focus = FocusedControl();
        ::PostMessageW(focus != nullptr ? focus : Dialog(), WM_KEYDOWN, key, 0);
        ::PostMessageW(focus != nullptr ? focus : Dialog(), WM_KEYUP, key, 0xC0000000);
    }

    HWND FocusedControl() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        ::GetGUIThreadInfo(m_uiThread, &info);
        return info.hwndFocus;
    }

    void ChooseModel(const std::optional<std::filesystem::path>& input) {
        answers.push_back(input);
        ClickAndSettle(IDC_CHOOSE);
    }

    // The next top-level window of the program other than the dialog that
    // passes the test, waited for.
    HWND WaitForWindow(const std::function<bool(HWND)>& test) const {
        HWND found = nullptr;
        WaitFor([&] {
            found = FindWindowOfProgram(test);
            return found != nullptr;
        });
        return found;
    }

    HWND FindWindowOfProgram(const std::function<bool(HWND)>& test) const {
        struct Search {
            const std::function<bool(HWND)>* test;
            HWND dialog;
            HWND found;
        } search{&test, Dialog(), nullptr};
        ::EnumThreadWindows(
            m_uiThread,
            [](HWND window, LPARAM data) -> BOOL {
                auto* s = reinterpret_cast<Search*>(data);
                if (window != s->dialog && ::IsWindowVisible(window) && (*s->test)(window)) {
                    s->found = window;
                    return FALSE;
                }
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }

    static bool IsMessageBox(HWND window) {
        return ::GetDlgItem(window, kMessageBoxText) != nullptr;
    }

    // Reads the message box that opens and answers it with the given button.
    std::string AnswerMessageBox(int button = IDOK) {
        const HWND box = WaitForWindow(IsMessageBox);
        if (box == nullptr) {
            ADD_FAILURE() << "no message box opened";
            return {};
        }
        const std::string text = Narrow(TextOfWindow(::GetDlgItem(box, kMessageBoxText)));
        ::PostMessageW(box, WM_COMMAND, static_cast<WPARAM>(button), 0);
        WaitFor([&] { return !::IsWindow(box); });
        return text;
    }

    bool NoMessageBoxOpen() const { return FindWindowOfProgram(IsMessageBox) == nullptr; }

    // Files dropped on the window, as the shell hands them over.
    void Drop(const std::vector<std::filesystem::path>& files) const {
        std::wstring names;
        for (const auto& file : files) {
            names += file.wstring() + L'\0';
        }
        names += L'\0';
        const HGLOBAL memory =
            ::GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
        auto* header = static_cast<DROPFILES*>(::GlobalLock(memory));
        header->pFiles = sizeof(DROPFILES);
        header->fWide = TRUE;
        std::copy(names.begin(), names.end(),
                  reinterpret_cast<wchar_t*>(reinterpret_cast<char*>(header) + sizeof(DROPFILES)));
        ::GlobalUnlock(memory);
        ::SendMessageW(Dialog(), WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
    }

    std::filesystem::path Write(const char* name, const std::string& bytes) const {
        writeFile(folder / name, bytes);
        return folder / name;
    }

    TempFolder folder;
    std::deque<std::optional<std::filesystem::path>> answers;
    std::vector<ChooserRequest> requests;

private:
    CCollisionDlg* m_window = nullptr;
    DWORD m_uiThread = 0;
};

}  // namespace morvane::ui::testing
