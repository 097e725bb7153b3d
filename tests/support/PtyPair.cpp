#include "PtyPair.h"

#include "link/PacketCodec.h"

namespace printset {

std::vector<uint8_t> TPtyPair::ReadRequest(int ms) {
  std::vector<uint8_t> packet = ReadFromHost(kHeaderSize, ms);
  if (packet.size() < static_cast<size_t>(kHeaderSize)) return {};
  const std::vector<uint8_t> data = ReadFromHost(GetLe16(packet.data() + 8), ms);
  packet.insert(packet.end(), data.begin(), data.end());
  if (packet.size() < kHeaderSize + static_cast<size_t>(GetLe16(packet.data() + 8))) return {};
  return packet;
}

}  // namespace printset
