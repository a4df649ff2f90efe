#include "model/stream.h"

#include <array>
#include <istream>
#include <ostream>

#include "model/format.h"

namespace morvane {

std::int32_t readint(std::istream& in) {
    std::array<char, zrm::kWordBytes> bytes{};
    in.read(bytes.data(), zrm::kWordBytes);
    return WordAt(bytes.data());
}

void writeint(std::ostream& out, std::int32_t value) {
    std::array<char, zrm::kWordBytes> bytes;
    StoreWord(bytes.data(), value);
    out.write(bytes.data(), zrm::kWordBytes);
}

}  // namespace morvane
