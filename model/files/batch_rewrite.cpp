#include "model/files/batch_rewrite.h"

#include <algorithm>
#include <set>

#include "model/files/file_errors.h"
#include "model/files/path_text.h"
#include "model/files/remove_on_signal.h"

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

BatchRewrite::BatchRewrite(int volumes, RewrittenBefore rewrittenBefore, std::ostream& trace,
                           RewriteProgress progress, Report report)
    : volumes_(volumes),
      rewrittenBefore_(rewrittenBefore),
      trace_(trace),
      progress_(std::move(progress)),
      report_(std::move(report)),
      groupModels_(std::min(kGroupModels, SafeOutput::MostWaitingAtOnce())) {}

BatchRewrite::~BatchRewrite() = default;

void BatchRewrite::add(const std::filesystem::path& input, const std::filesystem::path& output) {
    addNamed({input, output}, nullptr);
}

void BatchRewrite::addInto(const std::filesystem::path& input,
                           const std::filesystem::path& folder) {
    addNamed({input, {}}, [&folder](const ModelFile& model) { return folder / model.ownName(); });
}

void BatchRewrite::addNamed(Outcome outcome, const OutputOf& outputOf) {
    // A signal that came while the last group took its names, now reported,
    // ends the batch before this model.
    ResumeEndingSignals();
    Pending pending{std::move(outcome), nullptr, {}};
    attempt(pending, [&] { start(pending, outputOf); });
    group_.push_back(std::move(pending));
    if (groupIsFull()) {
        finish();
    }
}

// The check for a carried block reads the very file that is rewritten.
void BatchRewrite::start(Pending& pending, const OutputOf& outputOf) {
    Outcome& outcome = pending.outcome;
    std::optional<ModelFile> input;
    openFreeingFiles([&] { input.emplace(outcome.input); });
    if (outputOf) {
        outcome.output = outputOf(*input);
    }
    outcome.carriedBlock = input->carriedBlock();
    if (outcome.carriedBlock && rewrittenBefore_ == RewrittenBefore::LeaveOut) {
        outcome.leftOut = true;
        return;
    }
    openFreeingFiles(
        [&] { pending.output = std::make_unique<SafeOutput>(input->fd(), outcome.output); });
    requireUntaken(outcome, pending.output->landing());
    pending.summary = WriteNewModel(*input, *pending.output, volumes_, trace_, progress_);
    // A model whose trace or progress failed is settled before the next one
    // starts, as it would be on its own.
    RequireGoingOn(progress_, *input);
    groupBytes_ += pending.summary.bytesWritten;
    outputs_.add(pending.output->landing(), outcome.output);
}

// A model that finds no file free waits for the models before it to take
// their names, which frees theirs.
template <typename Open>
void BatchRewrite::openFreeingFiles(Open open) {
    try {
        open();
    } catch (const TooManyOpenFiles&) {
        if (group_.empty()) {
            throw;
        }
        finish();
        ResumeEndingSignals();
        open();
    }
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
        temporaryNames += pending.output && pending.output->holdsTemporaryName() ? 1u : 0u;
    }
    return group_.size() >= groupModels_ || groupBytes_ >= kGroupBytes ||
           temporaryNames >= kGroupTemporaryNames;
}

void BatchRewrite::finish() {
    syncGroup();
    {
        UninterruptedNaming naming;
        nameGroup();
        if (std::ranges::any_of(group_, [](const Pending& pending) { return !!pending.output; })) {
            naming.nameGiven();
        }
        syncFolders();
    }
    for (Pending& pending : group_) {
        if (pending.output) {
            pending.outcome.written = WrittenModel{pending.summary, pending.output->linkTarget()};
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
        attempt(pending, [&] { pending.output->complete(); });
    }
    std::set<std::uint64_t> synced;
    for (Pending& pending : group_) {
        attempt(pending, [&] { pending.output->syncInGroup(synced); });
    }
}

// Each model heard from progress right after its pass, before the next one
// started, as it would have on its own; it is not asked again.
void BatchRewrite::nameGroup() {
    for (Pending& pending : group_) {
        attempt(pending, [&] { pending.output->takeNameInGroup(); });
    }
}

// Each folder is synced once; should that fail, each model named in it tries
// again and reports its own failure.
void BatchRewrite::syncFolders() {
    std::set<std::filesystem::path> synced;
    for (Pending& pending : group_) {
        if (pending.output && !synced.contains(pending.output->folder())) {
            attempt(pending, [&] {
                pending.output->syncFolder();
                synced.insert(pending.output->folder());
            });
        }
    }
}

// A model left out, or settled by a failure, has nothing more to do.
template <typename Step>
void BatchRewrite::attempt(Pending& pending, Step step) {
    if (pending.outcome.failure || pending.outcome.leftOut) {
        return;
    }
    try {
        step();
    } catch (...) {
        pending.outcome.failure = std::current_exception();
        pending.output.reset();
    }
}

}  // namespace morvane
