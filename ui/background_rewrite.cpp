#include "background_rewrite.h"

#include <QCloseEvent>
#include <QEventLoop>
#include <QFutureWatcher>
#include <QtConcurrent/QtConcurrentRun>
#include <algorithm>
#include <exception>

#include "file_chooser.h"
#include "model/errors.h"

namespace morvane::ui {
namespace {

constexpr int kProgressSteps = 1000;
// A rewrite that is over sooner than this never shows the dialog, so that
// small models do not make it flash over the window.
constexpr int kShowAfterMilliseconds = 500;
constexpr int kPollMilliseconds = 50;

int StepsRead(std::int64_t bytesRead, std::int64_t inputBytes) {
    if (inputBytes <= 0) {
        return 0;
    }
    const std::int64_t read = std::clamp<std::int64_t>(bytesRead, 0, inputBytes);
    return static_cast<int>(read * kProgressSteps / inputBytes);
}

QString WritingText(const std::filesystem::path& output) {
    return QStringLiteral("Writing '%1'...").arg(ToDisplayText(output.filename()));
}

}  // namespace

RewriteProgressDialog::RewriteProgressDialog(QWidget& window) : QProgressDialog(&window) {
    setObjectName("RewriteProgress");
    setWindowTitle(window.windowTitle());
    setWindowModality(Qt::ApplicationModal);
    setRange(0, kProgressSteps);
    setMinimumDuration(kShowAfterMilliseconds);
    setAutoReset(false);
    setAutoClose(false);
    // The dialog's own answer to a cancel hides it at once, while the worker
    // may still be finishing its read.
    disconnect(this, SIGNAL(canceled()), this, SLOT(cancel()));
}

void RewriteProgressDialog::reject() {
    emit canceled();
}

void RewriteProgressDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
    emit canceled();
}

BackgroundRewrite::BackgroundRewrite(QWidget& window) : m_dialog(window) {
    QObject::connect(&m_dialog, &QProgressDialog::canceled, [this] { Cancel(); });
    QObject::connect(&m_poll, &QTimer::timeout, [this] { ShowProgress(); });
}

RewriteOutcome BackgroundRewrite::Run(const ModelRewriter& rewriter, const RewriteJob& job) {
    QFutureWatcher<RewriteOutcome> watcher;
    QEventLoop loop;
    QObject::connect(&watcher, &QFutureWatcherBase::finished, &loop, &QEventLoop::quit);
    StartShowingProgress(job);
    watcher.setFuture(QtConcurrent::run([this, &rewriter, job] { return Rewrite(rewriter, job); }));
    if (!watcher.isFinished()) {
        loop.exec();
    }
    // The loop also ends when the whole application is told to quit; the
    // worker must not outlive the files and streams it was lent.
    if (!watcher.isFinished()) {
        Cancel();
        watcher.waitForFinished();
    }
    m_poll.stop();
    m_dialog.hide();
    return watcher.result();
}

void BackgroundRewrite::Cancel() {
    if (!m_cancelRequested.exchange(true)) {
        m_dialog.setLabelText(QStringLiteral("Cancelling..."));
    }
}

RewriteOutcome BackgroundRewrite::Rewrite(const ModelRewriter& rewriter, const RewriteJob& job) {
    try {
        rewriter(job.input, job.output, job.volumes, *job.trace,
                 [this](std::int64_t bytesRead, std::int64_t inputBytes) {
                     return GoOn(bytesRead, inputBytes);
                 });
    } catch (const Cancelled&) {
        return {RewriteOutcome::Ending::Cancelled, {}};
    } catch (const std::exception& error) {
        return {RewriteOutcome::Ending::Failed, QString::fromLocal8Bit(error.what())};
    }
    return {RewriteOutcome::Ending::Written, {}};
}

bool BackgroundRewrite::GoOn(std::int64_t bytesRead, std::int64_t inputBytes) {
    m_inputBytes.store(inputBytes);
    m_bytesRead.store(bytesRead);
    return !m_cancelRequested.load();
}

void BackgroundRewrite::StartShowingProgress(const RewriteJob& job) {
    m_dialog.setLabelText(WritingText(job.output));
    m_dialog.setValue(0);
    m_poll.start(kPollMilliseconds);
}

void BackgroundRewrite::ShowProgress() {
    m_dialog.setValue(StepsRead(m_bytesRead.load(), m_inputBytes.load()));
}

}  // namespace morvane::ui
