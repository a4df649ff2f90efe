#pragma once

#include <QProgressDialog>
#include <QString>
#include <QTimer>
#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>

#include "model/file_rewrite.h"

namespace morvane::ui {

// The model rewrite as the window calls it. The program uses RewriteModelFile;
// tests wrap it to hold the rewrite at chosen points of its reading.
using ModelRewriter = std::function<PassSummary(
    const std::filesystem::path& input, const std::filesystem::path& output, int volumes,
    std::ostream& trace, const RewriteProgress& progress)>;

struct RewriteJob {
    std::filesystem::path input;
    std::filesystem::path output;
    int volumes;
    std::ostream* trace;  // written from the worker thread only
};

struct RewriteOutcome {
    enum class Ending { Written, Cancelled, Failed };

    Ending ending;
    QString message;  // why it failed; empty otherwise
};

// Closing it, or pressing Escape in it, asks the rewrite to stop just as its
// Cancel button does. It stays up until the worker has finished, so that the
// window under it is out of reach for as long as a rewrite runs.
class RewriteProgressDialog : public QProgressDialog {
public:
    explicit RewriteProgressDialog(QWidget& window);

    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
};

// One rewrite, run on a worker thread while a modal progress dialog over the
// window shows how much of the input has been read and offers to cancel it.
class BackgroundRewrite {
public:
    explicit BackgroundRewrite(QWidget& window);

    // Returns once the worker has finished; the window's events are processed
    // in the meantime.
    RewriteOutcome Run(const ModelRewriter& rewriter, const RewriteJob& job);

    // The rewrite stops at its next read of the input; Run still waits for it.
    void Cancel();

private:
    RewriteOutcome Rewrite(const ModelRewriter& rewriter, const RewriteJob& job);
    bool GoOn(std::int64_t bytesRead, std::int64_t inputBytes);
    void StartShowingProgress(const RewriteJob& job);
    void ShowProgress();

    RewriteProgressDialog m_dialog;
    QTimer m_poll;
    std::atomic<std::int64_t> m_bytesRead{0};
    std::atomic<std::int64_t> m_inputBytes{0};
    std::atomic<bool> m_cancelRequested{false};
};

}  // namespace morvane::ui
