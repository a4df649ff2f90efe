// What the Win32 window does that the scenarios cannot say of both
// renderings: what Active Accessibility tells of it, and how it follows the
// display's DPI.
#include <cstdlib>
#include <optional>
#include <thread>

#include "ui/platform/translation.h"
#include "win32_window_driver.h"

namespace morvane::ui::scenarios {
namespace {

// What Active Accessibility tells of a window: its role, name and whether it shows.
struct Accessible {
    long role;
    std::string name;
    bool shown;
};

Accessible AccessibleOf(HWND window) {
    IAccessible* object = nullptr;
    if (::AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT),
                                     __uuidof(IAccessible),
                                     reinterpret_cast<void**>(&object)) != S_OK) {
        return {};
    }
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    VARIANT role{};
    VARIANT state{};
    BSTR name = nullptr;
    object->get_accRole(self, &role);
    object->get_accState(self, &state);
    object->get_accName(self, &name);
    Accessible found{role.lVal, Narrow(name != nullptr ? name : L""),
                     (state.lVal & STATE_SYSTEM_INVISIBLE) == 0};
    ::SysFreeString(name);
    object->Release();
    return found;
}

// The dialog's controls as Active Accessibility tells of them, and how many
// children it lists.
std::vector<Accessible> AccessibleControlsOf(HWND dialog, long& listed) {
    std::vector<Accessible> controls;
    ::EnumChildWindows(
        dialog,
        [](HWND control, LPARAM found) -> BOOL {
            reinterpret_cast<std::vector<Accessible>*>(found)->push_back(AccessibleOf(control));
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&controls));
    IAccessible* parent = nullptr;
    listed = -1;
    if (::AccessibleObjectFromWindow(dialog, static_cast<DWORD>(OBJID_CLIENT),
                                     __uuidof(IAccessible),
                                     reinterpret_cast<void**>(&parent)) == S_OK) {
        parent->get_accChildCount(&listed);
        parent->Release();
    }
    return controls;
}

// Tab goes from Quit to the next control at once, a screen reader finds one
// Quit, and the count field is named as Windows names a field: by the text
// just before it in the window order.
TEST(Win32Accessibility, OneQuitAndEachFieldAfterItsLabel) {
    Win32WindowDriver user;
    user.Open({});
    const HWND dialog = user.Dialog();
    EXPECT_EQ(::GetDlgItem(dialog, IDCANCEL), nullptr);
    HWND control = ::GetDlgItem(dialog, IDOK);
    for (const int id : {IDOK, IDC_CHOOSE, IDC_VOLUMES, IDC_FILENAME, IDC_SAVE, IDOK}) {
        EXPECT_EQ(control, ::GetDlgItem(dialog, id)) << id;
        control = ::GetNextDlgTabItem(dialog, control, FALSE);
    }
    const HWND label = ::GetWindow(::GetDlgItem(dialog, IDC_VOLUMES), GW_HWNDPREV);
    EXPECT_EQ(TextOfWindow(label), "Number of collision volumes:");
    ::CoInitialize(nullptr);
    long listed = 0;
    const std::vector<Accessible> controls = AccessibleControlsOf(dialog, listed);
    EXPECT_EQ(listed, std::ssize(controls));
    // Wine tells every control's role as a client area's, but names them.
    EXPECT_EQ(std::ranges::count(controls, std::string("Quit"), &Accessible::name), 1);
    EXPECT_EQ(AccessibleOf(::GetDlgItem(dialog, IDC_VOLUMES)).name, "Number of collision volumes:");
    ::CoUninitialize();
}

int IconSize(HICON icon) {
    ICONINFO info{};
    if (icon == nullptr || !::GetIconInfo(icon, &info)) {
        return 0;
    }
    BITMAP bitmap{};
    ::GetObjectW(info.hbmColor != nullptr ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    for (const HBITMAP drawn : {info.hbmColor, info.hbmMask}) {
        if (drawn != nullptr) {
            ::DeleteObject(drawn);
        }
    }
    return bitmap.bmWidth;
}

// Each control's text fits in it, in the font the control is drawn in.
void ExpectNoTextClipped(HWND dialog) {
    const HDC dc = ::GetDC(dialog);
    for (HWND control = ::GetWindow(dialog, GW_CHILD); control != nullptr;
         control = ::GetWindow(control, GW_HWNDNEXT)) {
        const std::wstring text = Widen(TextOfWindow(control));
        const auto font = reinterpret_cast<HFONT>(::SendMessageW(control, WM_GETFONT, 0, 0));
        const HGDIOBJ previous = ::SelectObject(dc, font);
        SIZE extent{};
        ::GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &extent);
        ::SelectObject(dc, previous);
        RECT room{};
        ::GetClientRect(control, &room);
        EXPECT_LE(extent.cx, room.right) << Narrow(text);
        EXPECT_LE(extent.cy, room.bottom) << Narrow(text);
    }
    ::ReleaseDC(dialog, dc);
}

