// printset-line-relay COUNT PORT: COUNT raw pseudo-terminals whose far ends are reached
// over TCP, for the link tests of the Windows build under Wine. Wine maps a COM port to
// each pty's slave; the test plays the printer's side of line K through 127.0.0.1:PORT+K,
// byte for byte in both directions. 127.0.0.1:PORT+COUNT answers "K\n" with the rate the
// host has set on line K. Prints the slave paths, one a line, then runs until killed.
#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "sim/Pty.h"

using namespace printset;

namespace {

struct TLine {
  TPtyHandles Pty;
  int Listener = -1;
  int Client = -1;
};

int Listen(int port) {
  const int s = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (s < 0) return -1;
  const int on = 1;
  ::setsockopt(s, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = htons(static_cast<uint16_t>(port));
  if (::bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || ::listen(s, 4) != 0) {
    ::close(s);
    return -1;
  }
  return s;
}

// Copies what `from` holds to `to`; false when `from` has ended.
bool Pass(int from, int to) {
  char chunk[4096];
  const ssize_t n = ::read(from, chunk, sizeof chunk);
  if (n == 0) return false;
  if (n < 0) return errno == EAGAIN || errno == EINTR;
  for (ssize_t done = 0; done < n;) {
    const ssize_t w = ::write(to, chunk + done, static_cast<size_t>(n - done));
    if (w > 0) {
      done += w;
    } else if (w < 0 && errno == EAGAIN) {
      pollfd p{to, POLLOUT, 0};
      ::poll(&p, 1, 1000);
    } else if (!(w < 0 && errno == EINTR)) {
      return false;
    }
  }
  return true;
}

void AnswerRate(int control, std::vector<TLine>& lines) {
  const int client = ::accept4(control, nullptr, nullptr, SOCK_CLOEXEC);
  if (client < 0) return;
  char request[32] = {};
  const ssize_t n = ::read(client, request, sizeof request - 1);
  const int index = n > 0 ? std::atoi(request) : -1;
  const int32_t rate =
      index >= 0 && index < static_cast<int>(lines.size()) ? ReadLineBaudRate(lines[index].Pty.MasterFd) : -1;
  const std::string answer = std::to_string(rate) + "\n";
  if (::write(client, answer.data(), answer.size()) < 0) std::perror("printset-line-relay: answer");
  ::close(client);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: printset-line-relay COUNT PORT\n");
    return 2;
  }
  const int count = std::atoi(argv[1]);
  const int port = std::atoi(argv[2]);
  std::vector<TLine> lines(static_cast<size_t>(count > 0 ? count : 0));
  for (int i = 0; i < count; ++i) {
    std::string error;
    if (!OpenRawPty(lines[i].Pty, &error)) {
      std::fprintf(stderr, "printset-line-relay: %s\n", error.c_str());
      return 1;
    }
    lines[i].Listener = Listen(port + i);
    if (lines[i].Listener < 0) {
      std::perror("printset-line-relay: listen");
      return 1;
    }
    std::printf("%s\n", lines[i].Pty.SlavePath.c_str());
  }
  const int control = Listen(port + count);
  if (control < 0) {
    std::perror("printset-line-relay: listen");
    return 1;
  }
  std::fflush(stdout);

  for (;;) {
    // Each line: its listener until a client comes, then the client and the pty's master.
    // A master without a client is not read, so what the host sends waits in the pty.
    std::vector<pollfd> fds;
    std::vector<int> owner;
    for (int i = 0; i < count; ++i) {
      TLine& line = lines[i];
      if (line.Client < 0) {
        fds.push_back({line.Listener, POLLIN, 0});
        owner.push_back(i);
      } else {
        fds.push_back({line.Client, POLLIN, 0});
        owner.push_back(i);
        fds.push_back({line.Pty.MasterFd, POLLIN, 0});
        owner.push_back(i);
      }
    }
    fds.push_back({control, POLLIN, 0});
    owner.push_back(-1);
    if (::poll(fds.data(), fds.size(), -1) < 0) {
      if (errno == EINTR) continue;
      std::perror("printset-line-relay: poll");
      return 1;
    }
    for (size_t k = 0; k < fds.size(); ++k) {
      if (!fds[k].revents) continue;
      if (owner[k] < 0) {
        AnswerRate(control, lines);
        continue;
      }
      TLine& line = lines[owner[k]];
      if (fds[k].fd == line.Listener) {
        line.Client = ::accept4(line.Listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (line.Client >= 0) {
          const int on = 1;
          ::setsockopt(line.Client, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
        }
      } else if (fds[k].fd == line.Client) {
        if (!Pass(line.Client, line.Pty.MasterFd)) {
          ::close(line.Client);
          line.Client = -1;
        }
      } else if (line.Client >= 0 && !Pass(line.Pty.MasterFd, line.Client)) {
        ::close(line.Client);
        line.Client = -1;
      }
    }
  }
}
