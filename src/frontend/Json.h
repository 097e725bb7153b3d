// The JSON lines of --json and of the station record: one object a line, keys in the
// order they are set.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>

namespace printset {

using TJson = nlohmann::ordered_json;

// The version of the --json objects' fields: raised when a field changes its meaning or
// type or goes away, never for a field added.
constexpr int kJsonSchema = 1;

// An object that begins with "schema" (kJsonSchema). Never fails.
TJson JsonObject();

// `object` on one line, without the line end. Never throws: a byte sequence that is not
// UTF-8 (a port name or an identity can hold any byte) becomes U+FFFD.
std::string JsonLine(const TJson& object);

// Adds "identity", the bytes the printer identified itself with as text (bytes outside
// printable ASCII, and the backslash, as \xNN), and "identity_hex", the same bytes as
// upper-case hex digits ("50524E2037343031"); both null when no printer answered.
void AddIdentity(TJson& object, const std::optional<std::string>& identity);

}  // namespace printset
