#pragma once

#include <functional>
#include <memory>
#include <string>

namespace morvane::ui {

class CDialog;

// A piece of work run on a worker thread while a modal progress window over
// the owner shows how far it has come and offers to cancel it. The window
// stays up until the worker has finished, so that the owner is out of reach
// for as long as the work runs; closing it, or Escape in it, is a cancel too.
class ModalProgress {
public:
    static constexpr int kSteps = 1000;

    explicit ModalProgress(CDialog& owner);
    ~ModalProgress();
    ModalProgress(const ModalProgress&) = delete;
    ModalProgress& operator=(const ModalProgress&) = delete;

    void SetLabel(const std::string& text);

    // Returns once work has returned; the owner's messages are processed in
    // the meantime. stepsDone (0..kSteps) is polled on this thread; onCancel
    // runs on it when the user cancels, and also when the program is told to
    // end, before Run waits for the worker.
    void Run(const std::function<void()>& work, const std::function<int()>& stepsDone,
             const std::function<void()>& onCancel);

private:
    struct Native;
    std::unique_ptr<Native> m_native;
};

}  // namespace morvane::ui
