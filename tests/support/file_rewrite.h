#pragma once

#include <exception>
#include <filesystem>
#include <ostream>

#include "model/files/rewrite_session.h"

namespace morvane::testing {

// A trace into a stream of the test's, which always arrives.
class StreamTrace final : public TraceTarget {
public:
    explicit StreamTrace(std::ostream& out) : out_(out) {}
    std::ostream& stream() override { return out_; }
    std::error_code flush() override {
        out_.flush();
        return {};
    }

private:
    std::ostream& out_;
};

// One model's rewrite as the front ends run it; a refusal, failure or cancel
// is thrown as what the session caught.
inline RewriteOutcome rewriteFile(const std::filesystem::path& input,
                                  const std::filesystem::path& output, int volumes,
                                  std::ostream& trace, const RewriteProgress& progress = {}) {
    StreamTrace target(trace);
    RewriteSession session(input);
    const RewriteOutcome outcome =
        session.rewrite(output, {volumes, RewrittenBefore::Rewrite, &target, progress});
    if (outcome.error) {
        std::rethrow_exception(outcome.error);
    }
    return outcome;
}

}  // namespace morvane::testing
