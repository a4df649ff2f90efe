#pragma once

#include <optional>
#include <string_view>

namespace morvane {

// A number as people type one: whole and decimal ("010" is ten), with white
// space around it and one leading sign allowed; anything else, or a number
// too large for an int, is none. Both programs read a count so, whether it is
// typed into the window's field or given with -n.
std::optional<int> ParseWholeNumber(std::string_view text);

// A number of collision volumes that the rewrite takes (zrm::kMinVolumes to
// zrm::kMaxVolumes), read as ParseWholeNumber reads it.
std::optional<int> ParseVolumeCount(std::string_view text);

}  // namespace morvane
