#pragma once

#include <atomic>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <string>

#include "model/files/file_rewrite.h"
#include "model/files/model_file.h"
#include "platform/modal_progress.h"

namespace morvane::ui {

class CDialog;

// The model rewrite as the window calls it. The program uses RewriteModelFile;
// tests wrap it to hold the rewrite at chosen points of its reading.
using ModelRewriter =
    std::function<WrittenModel(ModelFile input, const std::filesystem::path& output, int volumes,
                               std::ostream& trace, const RewriteProgress& progress)>;

struct RewriteJob {
    ModelFile input;
    std::filesystem::path output;
    int volumes;
    std::ostream* trace;  // written from the worker thread only
};

struct RewriteOutcome {
    // WrittenDespiteCancel: the cancel came once the model was taking its
    // name, too late to keep it from the output.
    enum class Ending { Written, WrittenDespiteCancel, Cancelled, Failed };

    Ending ending = Ending::Written;
    std::string message;  // why it failed; empty otherwise
};

// One rewrite, run on a worker thread while a modal progress window over the
// window shows how much of the input has been read and offers to cancel it.
class BackgroundRewrite {
public:
    explicit BackgroundRewrite(CDialog& window);

    // Returns once the worker has finished; the window's messages are
    // processed in the meantime.
    RewriteOutcome Run(const ModelRewriter& rewriter, RewriteJob job);

    // The rewrite stops at its next read of the input; Run still waits for it.
    void Cancel();

private:
    RewriteOutcome Rewrite(const ModelRewriter& rewriter, RewriteJob& job);
    bool GoOn(std::int64_t bytesRead, std::int64_t inputBytes);
    int StepsRead() const;

    ModalProgress m_progress;
    std::atomic<std::int64_t> m_bytesRead{0};
    std::atomic<std::int64_t> m_inputBytes{0};
    std::atomic<bool> m_cancelRequested{false};
};

}  // namespace morvane::ui
