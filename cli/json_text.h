#pragma once

#include <string>

#include <nlohmann/json.hpp>

namespace morvane::cli {

using Json = nlohmann::ordered_json;

// One JSON value on one line. A name that is not UTF-8 keeps the JSON valid:
// each undecodable byte becomes U+FFFD.
inline std::string JsonText(const Json& value) {
    return value.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace morvane::cli
