#include "model/volume_count.h"

#include <charconv>

#include "model/format.h"

namespace morvane {
namespace {

std::string_view Trimmed(std::string_view text) {
    constexpr std::string_view kSpace = " \t\n\v\f\r";
    const std::size_t first = text.find_first_not_of(kSpace);
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(kSpace) - first + 1);
}

}  // namespace

std::optional<int> ParseWholeNumber(std::string_view text) {
    std::string_view digits = Trimmed(text);
    if (digits.starts_with('+') && !digits.starts_with("+-")) {
        digits.remove_prefix(1);
    }
    const char* const end = digits.data() + digits.size();
    int value = 0;
    const auto [stop, error] = std::from_chars(digits.data(), end, value);
    if (digits.empty() || error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return value;
}

std::optional<int> ParseVolumeCount(std::string_view text) {
    const std::optional<int> count = ParseWholeNumber(text);
    if (!count || *count < zrm::kMinVolumes || *count > zrm::kMaxVolumes) {
        return std::nullopt;
    }
    return count;
}

}  // namespace morvane
