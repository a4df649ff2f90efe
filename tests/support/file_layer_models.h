#pragma once

#include <string>

#include "support/zrm_builder.h"

namespace morvane::testing {

// The models the file layer's tests rewrite: one small, and one several read
// buffers long with payloads for the kernel to copy; and what an output name
// held before, which a refused or failed rewrite must leave there.
inline const std::string kModel = containerHeader() + chunk(kPrim, 0, 8, payload(8));
inline const std::string kLongModel = containerHeader() +
                                      chunk(kPrim, 0, 3 << 20, payload(3 << 20)) +
                                      chunk(kNorm, 0, 3 << 20, payload(3 << 20, 'n')) + "abc";
inline const std::string kPrecious = "an older model that must survive";

}  // namespace morvane::testing
