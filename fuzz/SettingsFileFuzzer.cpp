// The settings file layer against arbitrary file contents.
//
// Property: after the [LOGO] values are written into any file, both the object that
// wrote them and a fresh read of the file give back exactly those values, for every
// 32-bit value; every other key of [LOGO] and every key of every other section keeps
// its value, and no key appears or disappears outside the five; writing the values
// read from a file and reading them again changes none of them.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "FuzzCheck.h"
#include "Scratch.h"
#include "settings/LogoSettings.h"
#include "settings/ProfileFile.h"

namespace printset {
namespace {

constexpr std::string_view kLogoSection = "LOGO";
constexpr std::string_view kLogoKeys[] = {"SIZE", "WIDTH", "QUANTITY", "COMMAND", "PARA", "DOTS", "THRESHOLD"};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

bool SameName(std::string_view a, std::string_view b) {
  auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

bool IsLogoKey(std::string_view key) {
  for (const std::string_view name : kLogoKeys)
    if (SameName(key, name)) return true;
  return false;
}

// Every text between a '[' and the next ']' on a line, without surrounding blanks: a
// superset of the file's section names. A candidate that names no section must read as
// empty before and after alike, so the extra ones cost nothing. Of a UTF-16 file only the
// low byte of each unit is looked at, which gives its ASCII names.
std::vector<std::string> CandidateSections(std::string content) {
  if (content.size() >= 2 && (content.substr(0, 2) == "\xFF\xFE" || content.substr(0, 2) == "\xFE\xFF")) {
    std::string lowBytes;
    for (size_t i = content[0] == '\xFF' ? 2 : 3; i < content.size(); i += 2) lowBytes += content[i];
    content = lowBytes;
  }
  std::vector<std::string> names;
  size_t open = content.find('[');
  while (open != std::string::npos) {
    const size_t close = content.find_first_of("]\r\n", open + 1);
    if (close == std::string::npos) break;
    if (content[close] == ']') {
      std::string_view name(content.data() + open + 1, close - open - 1);
      while (!name.empty() && IsBlank(name.front())) name.remove_prefix(1);
      while (!name.empty() && IsBlank(name.back())) name.remove_suffix(1);
      names.emplace_back(name);
    }
    open = content.find('[', close);
  }
  return names;
}

using TSectionSnapshot = std::vector<std::pair<std::string, std::optional<std::string>>>;

TSectionSnapshot Snapshot(const TProfileFile& file, std::string_view section) {
  TSectionSnapshot keys;
  for (std::string& key : file.ReadSectionKeys(section)) {
    std::optional<std::string> value = file.ReadString(section, key);
    Require(value.has_value());  // a listed key must be readable
    keys.emplace_back(std::move(key), std::move(value));
  }
  return keys;
}

TSectionSnapshot WithoutLogoKeys(TSectionSnapshot keys) {
  std::erase_if(keys, [](const auto& entry) { return IsLogoKey(entry.first); });
  return keys;
}

bool SameSettings(const TLogoSettings& a, const TLogoSettings& b) {
  return a.LogoSize == b.LogoSize && a.LogoWidth == b.LogoWidth &&
         a.LogoQuantity == b.LogoQuantity && a.LogoCommand == b.LogoCommand &&
         a.LogoPara == b.LogoPara && a.Dots == b.Dots && a.Threshold == b.Threshold;
}

void RequireSettings(const TProfileFile& written, const TLogoSettings& expected) {
  Require(SameSettings(ReadLogoSettings(written), expected));
  Require(SameSettings(ReadLogoSettings(TProfileFile(written.Path())), expected));
}

}  // namespace
}  // namespace printset

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace printset;
  FuzzedDataProvider input(data, size);
  TLogoSettings next;
  next.LogoSize = input.ConsumeIntegral<int32_t>();
  next.LogoWidth = input.ConsumeIntegral<int32_t>();
  next.LogoQuantity = input.ConsumeIntegral<int32_t>();
  next.LogoCommand = input.ConsumeIntegral<int32_t>();
  next.LogoPara = input.ConsumeIntegral<int32_t>();
  next.Dots = kDotRules[input.ConsumeIntegralInRange<size_t>(0, std::size(kDotRules) - 1)];
  next.Threshold = input.ConsumeIntegralInRange<int32_t>(kMinDotThreshold, kMaxDotThreshold);
  const std::string content = input.ConsumeRemainingBytesAsString();

  const std::string path = ScratchPath("config.ini");
  WriteScratchFile(path, reinterpret_cast<const uint8_t*>(content.data()), content.size());
  TProfileFile file(path);

  const std::vector<std::string> sections = CandidateSections(content);
  std::vector<TSectionSnapshot> before;
  for (const std::string& section : sections) before.push_back(Snapshot(file, section));
  const TSectionSnapshot logoBefore = WithoutLogoKeys(Snapshot(file, kLogoSection));

  // The code page table is the [CODEPAGE] keys in file order, up to its capacity.
  const TCodePageTable codePages = ReadCodePages(file);
  const std::vector<std::string> codePageKeys = file.ReadSectionKeys("CODEPAGE");
  Require(codePages.Names.size() <= kCodePageCapacity);
  for (size_t i = 0; i < codePages.Names.size(); ++i) Require(codePages.Names[i] == codePageKeys[i]);

  const TLogoSettings read = ReadLogoSettings(file);
  Require(WriteLogoSettings(file, read));
  RequireSettings(file, read);
  Require(WriteLogoSettings(file, next));
  RequireSettings(file, next);

  const TProfileFile reread(path);
  for (size_t i = 0; i < sections.size(); ++i) {
    if (SameName(sections[i], kLogoSection)) continue;
    Require(Snapshot(file, sections[i]) == before[i]);
    Require(Snapshot(reread, sections[i]) == before[i]);
  }
  Require(WithoutLogoKeys(Snapshot(reread, kLogoSection)) == logoBefore);
  return 0;
}
