#include "model/files/batch_rewrite.h"

#include <algorithm>
#include <set>

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

BatchRewrite::BatchRewrite(RewriteRequest request, Report report)
    : request_(std::move(request)),
      report_(std::move(report)),
      groupModels_(std::min(kGroupModels, SafeOutput::MostWaitingAtOnce())) {}

BatchRewrite::~BatchRewrite() = default;

void BatchRewrite::willRead(const ModelList& models) {
    inputNames_ = &models;
    inputs_.reserve(models.size());
    for (std::size_t model = 0; model < models.size(); ++model) {
        if (const std::optional<OutputLanding> landing = LandingOfFile(models.path(model))) {
            inputs_.add(*landing, static_cast<std::uint32_t>(model));
        }
    }
}

void BatchRewrite::add(const std::filesystem::path& input, const std::filesystem::path& output) {
    add(input, [&](RewriteSession& session) { session.planOutput(output, request_); });
}

void BatchRewrite::addInto(const std::filesystem::path& input,
                           const std::filesystem::path& folder) {
    add(input, [&](RewriteSession& session) { session.planOutputInto(folder, request_); });
}

void BatchRewrite::add(const std::filesystem::path& input, const Plan& plan) {
    // A signal that came while the last group took its names, now reported,
    // ends the batch before this model.
    ResumeEndingSignals();
    RewriteSession session = start(input, plan);
    // A model that finds no file free waits for the models before it to take
    // their names, which frees theirs.
    if (session.lackedFiles() && !group_.empty()) {
        finish();
        ResumeEndingSignals();
        session = start(input, plan);
    }
    if (!session.settled()) {
        groupBytes_ += session.outcome().summary.bytesWritten;
        noteWritten(session);
    }
    group_.push_back(std::move(session));
    if (groupIsFull()) {
        finish();
    }
}

// A model whose trace or progress fails is settled before the next one
// starts, as it would be on its own.
RewriteSession BatchRewrite::start(const std::filesystem::path& input, const Plan& plan) {
    RewriteSession session(input);
    plan(session);
    if (!session.settled()) {
        refuseTaken(session);
    }
    session.write(request_);
    return session;
}

void BatchRewrite::refuseTaken(RewriteSession& session) const {
    const std::filesystem::path& output = session.outcome().output;
    if (const std::optional<std::string> why = whyTaken(*session.landing(), session)) {
        session.refuse("refusing to write " + Quoted(output) + ": " + *why);
    } else if (const OutputLanding* backup = session.backupLanding()) {
        if (const std::optional<std::string> whyNot = whyTaken(*backup, session)) {
            session.refuse("refusing to keep the model " + Quoted(output) + " replaced as " +
                           Quoted(session.outcome().backup) + ": " + *whyNot);
        }
    }
}

// A model rewritten in place lands on itself.
std::optional<std::string> BatchRewrite::whyTaken(const OutputLanding& landing,
                                                  const RewriteSession& session) const {
    if (const std::optional<std::uint32_t> input = inputs_.find(landing);
        input && !(request_.output.inPlace && landing.file == session.inputIdentity())) {
        return "it leads to " + Quoted(inputNames_->path(*input)) +
               ", a model this run reads, which would be lost";
    }
    if (const std::optional<std::uint32_t> written = outputs_.find(landing)) {
        return "it is the same file as " + Quoted(outputNames_.path(*written)) +
               ", which this run writes too, and one of the two models would be lost";
    }
    return std::nullopt;
}

void BatchRewrite::noteWritten(const RewriteSession& session) {
    const auto name = static_cast<std::uint32_t>(outputNames_.size());
    outputNames_.add(session.outcome().output);
    outputs_.add(*session.landing(), name);
    if (const OutputLanding* backup = session.backupLanding()) {
        outputs_.add(*backup, name);
    }
}

bool BatchRewrite::groupIsFull() const {
    const auto temporaryNames = std::ranges::count_if(
        group_, [](const RewriteSession& session) { return session.holdsTemporaryName(); });
    return group_.size() >= groupModels_ || groupBytes_ >= kGroupBytes ||
           static_cast<std::size_t>(temporaryNames) >= kGroupTemporaryNames;
}

// Every file of the group is written and completed before the first sync, so
// that one sync of their file system makes them all durable where that is
// sound. Each model heard from progress right after its pass, before the next
// one started, as it would have on its own; it is not asked again. Each
// folder is synced once; should that fail, each model named in it tries again
// and reports its own failure.
void BatchRewrite::finish() {
    for (RewriteSession& session : group_) {
        session.complete();
    }
    std::set<std::uint64_t> synced;
    for (RewriteSession& session : group_) {
        session.syncInGroup(synced);
    }
    {
        UninterruptedNaming naming;
        for (RewriteSession& session : group_) {
            session.takeNameInGroup();
        }
        if (std::ranges::any_of(group_, [](const auto& session) { return !session.settled(); })) {
            naming.nameGiven();
        }
        std::set<std::filesystem::path> foldersSynced;
        for (RewriteSession& session : group_) {
            const std::filesystem::path folder = session.outputFolder();
            if (!session.settled() && !foldersSynced.contains(folder)) {
                session.syncFolder();
                if (!session.settled()) {
                    foldersSynced.insert(folder);
                }
            }
        }
    }
    for (RewriteSession& session : group_) {
        session.settleWritten();
        report_(session.outcome());
    }
    group_.clear();
    groupBytes_ = 0;
}

}  // namespace morvane
