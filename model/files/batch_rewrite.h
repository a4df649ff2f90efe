#pragma once

#include <cstdint>
#include <exception>
#include <filesystem>
#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "model/files/file_rewrite.h"

namespace morvane {

// Rewrites many models one after another with the promises RewriteModelFile
// makes for each, every model reported written durable by the time it is
// reported. The models of a group are written, then synced together, so that
// the file system can share its journal commits, then named, and each folder
// synced once.
class BatchRewrite {
public:
    // What is done with a model that a rewrite has been through before.
    enum class RewrittenBefore { Rewrite, LeaveOut };

    struct Outcome {
        std::filesystem::path input;
        std::filesystem::path output;
        std::optional<CarriedBlock> carriedBlock{};  // the model was rewritten before
        bool leftOut = false;                        // for that
        std::optional<WrittenModel> written{};       // or else why not:
        std::exception_ptr failure{};
    };
    using Report = std::function<void(const Outcome&)>;

    // Each model is told to progress as RewriteModelFile tells it; report
    // hears of every model, in the order they were added, once it is settled.
    BatchRewrite(int volumes, RewrittenBefore rewrittenBefore, std::ostream& trace,
                 RewriteProgress progress, Report report);
    BatchRewrite(const BatchRewrite&) = delete;
    BatchRewrite& operator=(const BatchRewrite&) = delete;
    // Models still waiting for their names are dropped, leaving nothing behind.
    ~BatchRewrite();

    // Notes a model the batch is to read, so that no output of the batch
    // replaces it, before or after it is read.
    void willRead(const std::filesystem::path& input);
    // Writes the model; its name may wait for the rest of its group.
    void add(const std::filesystem::path& input, const std::filesystem::path& output);
    // The same, into folder under the model's own name (ModelFile::ownName).
    void addInto(const std::filesystem::path& input, const std::filesystem::path& folder);
    // Syncs, names and reports every model added so far.
    void finish();

private:
    struct Pending {
        Outcome outcome;
        std::unique_ptr<SafeOutput> output;
        PassSummary summary;
    };

    // Files by where names land on them, each with the name quoted for messages.
    class Landings {
    public:
        void add(const OutputLanding& landing, const std::filesystem::path& name);
        // The quoted name of the file that landing reaches, or nullptr.
        const std::string* find(const OutputLanding& landing) const;

    private:
        std::unordered_map<std::filesystem::path::string_type, std::string> byPlace_;
        std::map<std::pair<std::uint64_t, std::uint64_t>, std::string> byFile_;
    };

    // Names the output of a model added without one, once the model is open.
    using OutputOf = std::function<std::filesystem::path(const ModelFile&)>;

    void addNamed(Outcome outcome, const OutputOf& outputOf);
    // Opens the model, looks at it and writes it to its temporary file.
    void start(Pending& pending, const OutputOf& outputOf);
    template <typename Open>
    void openFreeingFiles(Open open);
    // Refuses a model whose output leads to a model the batch reads, or to a
    // file that an earlier model of this run writes: a model would be lost.
    void requireUntaken(const Outcome& outcome, const OutputLanding& landing) const;
    bool groupIsFull() const;
    void syncGroup();
    void nameGroup();
    void syncFolders();
    // Runs a step of one model; a failure settles the model with it.
    template <typename Step>
    void attempt(Pending& pending, Step step);

    const int volumes_;
    const RewrittenBefore rewrittenBefore_;
    std::ostream& trace_;
    const RewriteProgress progress_;
    const Report report_;
    const std::size_t groupModels_;
    std::vector<Pending> group_;
    Landings inputs_;
    Landings outputs_;
    std::int64_t groupBytes_ = 0;
};

}  // namespace morvane
