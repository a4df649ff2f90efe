#include "batch_rewrite.h"

#include <algorithm>
#include <set>

#include "model_file.h"
#include "remove_on_signal.h"

namespace morvane {

namespace {

// Past this many models, or this many bytes, sharing the syncs gains little
// more, and the file system grows slower to make each further file that has
// no name yet.
constexpr std::size_t kGroupModels = 256;
constexpr std::int64_t kGroupBytes = 256 << 20;
// Temporary names are kept track of for removal on a signal, and only a few
// can be at once.
constexpr std::size_t kGroupTemporaryNames = 4;

}  // namespace

BatchRewrite::BatchRewrite(int volumes, std::ostream& trace, RewriteProgress progress,
                           Report report)
    : volumes_(volumes),
      trace_(trace),
      progress_(std::move(progress)),
      report_(std::move(report)),
      groupModels_(std::min(kGroupModels, ModelRewrite::MostWaitingAtOnce())) {}

BatchRewrite::~BatchRewrite() = default;

void BatchRewrite::add(const std::filesystem::path& input, const std::filesystem::path& output) {
    // A signal that came while the last group took its names, now reported,
    // ends the batch before this model.
    ResumeEndingSignals();
    Pending pending{{input, output, std::nullopt, nullptr}, nullptr};
    attempt(pending, [&] { start(pending); });
    group_.push_back(std::move(pending));
    if (groupIsFull()) {
        finish();
    }
}

// A model that finds no descriptor free waits for the models before it to
// take their names, which frees theirs.
void BatchRewrite::start(Pending& pending) {
    const Outcome& outcome = pending.outcome;
    try {
        pending.model = std::make_unique<ModelRewrite>(outcome.input, outcome.output, progress_);
    } catch (const TooManyOpenFiles&) {
        if (group_.empty()) {
            throw;
        }
        finish();
        ResumeEndingSignals();
        pending.model = std::make_unique<ModelRewrite>(outcome.input, outcome.output, progress_);
    }
    requireUntaken(outcome, pending.model->landing());
    pending.model->write(volumes_, trace_);
    // A model whose trace or progress failed is settled before the next one
    // starts, as it would be on its own.
    pending.model->requireNotCancelled();
    groupBytes_ += pending.model->summary().bytesWritten;
    outputs_.add(pending.model->landing(), outcome.output);
}

void BatchRewrite::willRead(const std::filesystem::path& input) {
    if (const std::optional<OutputLanding> landing = LandingOfFile(input)) {
        inputs_.add(*landing, input);
    }
}

void BatchRewrite::requireUntaken(const Outcome& outcome, const OutputLanding& landing) const {
    if (const std::string* input = inputs_.find(landing)) {
        throw FileError("refusing to write " + Quoted(outcome.output) + ": it leads to " + *input +
                        ", a model this run reads, which would be lost");
    }
    if (const std::string* output = outputs_.find(landing)) {
        throw FileError("refusing to write " + Quoted(outcome.output) +
                        ": it is the same file as " + *output +
                        ", which this run writes too, and one of the two models would be lost");
    }
}

void BatchRewrite::Landings::add(const OutputLanding& landing, const std::filesystem::path& name) {
    if (!landing.place.empty()) {
        byPlace_.emplace(landing.place, Quoted(name));
    }
    if (landing.file != 0) {
        byFile_.emplace(std::pair(landing.device, landing.file), Quoted(name));
    }
}

const std::string* BatchRewrite::Landings::find(const OutputLanding& landing) const {
    if (const auto placed = byPlace_.find(landing.place);
        !landing.place.empty() && placed != byPlace_.end()) {
        return &placed->second;
    }
    if (landing.file == 0) {
        return nullptr;
    }
    const auto file = byFile_.find(std::pair(landing.device, landing.file));
    return file != byFile_.end() ? &file->second : nullptr;
}

bool BatchRewrite::groupIsFull() const {
    std::size_t temporaryNames = 0;
    for (const Pending& pending : group_) {
        temporaryNames += pending.model && pending.model->holdsTemporaryName() ? 1u : 0u;
    }
    return group_.size() >= groupModels_ || groupBytes_ >= kGroupBytes ||
           temporaryNames >= kGroupTemporaryNames;
}

void BatchRewrite::finish() {
    syncGroup();
    {
        UninterruptedNaming naming;
        nameGroup();
        if (std::ranges::any_of(group_, [](const Pending& pending) { return !!pending.model; })) {
            naming.nameGiven();
        }
        syncFolders();
    }
    for (Pending& pending : group_) {
        if (pending.model) {
            pending.outcome.written = pending.model->written();
        }
        report_(pending.outcome);
    }
    group_.clear();
    groupBytes_ = 0;
}

// Every file of the group is written and completed before the first sync, so
// that one sync of their file system makes them all durable where that is
// sound; elsewhere, or should it fail, each file is synced on its own.
void BatchRewrite::syncGroup() {
    for (Pending& pending : group_) {
        attempt(pending, [&] { pending.model->complete(); });
    }
    std::set<std::uint64_t> synced;
    for (Pending& pending : group_) {
        if (!pending.model || synced.contains(pending.model->fileSystem())) {
            continue;
        }
        if (pending.model->syncFileSystem()) {
            synced.insert(pending.model->fileSystem());
        } else {
            attempt(pending, [&] { pending.model->sync(); });
        }
    }
}

// Each model heard from progress right after its pass, before the next one
// started, as it would have on its own; it is not asked again.
void BatchRewrite::nameGroup() {
    for (Pending& pending : group_) {
        attempt(pending, [&] { pending.model->nameInBatch(); });
    }
}

// Each folder is synced once; should that fail, each model named in it tries
// again and reports its own failure.
void BatchRewrite::syncFolders() {
    std::set<std::filesystem::path> synced;
    for (Pending& pending : group_) {
        if (pending.model && !synced.contains(pending.model->folder())) {
            attempt(pending, [&] {
                pending.model->syncFolder();
                synced.insert(pending.model->folder());
            });
        }
    }
}

template <typename Step>
void BatchRewrite::attempt(Pending& pending, Step step) {
    if (pending.outcome.failure) {
        return;
    }
    try {
        step();
    } catch (...) {
        pending.outcome.failure = std::current_exception();
        pending.model.reset();
    }
}

}  // namespace morvane
