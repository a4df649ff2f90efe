#pragma once

// The window scenarios' user on the Win32 rendering: the window runs modally
// on a thread of its own, the user sends it the messages keys and clicks
// send, and a watcher answers the modal windows it opens.
#include "ui/platform/win32/windows_api.h"
//
#include <commctrl.h>
#include <gtest/gtest.h>
#include <oleacc.h>
#include <shlobj.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <mutex>
#include <string_view>
#include <thread>

#include "collision_dlg.h"
#include "platform/system_settings.h"
#include "resources/resource.h"
#include "support/temp_folder.h"
#include "window_scenarios/window_driver.h"

namespace morvane::ui::scenarios {

// A broken window fails the test after this long instead of hanging it.
constexpr auto kGiveUp = std::chrono::seconds(20);
constexpr UINT kGiveUpMilliseconds = 20000;
// What the system's message box calls the control that holds its text, and
// the progress window its bar.
constexpr int kMessageBoxText = 0xFFFF;
constexpr int kProgressBar = 101;

inline bool WaitFor(const std::function<bool()>& condition,
                    std::chrono::milliseconds limit = kGiveUp) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition() && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return condition();
}

inline std::string TextOfWindow(HWND window) {
    wchar_t text[4096] = {};
    ::GetWindowTextW(window, text, 4096);
    return Narrow(text);
}

class Win32WindowDriver : public WindowDriver, public FileChooser {
public:
    ~Win32WindowDriver() override {
        if (m_ui.joinable() && !m_ended) {
            ::PostMessageW(Dialog(), WM_COMMAND, IDCANCEL, 0);
        }
    }

    std::optional<std::filesystem::path> Choose(const ChooserRequest& request) override {
        const std::lock_guard lock(m_mutex);
        return NextChooserAnswer(request);
    }

    void Open(std::vector<std::filesystem::path> models) override {
        m_guide = std::make_unique<UserGuide>(m_desktop, guideFolder);
        m_window = std::make_unique<CCollisionDlg>(*this, *m_guide, m_settings);
        m_window->ChooseOnStart(std::move(models));
        std::atomic<bool> started{false};
        m_ui = std::jthread([this, &started] {
            windowThread = std::this_thread::get_id();
            started = true;
            m_uiThread = ::GetCurrentThreadId();
            m_result = m_window->DoModal();
            m_ended = true;
        });
        m_watcher = std::jthread([this](const std::stop_token& stop) { Watch(stop); });
        WaitFor([&started] { return started.load(); });
        if (!WaitFor([this] { return Dialog() != nullptr && ::IsWindowVisible(Dialog()); })) {
            ADD_FAILURE() << "the window never showed";
        }
        // The boxes the start posts open one after another: the start is over
        // once none has come for half a second.
        const std::size_t before = SaidCount();
        for (std::size_t seen = SIZE_MAX; seen != SaidCount();) {
            seen = SaidCount();
            std::this_thread::sleep_for(std::chrono::milliseconds(seen == before ? 300 : 500));
            WaitFor([this] { return !m_answering; });
        }
    }

    std::string FieldText(int id) override { return TextOfWindow(Control(id)); }

