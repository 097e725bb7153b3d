#include "sim/RequestParser.h"

#include <algorithm>

#include "link/PacketCodec.h"

namespace printset {

namespace {

// Drops bytes until `Pending` begins with something that may still become 03 FF.
void SkipToStart(std::vector<uint8_t>& pending) {
  size_t i = 0;
  while (i < pending.size()) {
    if (pending[i] == kStartByte && (i + 1 == pending.size() || pending[i + 1] == kDirectionRequest)) break;
    ++i;
  }
  pending.erase(pending.begin(), pending.begin() + static_cast<ptrdiff_t>(i));
}

}  // namespace

void TRequestParser::Feed(const uint8_t* bytes, size_t count) {
  Pending.insert(Pending.end(), bytes, bytes + count);
  SkipToStart(Pending);
}

std::optional<TParsedRequest> TRequestParser::Next() {
  SkipToStart(Pending);
  if (Pending.size() < static_cast<size_t>(kHeaderSize)) return std::nullopt;
  const TPacketHeader header = ParseHeader(Pending.data(), kDirectionRequest);
  TParsedRequest request;
  request.Command = header.Command;
  request.Argument = header.Argument;
  if (!header.Valid) {
    request.HeaderCheckGood = false;
    request.DataCheckGood = false;
    request.WireLength = kHeaderSize;
    Pending.erase(Pending.begin());
    return request;
  }
  const size_t total = kHeaderSize + static_cast<size_t>(header.Length);
  if (Pending.size() < total) return std::nullopt;
  request.Data.assign(Pending.begin() + kHeaderSize, Pending.begin() + static_cast<ptrdiff_t>(total));
  request.DataCheckGood = DataCheckHolds(header.DataCheck, request.Data.data(), request.Data.size());
  request.WireLength = total;
  Pending.erase(Pending.begin(), Pending.begin() + static_cast<ptrdiff_t>(total));
  return request;
}

void TRequestParser::DropPartial() {
  if (!Pending.empty()) Pending.erase(Pending.begin());
  SkipToStart(Pending);
}

}  // namespace printset
