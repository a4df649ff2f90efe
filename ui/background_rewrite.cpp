#include "background_rewrite.h"

#include <algorithm>
#include <iostream>

#include "file_chooser.h"
#include "model/files/remove_on_signal.h"
#include "platform/translation.h"

namespace morvane::ui {
namespace {

std::string WritingText(const std::filesystem::path& output) {
    return Substitute(Tr("Progress", "Writing '%1'..."), {DisplayText(output.filename())});
}

// The window's trace goes to standard output, handed on as the save goes, so
// that a redirected trace is whole once the save is over; a trace that does
// not arrive there is no reason to stop a save from the window.
class StandardOutputTrace final : public TraceTarget {
public:
    std::ostream& stream() override { return std::cout; }
    std::error_code flush() override {
        std::cout.flush();
        return {};
    }
};

}  // namespace

BackgroundRewrite::BackgroundRewrite(CDialog& window) : m_progress(window) {}

const RewriteOutcome& BackgroundRewrite::Run(RewriteSession& session,
                                             const std::filesystem::path& output, int volumes) {
    StandardOutputTrace trace;
    const RewriteRequest request{volumes, RewrittenBefore::Rewrite, &trace,
                                 [this](std::int64_t bytesRead, std::int64_t inputBytes) {
                                     return GoOn(bytesRead, inputBytes);
                                 }};
    m_progress.SetLabel(WritingText(output));
    m_progress.Run([&] { session.rewrite(output, request); }, [this] { return StepsRead(); },
                   [this] { Cancel(); });
    // A request to end the program that came as the model took its name
    // waited for the name; the save is settled, so it ends the program now.
    ResumeEndingSignals();
    return session.outcome();
}

void BackgroundRewrite::Cancel() {
    if (!m_cancelRequested.exchange(true)) {
        m_progress.SetLabel(Tr("Progress", "Cancelling..."));
    }
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
