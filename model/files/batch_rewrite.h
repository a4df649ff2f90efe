#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>
#include <unordered_map>
#include <vector>

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

    // Notes a model the batch is to read, so that no output of the batch
    // replaces it, before or after it is read.
    void willRead(const std::filesystem::path& input);
    // Writes the model; its name may wait for the rest of its group.
    void add(const std::filesystem::path& input, const std::filesystem::path& output);
    // The same, into folder under the model's own name.
    void addInto(const std::filesystem::path& input, const std::filesystem::path& folder);
    // Syncs, names and reports every model added so far.
    void finish();

private:
    // Files by where names land on them, each with the name quoted for messages.
    class Landings {
    public:
        void add(const OutputLanding& landing, const std::filesystem::path& name);
        // The quoted name of the file that landing reaches, or nullptr.
        const std::string* find(const OutputLanding& landing) const;

    private:
        std::unordered_map<std::filesystem::path::string_type, std::string> byPlace_;
        std::map<sys::FileIdentity, std::string> byFile_;
    };

    // Plans the output of a model once it is open.
    using Plan = std::function<void(RewriteSession&)>;

    void add(const std::filesystem::path& input, const Plan& plan);
    // Opens the model, plans its output and writes it to its temporary file.
    RewriteSession start(const std::filesystem::path& input, const Plan& plan);
    // Refuses a model whose output leads to a model the batch reads, or to a
    // file that an earlier model of this run writes: a model would be lost.
    void refuseTaken(RewriteSession& session) const;
    bool groupIsFull() const;

    const RewriteRequest request_;
    const Report report_;
    const std::size_t groupModels_;
    std::vector<RewriteSession> group_;
    Landings inputs_;
    Landings outputs_;
    std::int64_t groupBytes_ = 0;
};

}  // namespace morvane
