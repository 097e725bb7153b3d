// What the line itself did wrong under a request, beside a reply that did not come.
#pragma once

#include <string>

namespace printset {

enum class TLineFailureKind {
  None,
  SendRefused,  // the system did not take a request (no route, a line that stopped taking bytes)
  PortLost,     // the port is gone (a USB adapter pulled out, the line hung up)
  TooLong,      // the request's data do not fit a packet: nothing was sent (the caller's fault)
};

struct TLineFailure {
  TLineFailureKind Kind = TLineFailureKind::None;
  std::string Text;  // the system's words, e.g. "Network is unreachable"
};

}  // namespace printset
