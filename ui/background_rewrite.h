#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>

#include "model/files/rewrite_session.h"
#include "platform/modal_progress.h"

namespace morvane::ui {

class CDialog;

// One rewrite, run on a worker thread while a modal progress window over the
// window shows how much of the input has been read and offers to cancel it.
class BackgroundRewrite {
public:
    explicit BackgroundRewrite(CDialog& window);

    // Rewrites the prepared model into output on the worker and returns once
    // the worker has finished; the window's messages are processed in the
    // meantime. The trace goes to standard output.
    const RewriteOutcome& Run(RewriteSession& session, const std::filesystem::path& output,
                              int volumes);

    // The rewrite stops at its next read of the input; Run still waits for it.
    void Cancel();
    // Whether the user asked to cancel, which may have come too late to keep
    // the output as it was.
    bool CancelAsked() const { return m_cancelRequested.load(); }

private:
    bool GoOn(std::int64_t bytesRead, std::int64_t inputBytes);
    int StepsRead() const;

    ModalProgress m_progress;
    std::atomic<std::int64_t> m_bytesRead{0};
    std::atomic<std::int64_t> m_inputBytes{0};
    std::atomic<bool> m_cancelRequested{false};
};

}  // namespace morvane::ui
