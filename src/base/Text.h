// Small text rules shared by every layer.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace printset {

// Equal apart from the case of ASCII letters.
bool SameTextIgnoringCase(std::string_view a, std::string_view b);

// `text` without the blanks and control characters at either end.
std::string Trim(const std::string& text);

// The parts of `text` between commas, each trimmed; one empty part for empty text.
std::vector<std::string> SplitList(const std::string& text);

}  // namespace printset
