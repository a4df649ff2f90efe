#include "model/format.h"

#include <cstdio>

namespace morvane::zrm {

std::string DescribeWord(std::int32_t word) {
    const auto bits = static_cast<std::uint32_t>(word);
    std::string letters;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const auto letter = static_cast<char>((bits >> shift) & 0xFFu);
        if (letter < 0x20 || letter > 0x7E) {
            letters.clear();
            break;
        }
        letters += letter;
    }
    char hex[16];
    std::snprintf(hex, sizeof hex, "0x%08X", bits);
    return letters.empty() ? std::string(hex) : std::string(hex) + " ('" + letters + "')";
}

std::string VolumeRange() {
    return std::to_string(kMinVolumes) + " to " + std::to_string(kMaxVolumes);
}

}  // namespace morvane::zrm
