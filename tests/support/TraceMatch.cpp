#include "TraceMatch.h"

#include <filesystem>
#include <regex>

namespace printset {

bool IsStampedLine(const std::string& line, const std::string& head) {
  static const std::regex stamp(R"( \d\d-\d\d-\d\d \d\d:\d\d:\d\d \d\d\d )");
  return line.size() == head.size() + 23 && line.compare(0, head.size(), head) == 0 &&
         std::regex_match(line.substr(head.size()), stamp);
}

int OpenDescriptorCount() {
  int count = 0;
  for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator("/proc/self/fd")) ++count;
  return count;
}

}  // namespace printset
