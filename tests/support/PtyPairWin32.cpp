#include "PtyPair.h"

#define WIN32_LEAN_AND_MEAN
#include <winsock2.h>
#include <ws2tcpip.h>

#include <algorithm>
#include <chrono>
#include <stdexcept>

#include "PeerPool.h"

namespace printset {

namespace {

SOCKET ConnectLoopback(int port) {
  static const bool started = [] {
    WSADATA data{};
    return WSAStartup(MAKEWORD(2, 2), &data) == 0;
  }();
  if (!started) throw std::runtime_error("WSAStartup failed");
  const SOCKET s = ::socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
  if (s == INVALID_SOCKET) throw std::runtime_error("socket failed");
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<u_short>(port));
  if (::connect(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
    ::closesocket(s);
    throw std::runtime_error("printset-line-relay does not answer on port " + std::to_string(port));
  }
  const BOOL on = TRUE;
  ::setsockopt(s, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&on), sizeof on);
  return s;
}

}  // namespace

struct TPtyPair::TFarEnd {
  int Index = 0;
  int BasePort = 0;
  int Count = 0;
  SOCKET Socket = INVALID_SOCKET;
};

TPtyPair::TPtyPair() : FarEnd(std::make_unique<TFarEnd>()) {
  FarEnd->Index = NextPeer("PRINTSET_TEST_LINE_COUNT");
  FarEnd->Count = std::stoi(PeerSetting("PRINTSET_TEST_LINE_COUNT"));
  FarEnd->BasePort = std::stoi(PeerSetting("PRINTSET_TEST_LINE_PORT"));
  FarEnd->Socket = ConnectLoopback(FarEnd->BasePort + FarEnd->Index);
  PortName = "COM" + std::to_string(std::stoi(PeerSetting("PRINTSET_TEST_LINE_COM")) + FarEnd->Index);
}

TPtyPair::~TPtyPair() {
  if (FarEnd->Socket != INVALID_SOCKET) ::closesocket(FarEnd->Socket);
}

void TPtyPair::WriteToHost(const std::vector<uint8_t>& bytes) {
  size_t done = 0;
  while (done < bytes.size()) {
    const int n = ::send(FarEnd->Socket, reinterpret_cast<const char*>(bytes.data() + done),
                         static_cast<int>(bytes.size() - done), 0);
    if (n == SOCKET_ERROR) throw std::runtime_error("the relay's line is gone");
    done += static_cast<size_t>(n);
  }
  // The relay serves its lines before its rate questions, so once a question is answered
  // the bytes are in the pty, as they are when a write to a pty master returns.
  if (LineBaudRate() < 0) throw std::runtime_error("printset-line-relay does not answer");
}

std::vector<uint8_t> TPtyPair::ReadFromHost(size_t count, int ms) {
  using TClock = std::chrono::steady_clock;
  const auto deadline = TClock::now() + std::chrono::milliseconds(ms);
  std::vector<uint8_t> got;
  while (got.size() < count) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - TClock::now()).count();
    if (left <= 0) break;
    WSAPOLLFD p{FarEnd->Socket, POLLRDNORM, 0};
    if (::WSAPoll(&p, 1, static_cast<int>(left)) <= 0) break;
    char chunk[4096];
    const int want = static_cast<int>(std::min(sizeof chunk, count - got.size()));
    const int n = ::recv(FarEnd->Socket, chunk, want, 0);
    if (n <= 0) break;
    got.insert(got.end(), chunk, chunk + n);
  }
  return got;
}

int32_t TPtyPair::LineBaudRate() const {
  const SOCKET s = ConnectLoopback(FarEnd->BasePort + FarEnd->Count);
  const std::string request = std::to_string(FarEnd->Index) + "\n";
  if (::send(s, request.data(), static_cast<int>(request.size()), 0) == SOCKET_ERROR) {
    ::closesocket(s);
    return -1;
  }
  std::string answer;
  char chunk[32];
  int n;
  while ((n = ::recv(s, chunk, sizeof chunk, 0)) > 0) answer.append(chunk, static_cast<size_t>(n));
  ::closesocket(s);
  return answer.empty() ? -1 : std::stoi(answer);
}

}  // namespace printset
