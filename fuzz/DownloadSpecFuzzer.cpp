// The front end's download-list argument FILE[:COMMAND[:BASE]] against arbitrary text.
//
// Property: ParseDownloadSpec agrees with a reference written from the rule (split at
// every colon; up to two trailing fields that are empty or start with a digit are the
// numbers, decimal or 0x hex, COMMAND up to 0xFFFF and BASE up to 0xFFFFFFFF; the rest
// is a non-empty path) on every text, leaves the result alone when it refuses one, and
// gives back any path and numbers written in any of the accepted spellings.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzCheck.h"
#include "cli/DownloadSpec.h"

namespace printset {
namespace {

constexpr uint16_t kLogoCommand = 45;  // what a spec without COMMAND downloads with

bool LooksNumeric(std::string_view field) { return field.empty() || (field[0] >= '0' && field[0] <= '9'); }

std::optional<uint64_t> ReferenceNumber(std::string_view field, uint64_t max) {
  unsigned radix = 10;
  if (field.size() > 2 && field[0] == '0' && (field[1] == 'x' || field[1] == 'X')) {
    radix = 16;
    field.remove_prefix(2);
  }
  if (field.empty()) return std::nullopt;
  unsigned __int128 value = 0;
  for (const char c : field) {
    const std::string_view digits = "0123456789abcdef";
    const char lower = (c >= 'A' && c <= 'F') ? static_cast<char>(c - 'A' + 'a') : c;
    const size_t digit = digits.find(lower);
    if (digit == std::string_view::npos || digit >= radix) return std::nullopt;
    value = value * radix + digit;
    if (value > max) return std::nullopt;
  }
  return static_cast<uint64_t>(value);
}

std::optional<TDownloadSpec> ReferenceParse(const std::string& text) {
  std::vector<size_t> starts{0};  // where each colon-separated field begins
  for (size_t i = 0; i < text.size(); ++i)
    if (text[i] == ':') starts.push_back(i + 1);
  auto field = [&](size_t i) {
    const size_t end = i + 1 < starts.size() ? starts[i + 1] - 1 : text.size();
    return std::string_view(text).substr(starts[i], end - starts[i]);
  };
  const size_t fields = starts.size();
  size_t numbers = 0;
  while (numbers < 2 && numbers + 1 < fields && LooksNumeric(field(fields - 1 - numbers))) ++numbers;

  TDownloadSpec spec;
  spec.Path = numbers == 0 ? text : text.substr(0, starts[fields - numbers] - 1);
  spec.Command = kLogoCommand;
  spec.Base = 0;
  if (spec.Path.empty()) return std::nullopt;
  if (numbers >= 1) {
    const std::optional<uint64_t> command = ReferenceNumber(field(fields - numbers), 0xFFFF);
    if (!command) return std::nullopt;
    spec.Command = static_cast<uint16_t>(*command);
  }
  if (numbers == 2) {
    const std::optional<uint64_t> base = ReferenceNumber(field(fields - 1), 0xFFFFFFFF);
    if (!base) return std::nullopt;
    spec.Base = static_cast<uint32_t>(*base);
  }
  return spec;
}

bool Same(const TDownloadSpec& a, const TDownloadSpec& b) {
  return a.Path == b.Path && a.Command == b.Command && a.Base == b.Base;
}

// Parses `text` and requires the reference's outcome; a refused text leaves `spec` as it was.
void RequireAgrees(const std::string& text) {
  const TDownloadSpec untouched{"untouched", 0x1234, 0x89ABCDEF};
  TDownloadSpec spec = untouched;
  std::string error;
  const bool parsed = ParseDownloadSpec(text, spec, error);
  const std::optional<TDownloadSpec> expected = ReferenceParse(text);
  Require(parsed == expected.has_value());
  Require(parsed ? Same(spec, *expected) : (Same(spec, untouched) && !error.empty()));
}

// A number in one of the accepted spellings, chosen by `style`.
std::string Spell(uint64_t value, uint8_t style) {
  static const char* const kDigits[] = {"0123456789abcdef", "0123456789ABCDEF"};
  const bool hex = (style & 1) != 0;
  const unsigned radix = hex ? 16 : 10;
  std::string digits;
  do {
    digits.insert(digits.begin(), kDigits[(style >> 2) & 1][value % radix]);
    value /= radix;
  } while (value != 0);
  digits.insert(0, static_cast<size_t>((style >> 3) & 3), '0');  // leading zeros change nothing
  return hex ? ((style & 2) ? "0X" : "0x") + digits : digits;
}

}  // namespace
}  // namespace printset

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace printset;
  RequireAgrees(std::string(reinterpret_cast<const char*>(data), size));

  // Written from parts: any path, numbers a little past their ranges.
  FuzzedDataProvider input(data, size);
  const uint64_t command = input.ConsumeIntegralInRange<uint64_t>(0, 0x1FFFF);
  const uint64_t base = input.ConsumeIntegralInRange<uint64_t>(0, 0x1FFFFFFFF);
  const uint8_t commandStyle = input.ConsumeIntegral<uint8_t>();
  const uint8_t baseStyle = input.ConsumeIntegral<uint8_t>();
  std::string path = input.ConsumeRemainingBytesAsString();
  if (path.empty()) path = "logo.bin";
  const bool inRange = command <= 0xFFFF && base <= 0xFFFFFFFF;

  TDownloadSpec spec;
  std::string error;
  Require(ParseDownloadSpec(path + ":" + Spell(command, commandStyle) + ":" + Spell(base, baseStyle), spec,
                            error) == inRange);
  if (inRange) Require(Same(spec, {path, static_cast<uint16_t>(command), static_cast<uint32_t>(base)}));

  // Shorter forms name the same path only when its own last field cannot pass for a number.
  const size_t colon = path.rfind(':');
  if (colon != std::string::npos && LooksNumeric(std::string_view(path).substr(colon + 1))) return 0;
  Require(ParseDownloadSpec(path + ":" + Spell(command, commandStyle), spec, error) == (command <= 0xFFFF));
  if (command <= 0xFFFF) Require(Same(spec, {path, static_cast<uint16_t>(command), 0}));
  Require(ParseDownloadSpec(path, spec, error));
  Require(Same(spec, {path, kLogoCommand, 0}));
  return 0;
}
