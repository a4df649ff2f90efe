#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "model/files/landings.h"
#include "model/files/model_list.h"
#include "model/files/rewrite_session.h"

namespace morvane {

// Rewrites many models one after another with the promises a rewrite session
// makes for each, every model reported written durable by the time it is
// reported. The models of a group are written, then synced together, so that
// the file system can share its journal commits, then named, and each folder
// synced once.
class BatchRewrite {
public:
    using Report = std::function<void(const RewriteOutcome&)>;

    // Each model is rewritten as `request` asks; report hears of every
    // model, in the order they were added, once it is settled.
    BatchRewrite(RewriteRequest request, Report report);
    BatchRewrite(const BatchRewrite&) = delete;
    BatchRewrite& operator=(const BatchRewrite&) = delete;
    // Models still waiting for their names are dropped, leaving nothing behind.
    ~BatchRewrite();

    // Notes the models the batch is to read, so that no output of the batch
    // replaces one of them, before or after it is read. The list must live
    // as long as the batch.
    void willRead(const ModelList& models);
    // Writes the model; its name may wait for the rest of its group.
    void add(const std::filesystem::path& input, const std::filesystem::path& output);
    // The same, into folder under the model's own name.
    void addInto(const std::filesystem::path& input, const std::filesystem::path& folder);
    // Syncs, names and reports every model added so far.
    void finish();

private:
    // Plans the output of a model once it is open.
    using Plan = std::function<void(RewriteSession&)>;

    void add(const std::filesystem::path& input, const Plan& plan);
    // Opens the model, plans its output and writes it to its temporary file.
    RewriteSession start(const std::filesystem::path& input, const Plan& plan);
    // Refuses a model whose output, or the backup of what it replaces,
    // leads to a model the batch reads or to a file that an earlier model of
    // this run writes: a model would be lost.
    void refuseTaken(RewriteSession& session) const;
    std::optional<std::string> whyTaken(const OutputLanding& landing,
                                        const RewriteSession& session) const;
    void noteWritten(const RewriteSession& session);
    bool groupIsFull() const;

    const RewriteRequest request_;
    const Report report_;
    const std::size_t groupModels_;
    std::vector<RewriteSession> group_;
    const ModelList* inputNames_ = nullptr;
    ModelList outputNames_;
    Landings inputs_;
    Landings outputs_;
    std::int64_t groupBytes_ = 0;
};

}  // namespace morvane
