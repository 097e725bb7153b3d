#include "frontend/Json.h"

#include "link/PortNames.h"

namespace printset {

TJson JsonObject() {
  TJson object;
  object["schema"] = kJsonSchema;
  return object;
}

std::string JsonLine(const TJson& object) {
  return object.dump(-1, ' ', false, TJson::error_handler_t::replace);
}

void AddIdentity(TJson& object, const std::optional<std::string>& identity) {
  if (!identity) {
    object["identity"] = nullptr;
    object["identity_hex"] = nullptr;
    return;
  }
  constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  for (const char c : *identity) {
    const auto byte = static_cast<unsigned char>(c);
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 0x0F];
  }
  object["identity"] = PrintableBytes(*identity, true);
  object["identity_hex"] = hex;
}

}  // namespace printset
