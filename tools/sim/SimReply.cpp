#include "sim/SimReply.h"

#include "link/PacketCodec.h"

namespace printset {

std::vector<uint8_t> BuildFlawedReply(uint16_t command, uint32_t argument, const std::vector<uint8_t>& data,
                                      const TReplyFlaws& flaws) {
  std::vector<uint8_t> packet;
  BuildPacket(kDirectionReply, command, argument, data.data(), data.size(), packet);
  if (flaws.BadHeaderCheck) packet[10] ^= 0x5A;
  if (flaws.BadDataCheck && !data.empty()) packet[11] ^= 0x5A;
  if (flaws.StrayBytes <= 0) return packet;
  std::vector<uint8_t> out;
  out.reserve(static_cast<size_t>(flaws.StrayBytes) + packet.size());
  for (int i = 0; i < flaws.StrayBytes; ++i) out.push_back(static_cast<uint8_t>('a' + i % 26));
  out.insert(out.end(), packet.begin(), packet.end());
  return out;
}

}  // namespace printset
