// Writes a picture of the window, as the screen shows it with a model chosen,
// to the .bmp file named on the command line: for the README, not a test.
#include "ui/platform/win32/windows_api.h"

#include <fstream>
#include <thread>

#include "collision_dlg.h"
#include "no_desktop.h"
#include "platform/app.h"
#include "resources/resource.h"

namespace {

using namespace morvane::ui;

void SaveBitmap(HWND window, const std::filesystem::path& file) {
    RECT frame{};
    ::GetWindowRect(window, &frame);
    const int width = frame.right - frame.left;
    const int height = frame.bottom - frame.top;
    const HDC screen = ::GetDC(nullptr);
    const HDC memory = ::CreateCompatibleDC(screen);
    const HBITMAP bitmap = ::CreateCompatibleBitmap(screen, width, height);
    ::SelectObject(memory, bitmap);
    ::BitBlt(memory, 0, 0, width, height, screen, frame.left, frame.top, SRCCOPY);
    BITMAPINFOHEADER info{sizeof info, width, height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    const int stride = (width * 3 + 3) & ~3;
    std::string pixels(static_cast<std::size_t>(stride * height), '\0');
    ::GetDIBits(memory, bitmap, 0, static_cast<UINT>(height), pixels.data(),
                reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS);
    BITMAPFILEHEADER header{};
    header.bfType = 0x4D42;
    header.bfOffBits = sizeof header + sizeof info;
    header.bfSize = header.bfOffBits + static_cast<DWORD>(pixels.size());
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(reinterpret_cast<const char*>(&info), sizeof info);
    out.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
    ::DeleteObject(bitmap);
    ::DeleteDC(memory);
    ::ReleaseDC(nullptr, screen);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        return 2;
    }
    CWinApp app(argc, argv);
    NoDesktop desktop;
    UserGuide guide(desktop, {});
    CCollisionDlg window(desktop, guide, desktop);
    window.ChooseOnStart({argv[1]});
    std::thread photographer([&] {
        while (NativeWindow(window) == nullptr) {
            ::Sleep(50);
        }
        ::Sleep(1500);
        const HWND dialog = NativeWindow(window);
        ::SendMessageW(::GetDlgItem(dialog, IDC_VOLUMES), WM_SETTEXT, 0,
                       reinterpret_cast<LPARAM>(L"3"));
        ::Sleep(500);
        SaveBitmap(dialog, argv[2]);
        ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    window.DoModal();
    photographer.join();
    return 0;
}
