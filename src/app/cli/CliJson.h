// The --json output: one object a line, keys in the order they are set.
#pragma once

#include <nlohmann/json.hpp>
#include <string>

namespace printset {

using TJson = nlohmann::ordered_json;

// `object` on one line, without the line end. Never throws: a byte sequence that is not
// UTF-8 (a port name or an identity can hold any byte) becomes U+FFFD.
std::string JsonLine(const TJson& object);

}  // namespace printset
