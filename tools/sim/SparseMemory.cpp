#include "sim/SparseMemory.h"

#include <algorithm>

namespace printset {

void TSparseMemory::Write(uint64_t address, const uint8_t* bytes, size_t count) {
  if (count == 0) return;
  uint64_t start = address;
  uint64_t end = address + count;
  // Gather every region that overlaps or touches [start, end) into one.
  auto first = Blocks.upper_bound(start);
  if (first != Blocks.begin()) {
    auto before = std::prev(first);
    if (before->first + before->second.size() >= start) first = before;
  }
  auto last = first;
  while (last != Blocks.end() && last->first <= end) {
    start = std::min(start, last->first);
    end = std::max(end, last->first + last->second.size());
    ++last;
  }
  std::vector<uint8_t> merged(static_cast<size_t>(end - start), 0xFF);
  for (auto it = first; it != last; ++it)
    std::copy(it->second.begin(), it->second.end(), merged.begin() + static_cast<ptrdiff_t>(it->first - start));
  std::copy(bytes, bytes + count, merged.begin() + static_cast<ptrdiff_t>(address - start));
  Blocks.erase(first, last);
  Blocks.emplace(start, std::move(merged));
}

std::vector<uint8_t> TSparseMemory::Read(uint64_t address, size_t count) const {
  std::vector<uint8_t> out(count, 0xFF);
  const uint64_t end = address + count;
  auto it = Blocks.upper_bound(address);
  if (it != Blocks.begin()) --it;
  for (; it != Blocks.end() && it->first < end; ++it) {
    const uint64_t from = std::max(address, it->first);
    const uint64_t to = std::min(end, it->first + it->second.size());
    for (uint64_t a = from; a < to; ++a) out[static_cast<size_t>(a - address)] = it->second[static_cast<size_t>(a - it->first)];
  }
  return out;
}

std::vector<TSparseMemory::TRegion> TSparseMemory::Regions() const {
  std::vector<TRegion> regions;
  for (const auto& [address, bytes] : Blocks) regions.push_back({address, bytes});
  return regions;
}

}  // namespace printset