// A German user's Windows gets the window, its boxes and About in German,
// each text whole in its control. The run for a German user says so.
TEST(Translated, TheWindowSpeaksTheUsersLanguage) {
    const char* language = std::getenv("MORVANE_TEST_LANGUAGE");
    if (language == nullptr || std::string_view(language) != "de") {
        GTEST_SKIP() << "the run is not a German user's";
    }
    Win32WindowDriver user;
    user.Open({});
    const HWND dialog = user.Dialog();
    const std::pair<int, const char*> texts[] = {
        {IDOK, "Beenden"},
        {IDC_CHOOSE, "ZRM wählen..."},
        {IDC_SAVE, "ZRM speichern..."},
    };
    for (const auto& [id, text] : texts) {
        EXPECT_EQ(TextOfWindow(::GetDlgItem(dialog, id)), text);
    }
    const HWND label = ::GetWindow(::GetDlgItem(dialog, IDC_VOLUMES), GW_HWNDPREV);
    EXPECT_EQ(TextOfWindow(label), "Anzahl der Kollisionsvolumen:");
    EXPECT_EQ(TextOfWindow(dialog), "morvane");
    ExpectNoTextClipped(dialog);
    user.Click(IDC_SAVE);
    user.SystemCommand(IDM_ABOUTBOX);
    EXPECT_EQ(user.said,
              (std::vector<std::string>{"Wählen Sie zuerst ein ZRM-Modell zum Lesen (Schritt 1).",
                                        "Über morvane"}));
}

