#include "model/rewrite_length.h"

#include <limits>

#include "model/format.h"

namespace morvane {

void RewriteLength::count(const ChunkHeader& header) {
    switch (header.kind->handling) {
        case zrm::Handling::ContainerHeader:
        case zrm::Handling::Copy:
        case zrm::Handling::CopyPadded:
            add(header, header.occupied);
            break;
        case zrm::Handling::Extend:
            RequireWordSized(header, wideExtendedSize(header), "the extended size word",
                             ModelError::Kind::GrowsTooLarge);
            // The count credits the extended chunk 4 bytes short of what it
            // occupies; files written so far carry that count, so it stays.
            add(header, wideExtendedSize(header) + 2 * zrm::kWordBytes);
            break;
        case zrm::Handling::Drop:
            break;
    }
}

std::int64_t RewriteLength::room() const {
    return std::int64_t{std::numeric_limits<std::int32_t>::max()} - zrm::kClosingHandBytes -
           counted_;
}

std::int32_t RewriteLength::extendedSize(const ChunkHeader& prim) const {
    return static_cast<std::int32_t>(wideExtendedSize(prim));
}

std::int32_t RewriteLength::total() const {
    return static_cast<std::int32_t>(counted_ + zrm::kClosingHandBytes);
}

std::int64_t RewriteLength::wideExtendedSize(const ChunkHeader& prim) const {
    return std::int64_t{prim.size} + 2 * zrm::kWordBytes + std::int64_t{zrm::kWordBytes} * volumes_;
}

void RewriteLength::add(const ChunkHeader& header, std::int64_t bytes) {
    RequireWordSized(header, counted_ + bytes + zrm::kClosingHandBytes,
                     "the rewritten model's byte count with its closing HAND chunk",
                     ModelError::Kind::GrowsTooLarge);
    counted_ += bytes;
}

}  // namespace morvane