    // Where the field draws its last letter: inside its client area.
    bool ShowsTheEndOf(int id) override {
        const HWND field = Control(id);
        const int length = ::GetWindowTextLengthW(field);
        const auto at = static_cast<DWORD>(
            ::SendMessageW(field, EM_POSFROMCHAR, static_cast<WPARAM>(length - 1), 0));
        RECT client{};
        ::GetClientRect(field, &client);
        const POINT last{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
        return length > 0 && at != 0xFFFFFFFF && ::PtInRect(&client, last) != FALSE;
    }

    // What the tooltip control the window made for the control holds.
    std::string ToolTipOf(int id) override {
        const HWND tooltips = Tooltips();
        std::wstring text(32768, L'\0');
        TTTOOLINFOW tool{};
        tool.cbSize = TTTOOLINFOW_V2_SIZE;
        tool.hwnd = Dialog();
        tool.uId = reinterpret_cast<UINT_PTR>(Control(id));
        tool.lpszText = text.data();
        if (tooltips == nullptr) {
            return {};
        }
        ::SendMessageW(tooltips, TTM_GETTEXTW, text.size(), reinterpret_cast<LPARAM>(&tool));
        return Narrow(text.c_str());
    }

    std::size_t LongestToolTip() const override { return 1023; }

    void TypeCount(const std::string& text) override {
        const HWND field = Control(IDC_VOLUMES);
        ::SendMessageW(Dialog(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(field), TRUE);
        ::SendMessageW(field, EM_SETSEL, 0, -1);
        ::SendMessageW(field, WM_CHAR, VK_BACK, 0);
        for (const wchar_t letter : Widen(text)) {
            ::SendMessageW(field, WM_CHAR, letter, 0);
        }
    }

    // Returns once the click has been handled: the modal windows it opens
    // are answered by the watcher meanwhile.
    void Click(int id) override {
        ::SendMessageTimeoutW(Control(id), BM_CLICK, 0, 0, SMTO_NORMAL, kGiveUpMilliseconds,
                              nullptr);
    }

    // Through the dialog's own key handling, as the key is read from the
    // queue; the key's work is done once the queue has been read past it. F1
    // is turned into help by the system as it takes the key from the
    // keyboard, so it comes as keys typed on the keyboard do.
    void Press(Key key) override {
        if (key == Key::F1) {
            Type(VK_F1);
            return;
        }
        const WPARAM code = key == Key::Enter ? VK_RETURN : VK_ESCAPE;
        const HWND focus = FocusedControl();
        const HWND target = focus != nullptr ? focus : Dialog();
        ::PostMessageW(target, WM_KEYDOWN, code, 0);
        ::PostMessageW(target, WM_KEYUP, code, static_cast<LPARAM>(0xC0000000));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        WaitFor([this] { return !m_answering; });
    }

    void SystemCommand(int commandId) override {
        ::SendMessageTimeoutW(Dialog(), WM_SYSCOMMAND, static_cast<WPARAM>(commandId), 0,
                              SMTO_NORMAL, kGiveUpMilliseconds, nullptr);
    }

    std::string LastSystemMenuItem(bool& afterSeparator) override {
        const HMENU menu = ::GetSystemMenu(Dialog(), FALSE);
        const int count = ::GetMenuItemCount(menu);
        afterSeparator =
            count >= 2 &&
            (::GetMenuState(menu, static_cast<UINT>(count - 2), MF_BYPOSITION) & MF_SEPARATOR) != 0;
        wchar_t text[256] = {};
        ::GetMenuStringW(menu, static_cast<UINT>(count - 1), text, 256, MF_BYPOSITION);
        EXPECT_EQ(::GetMenuItemID(menu, count - 1), static_cast<UINT>(IDM_ABOUTBOX));
        return Narrow(text);
    }

    std::vector<std::string> SystemMenuItems() override {
        const HMENU menu = ::GetSystemMenu(Dialog(), FALSE);
        std::vector<std::string> texts;
        for (int i = 0; i < ::GetMenuItemCount(menu); ++i) {
            wchar_t text[256] = {};
            ::GetMenuStringW(menu, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
            const bool separator =
                (::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION) & MF_SEPARATOR) != 0;
            texts.push_back(separator ? "-" : Narrow(text));
        }
        return texts;
    }

    // The item's command, as the system sends it when the user picks it.
    void ChooseSystemMenuItem(const std::string& text) override {
        const HMENU menu = ::GetSystemMenu(Dialog(), FALSE);
        const std::vector<std::string> texts = SystemMenuItems();
        const auto item = std::ranges::find(texts, text);
        if (item == texts.end()) {
            ADD_FAILURE() << "no item " << text << " in the window menu";
            return;
        }
        SystemCommand(static_cast<int>(
            ::GetMenuItemID(menu, static_cast<int>(std::distance(texts.begin(), item)))));
    }

    // The files as the shell hands them over.
    void Drop(const std::vector<std::filesystem::path>& files) override {
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

    bool CountFieldHasFocusAndIsSelected() override {
        const HWND field = Control(IDC_VOLUMES);
        const auto selection = static_cast<DWORD>(::SendMessageW(field, EM_GETSEL, 0, 0));
        return FocusedControl() == field && LOWORD(selection) == 0 &&
               HIWORD(selection) == ::GetWindowTextLengthW(field);
    }

    // EndDialog hides the window at once; the modal loop ends a little later.
    // Every action above returns once the window has handled it.
    bool IsOpen() override {
        return !WaitFor([this] { return m_ended || !::IsWindowVisible(Dialog()); },
                        std::chrono::milliseconds(500));
    }

    int Result() override {
        WaitFor([this] { return m_ended.load(); });
        return m_result;
    }

    HWND Dialog() const { return m_window != nullptr ? NativeWindow(*m_window) : nullptr; }

private:
    HWND Control(int id) const { return ::GetDlgItem(Dialog(), id); }

    std::size_t SaidCount() {
        const std::lock_guard lock(m_mutex);
        return said.size();
    }

    // A key typed on the keyboard, to the window that has the focus: the
    // window is brought to the front for it, as a user clicks it first.
    void Type(WORD key) {
        ::SetForegroundWindow(Dialog());
        WaitFor([this] { return ::GetForegroundWindow() == Dialog(); });
        INPUT strokes[2] = {};
        for (INPUT& stroke : strokes) {
            stroke.type = INPUT_KEYBOARD;
            stroke.ki.wVk = key;
        }
        strokes[1].ki.dwFlags = KEYEVENTF_KEYUP;
        ::SendInput(2, strokes, sizeof(INPUT));
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        ::SendMessageTimeoutW(Dialog(), WM_NULL, 0, 0, SMTO_NORMAL, kGiveUpMilliseconds, nullptr);
        WaitFor([this] { return !m_answering; });
    }

    HWND Tooltips() const {
        std::pair<HWND, HWND> search{Dialog(), nullptr};  // the owner, and the tooltips found
        ::EnumThreadWindows(
            m_uiThread,
            [](HWND window, LPARAM data) -> BOOL {
                auto& [owner, found] = *reinterpret_cast<std::pair<HWND, HWND>*>(data);
                wchar_t kind[64] = {};
                ::GetClassNameW(window, kind, 64);
                if (std::wstring_view(kind) == TOOLTIPS_CLASSW &&
                    ::GetWindow(window, GW_OWNER) == owner) {
                    found = window;
                }
                return found == nullptr;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.second;
    }

    HWND FocusedControl() const {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        ::GetGUIThreadInfo(m_uiThread, &info);
        return info.hwndFocus;
    }

    // Another dialog the window's thread shows: a box, About, the progress
    // window. The window itself is none, also while it is made and not yet
    // known, and neither is a tooltip that the pointer brings up.
    HWND OtherWindow() const {
        std::pair<HWND, HWND> search{Dialog(), nullptr};  // the dialog, and the other found
        if (search.first == nullptr) {
            return nullptr;
        }
        ::EnumThreadWindows(
            m_uiThread,
            [](HWND window, LPARAM data) -> BOOL {
                auto& [dialog, found] = *reinterpret_cast<std::pair<HWND, HWND>*>(data);
                wchar_t kind[16] = {};
                ::GetClassNameW(window, kind, 16);
                found = window != dialog && ::IsWindowVisible(window) &&
                                std::wstring_view(kind) == L"#32770"
                            ? window
                            : nullptr;
                return found == nullptr;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.second;
    }

    void Watch(const std::stop_token& stop) {
        while (!stop.stop_requested()) {
            const HWND other = m_uiThread != 0 ? OtherWindow() : nullptr;
            if (other != nullptr) {
                Answer(other);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    void Answer(HWND window) {
        if (::GetDlgItem(window, kProgressBar) != nullptr) {
            progressShown = true;
            // Sent, not posted: the save has taken the cancel before a worker
            // that waits for it goes on.
            if (cancelProgress.exchange(false)) {
                ::SendMessageTimeoutW(window, WM_COMMAND, IDCANCEL, 0, SMTO_NORMAL,
                                      kGiveUpMilliseconds, nullptr);
                progressCancelled = true;
            }
            return;
        }
        m_answering = true;
        ReadFor(readingTime);
        WPARAM button = IDOK;
        {
            const std::lock_guard lock(m_mutex);
            const HWND text = ::GetDlgItem(window, kMessageBoxText);
            said.push_back(TextOfWindow(text != nullptr ? text : window));
            if (text != nullptr && !boxAnswers.empty()) {
                button = static_cast<WPARAM>(boxAnswers.front());
                boxAnswers.pop_front();
            }
        }
        if (button == kPressEnter) {
            const HWND focus = FocusedControl();
            ::PostMessageW(focus != nullptr ? focus : window, WM_KEYDOWN, VK_RETURN, 0);
        } else {
            ::PostMessageW(window, WM_COMMAND, button, 0);
        }
        WaitFor([window] { return !::IsWindow(window) || !::IsWindowVisible(window); });
        m_answering = false;
    }

    // A person reads a box before answering it; a progress window that comes
    // up meanwhile is noted.
    void ReadFor(std::chrono::milliseconds time) {
        const auto until = std::chrono::steady_clock::now() + time;
        while (std::chrono::steady_clock::now() < until) {
            progressShown = progressShown || ProgressWindowShows();
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    }

    bool ProgressWindowShows() const {
        bool shows = false;
        ::EnumThreadWindows(
            m_uiThread,
            [](HWND window, LPARAM data) -> BOOL {
                auto& found = *reinterpret_cast<bool*>(data);
                found = ::IsWindowVisible(window) && ::GetDlgItem(window, kProgressBar) != nullptr;
                return !found;
            },
            reinterpret_cast<LPARAM>(&shows));
        return shows;
    }

    std::mutex m_mutex;
    RecordingDesktop m_desktop{*this};
    std::unique_ptr<UserGuide> m_guide;
    SystemSettings m_settings;
    std::unique_ptr<CCollisionDlg> m_window;
    std::atomic<DWORD> m_uiThread{0};
    std::atomic<bool> m_ended{false};
    std::atomic<bool> m_answering{false};
    int m_result = 0;
    // Members end in reverse order: the window's thread is joined before the
    // watcher, which answers the boxes its closing may open, is stopped.
    std::jthread m_watcher;
    std::jthread m_ui;
};

}  // namespace morvane::ui::scenarios
