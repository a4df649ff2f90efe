// Linked into morvane-cli: every folder refuses unnamed temporary files, as
// some file systems do, so the tool takes its other way, a named temporary
// file.
#include "model/files/system_calls.h"

namespace {

const bool refused = [] {
    morvane::sys::SystemCalls().createUnnamed = [](const std::filesystem::path&, bool,
                                                   morvane::sys::File& file) {
        file = morvane::sys::kNoFile;
        return std::make_error_code(std::errc::not_supported);
    };
    return true;
}();

}  // namespace
