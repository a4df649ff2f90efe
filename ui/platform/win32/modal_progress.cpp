#include "windows_api.h"
//
#include <commctrl.h>

#include <thread>

#include "dialog_template.h"
#include "platform/modal_progress.h"
#include "platform/translation.h"

namespace morvane::ui {
namespace {

// Posted by the worker when the work has returned; the only thing the worker
// does with a window.
constexpr UINT kWorkDone = WM_APP + 2;
constexpr UINT_PTR kPollTimer = 1;
constexpr UINT kPollMilliseconds = 50;
// A work that is over sooner than this never shows the window, so that small
// models do not make it flash over the dialog.
constexpr ULONGLONG kShowAfterMilliseconds = 500;
constexpr int kLabelId = 100;
constexpr int kBarId = 101;

InMemoryTemplate ProgressTemplate(const std::wstring& caption) {
    InMemoryTemplate result(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SHELLFONT, 0,
                            {0, 0, 220, 66}, caption, 8);
    result.AddControl(WS_CHILD | WS_VISIBLE | SS_LEFT | SS_NOPREFIX | SS_PATHELLIPSIS,
                      {7, 7, 206, 10}, kLabelId, kStaticClass, {}, {});
    result.AddControl(WS_CHILD | WS_VISIBLE, {7, 21, 206, 12}, kBarId, 0, PROGRESS_CLASSW, {});
    result.AddControl(WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON, {163, 42, 50, 14},
                      IDCANCEL, kButtonClass, {}, Widen(Tr("Progress", "Cancel")));
    return result;
}

}  // namespace

struct ModalProgress::Native {
    explicit Native(CDialog& dialog) : owner(dialog) {}

    static INT_PTR CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Poll();

    CDialog& owner;
    HWND window = nullptr;
    std::wstring label;
    std::function<int()> stepsDone;
    std::function<void()> onCancel;
    ULONGLONG startedAt = 0;
    bool done = false;
};

INT_PTR CALLBACK ModalProgress::Native::Proc(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrW(window, DWLP_USER, lParam);
        return TRUE;
    }
    auto* self = reinterpret_cast<Native*>(::GetWindowLongPtrW(window, DWLP_USER));
    if (self == nullptr) {
        return FALSE;
    }
    switch (message) {
        case WM_COMMAND:
            // Escape in the window, its Cancel button and its close command.
            if (LOWORD(wParam) == IDCANCEL) {
                self->onCancel();
            }
            return TRUE;
        case WM_CLOSE:
            self->onCancel();
            return TRUE;
        case WM_TIMER:
            self->Poll();
            return TRUE;
        case kWorkDone:
            self->done = true;
            return TRUE;
        default:
            (void)lParam;
            return FALSE;
    }
}

void ModalProgress::Native::Poll() {
    ::SendDlgItemMessageW(window, kBarId, PBM_SETPOS, static_cast<WPARAM>(stepsDone()), 0);
    if (!::IsWindowVisible(window) && ::GetTickCount64() - startedAt >= kShowAfterMilliseconds) {
        ::ShowWindow(window, SW_SHOW);
    }
}

ModalProgress::ModalProgress(CDialog& owner) : m_native(std::make_unique<Native>(owner)) {}

ModalProgress::~ModalProgress() = default;

void ModalProgress::SetLabel(const std::string& text) {
    m_native->label = Widen(text);
    if (m_native->window != nullptr) {
        ::SetDlgItemTextW(m_native->window, kLabelId, m_native->label.c_str());
    }
}

void ModalProgress::Run(const std::function<void()>& work, const std::function<int()>& stepsDone,
                        const std::function<void()>& onCancel) {
    Native& native = *m_native;
    const HWND owner = NativeWindow(native.owner);
    native.stepsDone = stepsDone;
    native.onCancel = onCancel;
    native.done = false;
    native.startedAt = ::GetTickCount64();
    const InMemoryTemplate dialogTemplate = ProgressTemplate(WindowText(owner));
    native.window =
        ::CreateDialogIndirectParamW(::GetModuleHandleW(nullptr), dialogTemplate.Get(), owner,
                                     &Native::Proc, reinterpret_cast<LPARAM>(&native));
    ::SetDlgItemTextW(native.window, kLabelId, native.label.c_str());
    ::SendDlgItemMessageW(native.window, kBarId, PBM_SETRANGE32, 0, kSteps);
    ::SetTimer(native.window, kPollTimer, kPollMilliseconds, nullptr);
    ::EnableWindow(owner, FALSE);

    const HWND progressWindow = native.window;
    std::thread worker([&work, progressWindow] {
        work();
        ::PostMessageW(progressWindow, kWorkDone, 0, 0);
    });
    bool quitting = false;
    int quitCode = 0;
    MSG message{};
    while (!native.done) {
        if (::GetMessageW(&message, nullptr, 0, 0) <= 0) {
            // The program is told to end: the worker must not outlive what it
            // was lent, so it is cancelled and waited for.
            quitting = true;
            quitCode = static_cast<int>(message.wParam);
            onCancel();
            break;
        }
        if (!::IsDialogMessageW(native.window, &message)) {
            ::TranslateMessage(&message);
            ::DispatchMessageW(&message);
        }
    }
    worker.join();
    ::KillTimer(native.window, kPollTimer);
    ::EnableWindow(owner, TRUE);
    ::DestroyWindow(native.window);
    native.window = nullptr;
    ::SetActiveWindow(owner);
    if (quitting) {
        ::PostQuitMessage(quitCode);
    }
}

}  // namespace morvane::ui