// Whatever the user's language, the window and About speak it, and every
// text is whole in its control. The run for a user of each language says so.
TEST(Translated, EveryTextIsWholeInTheUsersLanguage) {
    if (std::getenv("MORVANE_TEST_LANGUAGE") == nullptr) {
        GTEST_SKIP() << "the run is an English user's";
    }
    Win32WindowDriver user;
    user.readingTime = std::chrono::milliseconds(1500);
    user.Open({});
    const HWND dialog = user.Dialog();
    EXPECT_NE(TextOfWindow(::GetDlgItem(dialog, IDC_CHOOSE)), "Choose ZRM...");
    EXPECT_NE(TextOfWindow(::GetDlgItem(dialog, IDOK)), "Quit");
    ExpectNoTextClipped(dialog);
    const std::string aboutTitle = Tr("AboutBox", "About morvane");
    EXPECT_NE(aboutTitle, "About morvane");
    bool aboutSeen = false;
    std::jthread looker([&](const std::stop_token& stop) {
        while (!stop.stop_requested() && !aboutSeen) {
            const HWND box = ::FindWindowW(nullptr, Widen(aboutTitle).c_str());
            if (box != nullptr && ::IsWindowVisible(box)) {
                ExpectNoTextClipped(box);
                aboutSeen = true;
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    user.SystemCommand(IDM_ABOUTBOX);
    looker.request_stop();
    looker.join();
    EXPECT_TRUE(aboutSeen) << "About did not open";
    EXPECT_EQ(user.said, std::vector<std::string>{aboutTitle});
}

// In German, the window menu's Help is "Hilfe" before the separator and
// About, and F1 and Hilfe open the German page of the guide. The run for a
// German user says so.
TEST(Translated, HelpOpensTheGuideInTheUsersLanguage) {
    const char* language = std::getenv("MORVANE_TEST_LANGUAGE");
    if (language == nullptr || std::string_view(language) != "de") {
        GTEST_SKIP() << "the run is not a German user's";
    }
    const testing::TempFolder folder;
    std::filesystem::create_directory(folder / "guide");
    testing::writeFile(folder / "guide" / "en.html", "<html></html>");
    testing::writeFile(folder / "guide" / "de.html", "<html></html>");
    Win32WindowDriver user;
    user.guideFolder = folder / "guide";
    user.Open({});
    const std::vector<std::string> items = user.SystemMenuItems();
    ASSERT_GE(items.size(), 3u);
    EXPECT_EQ((std::vector<std::string>(items.end() - 3, items.end())),
              (std::vector<std::string>{"Hilfe", "-", "Ü&ber morvane..."}));
    user.Press(Key::F1);
    user.ChooseSystemMenuItem("Hilfe");
    EXPECT_EQ(user.opened,
              (std::vector{folder / "guide" / "de.html", folder / "guide" / "de.html"}));
    EXPECT_TRUE(user.said.empty());
}

PixelRect FrameOf(HWND window) {
    RECT frame{};
    ::GetWindowRect(window, &frame);
    return {frame.left, frame.top, frame.right - frame.left, frame.bottom - frame.top};
}

PixelRect WorkAreaOf(HWND window) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    ::GetMonitorInfoW(::MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    return {monitor.rcWork.left, monitor.rcWork.top, monitor.rcWork.right - monitor.rcWork.left,
            monitor.rcWork.bottom - monitor.rcWork.top};
}

// The window opens in the middle of the work area; it can be minimised, and
// not resized or maximised.
TEST(Win32Placement, TheWindowOpensCentredAndCanBeMinimised) {
    Win32WindowDriver user;
    user.Open({});
    const HWND dialog = user.Dialog();
    const PixelRect frame = FrameOf(dialog);
    const PixelRect area = WorkAreaOf(dialog);
    EXPECT_EQ(frame.left, area.left + (area.width - frame.width) / 2);
    EXPECT_EQ(frame.top, area.top + (area.height - frame.height) / 2);
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(dialog, GWL_STYLE));
    EXPECT_NE(style & WS_MINIMIZEBOX, 0u);
    EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0u);
    ::ShowWindow(dialog, SW_MINIMIZE);
    EXPECT_TRUE(WaitFor([dialog] { return ::IsIconic(dialog) != FALSE; }));
    ::ShowWindow(dialog, SW_RESTORE);
    EXPECT_TRUE(WaitFor([dialog] { return ::IsIconic(dialog) == FALSE; }));
    EXPECT_TRUE(user.IsOpen());
}

// About opens over the middle of the window, wherever the window stands.
TEST(Win32Placement, AboutOpensOverTheMiddleOfTheWindow) {
    Win32WindowDriver user;
    user.readingTime = std::chrono::milliseconds(1500);
    user.Open({});
    const HWND dialog = user.Dialog();
    ::SetWindowPos(dialog, nullptr, 30, 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    std::optional<PixelRect> about;
    std::jthread looker([&](const std::stop_token& stop) {
        while (!stop.stop_requested() && !about) {
            const HWND box = ::FindWindowW(nullptr, L"About morvane");
            if (box != nullptr && ::IsWindowVisible(box)) {
                about = FrameOf(box);
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
    });
    user.SystemCommand(IDM_ABOUTBOX);
    looker.request_stop();
    looker.join();
    ASSERT_TRUE(about.has_value()) << "About did not open";
    const PixelRect window = FrameOf(dialog);
    EXPECT_EQ(about->left, window.left + (window.width - about->width) / 2);
    EXPECT_EQ(about->top, window.top + (window.height - about->height) / 2);
    EXPECT_EQ(user.said, std::vector<std::string>{"About morvane"});
}

// A refused model in German: the person's words are German, and the technical
// line under them stays English for whoever reports the problem.
TEST(Translated, ARefusedModelInGermanKeepsItsTechnicalLineInEnglish) {
    const char* language = std::getenv("MORVANE_TEST_LANGUAGE");
    if (language == nullptr || std::string_view(language) != "de") {
        GTEST_SKIP() << "the run is not a German user's";
    }
    const testing::TempFolder folder;
    const std::filesystem::path notAModel = folder / "notes.zrm";
    testing::writeFile(notAModel, "Hello, world");
    Win32WindowDriver user;
    user.Open({notAModel});
    user.chooserAnswers = {folder / "out.zrm"};
    user.Click(IDC_SAVE);
    EXPECT_EQ(user.said,
              std::vector{Box("Diese Datei ist kein ZRM-Modell.\nWählen Sie eine Datei, die ein "
                              "ZRM-Modell enthält.",
                              "'" + DisplayText(notAModel) +
                                  "': not a ZRM model: it begins with 0x6C6C6548 ('lleH') where "
                                  "the ZRM4 container header must stand")});
    EXPECT_EQ(folder.listing(), "notes.zrm ");
}

// Wine takes the display's DPI from the prefix's LogPixels as a program
// starts, so each DPI is a run of this program of its own, which tells its
// window's size through a file.
class LogPixels {
public:
    ~LogPixels() { Set(96); }
    static void Set(DWORD dpi) {
        ::RegSetKeyValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", REG_DWORD,
                          &dpi, sizeof dpi);
    }
};

void CheckTheWindowAt(UINT dpi, const std::filesystem::path& report) {
    Win32WindowDriver user;
    user.Open({});
    const HWND dialog = user.Dialog();
    EXPECT_EQ(::GetDpiForWindow(dialog), dpi);
    const auto icons = [dialog] {
        return std::pair(
            IconSize(reinterpret_cast<HICON>(::SendMessageW(dialog, WM_GETICON, ICON_BIG, 0))),
            IconSize(reinterpret_cast<HICON>(::SendMessageW(dialog, WM_GETICON, ICON_SMALL, 0))));
    };
    const auto sizesFor = [](UINT shown) {
        return std::pair(::GetSystemMetricsForDpi(SM_CXICON, shown),
                         ::GetSystemMetricsForDpi(SM_CXSMICON, shown));
    };
    EXPECT_EQ(icons(), sizesFor(dpi));
    ExpectNoTextClipped(dialog);
    RECT client{};
    ::GetClientRect(dialog, &client);
    std::ofstream(report) << client.right << " " << client.bottom;
    // Moved to a display of another DPI, it shows its icons at that one's sizes.
    RECT frame{};
    ::GetWindowRect(dialog, &frame);
    ::SendMessageW(dialog, WM_DPICHANGED, MAKEWPARAM(dpi * 2, dpi * 2),
                   reinterpret_cast<LPARAM>(&frame));
    EXPECT_EQ(icons(), sizesFor(dpi * 2));
}

// The dialog grows with the DPI, and its icons take the sizes for it.
TEST(DisplayScaling, TheWindowFollowsTheDisplaysDpi) {
    if (const char* dpi = std::getenv("MORVANE_TEST_DPI")) {
        CheckTheWindowAt(static_cast<UINT>(std::stoi(dpi)), std::getenv("MORVANE_TEST_REPORT"));
        return;
    }
    const LogPixels restored;
    testing::TempFolder reports;
    wchar_t self[4096] = {};
    ::GetModuleFileNameW(nullptr, self, 4096);
    std::vector<std::pair<int, int>> sizes;
    for (const DWORD dpi : {96u, 144u, 192u}) {
        SCOPED_TRACE(dpi);
        LogPixels::Set(dpi);
        const std::filesystem::path report = reports / ("size-" + std::to_string(dpi) + ".txt");
        ::SetEnvironmentVariableW(L"MORVANE_TEST_DPI", std::to_wstring(dpi).c_str());
        ::SetEnvironmentVariableW(L"MORVANE_TEST_REPORT", report.c_str());
        std::wstring commandLine =
            L"\"" + std::wstring(self) +
            L"\" --gtest_filter=DisplayScaling.TheWindowFollowsTheDisplaysDpi";
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        ASSERT_TRUE(::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0,
                                     nullptr, nullptr, &startup, &process));
        ::SetEnvironmentVariableW(L"MORVANE_TEST_DPI", nullptr);
        ::SetEnvironmentVariableW(L"MORVANE_TEST_REPORT", nullptr);
        ::WaitForSingleObject(process.hProcess, kGiveUpMilliseconds);
        DWORD exitCode = 1;
        ::GetExitCodeProcess(process.hProcess, &exitCode);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
        EXPECT_EQ(exitCode, 0u);
        std::pair<int, int> size{0, 0};
        std::ifstream(report) >> size.first >> size.second;
        sizes.push_back(size);
    }
    ASSERT_EQ(sizes.size(), 3u);
    EXPECT_GT(sizes[1].first, sizes[0].first * 13 / 10);
    EXPECT_GT(sizes[1].second, sizes[0].second * 13 / 10);
    EXPECT_GT(sizes[2].first, sizes[1].first * 12 / 10);
    EXPECT_GT(sizes[2].second, sizes[1].second * 12 / 10);
}

}  // namespace
}  // namespace morvane::ui::scenarios
