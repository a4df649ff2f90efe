#include "background_rewrite.h"

#include <algorithm>
#include <exception>
#include <new>
#include <utility>

#include "file_chooser.h"
#include "model/errors.h"
#include "model/files/file_errors.h"
#include "model/files/path_text.h"
#include "model/files/remove_on_signal.h"

namespace morvane::ui {
namespace {

std::string WritingText(const std::filesystem::path& output) {
    return "Writing '" + DisplayText(output.filename()) + "'...";
}

}  // namespace

BackgroundRewrite::BackgroundRewrite(CDialog& window) : m_progress(window) {}

RewriteOutcome BackgroundRewrite::Run(const ModelRewriter& rewriter, RewriteJob job) {
    RewriteOutcome outcome;
    m_progress.SetLabel(WritingText(job.output));
    m_progress.Run([&] { outcome = Rewrite(rewriter, job); }, [this] { return StepsRead(); },
                   [this] { Cancel(); });
    if (outcome.ending == RewriteOutcome::Ending::Written && m_cancelRequested.load()) {
        outcome.ending = RewriteOutcome::Ending::WrittenDespiteCancel;
    }
    // A request to end the program that came as the model took its name
    // waited for the name; the save is settled, so it ends the program now.
    ResumeEndingSignals();
    return outcome;
}

void BackgroundRewrite::Cancel() {
    if (!m_cancelRequested.exchange(true)) {
        m_progress.SetLabel("Cancelling...");
    }
}

RewriteOutcome BackgroundRewrite::Rewrite(const ModelRewriter& rewriter, RewriteJob& job) {
    const std::filesystem::path input = job.input.path();
    try {
        rewriter(std::move(job.input), job.output, job.volumes, *job.trace,
                 [this](std::int64_t bytesRead, std::int64_t inputBytes) {
                     return GoOn(bytesRead, inputBytes);
                 });
    } catch (const Cancelled&) {
        return {RewriteOutcome::Ending::Cancelled, {}};
    } catch (const std::bad_alloc&) {
        return {RewriteOutcome::Ending::Failed, OutOfMemoryMessage("rewrite", input) + "; " +
                                                    Quoted(job.output) + " was left as it was"};
    } catch (const std::exception& error) {
        return {RewriteOutcome::Ending::Failed, error.what()};
    }
    return {RewriteOutcome::Ending::Written, {}};
}

bool BackgroundRewrite::GoOn(std::int64_t bytesRead, std::int64_t inputBytes) {
    m_inputBytes.store(inputBytes);
    m_bytesRead.store(bytesRead);
    return !m_cancelRequested.load();
}

int BackgroundRewrite::StepsRead() const {
    const std::int64_t inputBytes = m_inputBytes.load();
    if (inputBytes <= 0) {
        return 0;
    }
    const std::int64_t read = std::clamp<std::int64_t>(m_bytesRead.load(), 0, inputBytes);
    return static_cast<int>(read * ModalProgress::kSteps / inputBytes);
}

}  // namespace morvane::ui
