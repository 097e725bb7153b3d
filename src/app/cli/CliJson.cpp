#include "CliJson.h"

namespace printset {

std::string JsonLine(const TJson& object) {
  return object.dump(-1, ' ', false, TJson::error_handler_t::replace);
}

}  // namespace printset
