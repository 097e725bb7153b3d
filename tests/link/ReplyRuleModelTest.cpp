// The reply rule against a model printer, case after seeded case: every reply shape the
// tool must serve, with requests and replies lost, repeated, late and buried in noise,
// over the real link, receivers and trace, on a played clock. Each case checks:
// - an operation that ends OK had every request answered by its own reply: the packet
//   taken is the one the printer makes for that request, and the printer received the
//   request; only where the printer makes the very same bytes for another request of the
//   operation can no receiver tell the two apart (counted, not failed);
// - a printer that lost nothing (only repeated replies) is served to the end;
// - no case waits longer than its requests' attempts and time limits allow.
// A failing case prints its seed: PRINTSET_REPLY_MODEL_SEED=S replays it alone, with
// its trace.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "base/Deadline.h"
#include "link/ByteSource.h"
#include "link/DatagramReceiver.h"
#include "link/PacketCodec.h"
#include "link/PacketLink.h"
#include "link/ReplyReceiver.h"
#include "link/Transport.h"

namespace printset {
namespace {

using TBytes = std::vector<uint8_t>;
using TTime = TDeadline::TClock::time_point;
using std::chrono::milliseconds;

constexpr uint64_t kFirstSeed = 0x5EED0000;
constexpr int kDefaultCases = 4000;
constexpr int kBlocks = 5;
const TBytes kIdentity = {'P', 'R', 'N', ' ', '7', '4', '0', '1'};

// How the printer names the request a reply answers.
enum class TShape { Echo, CommandOnly, ArgumentOnly, Fixed, Own };
const char* const kShapeNames[] = {"echoes both fields", "echoes the command (argument 0)",
                                   "echoes the argument (command 0)", "one fixed header",
                                   "a header of its own per command"};

enum class TOperation { Set, Program, Download };
const char* const kOperationNames[] = {"set", "program", "download"};

struct TRequest {
  uint16_t Command;
  uint32_t Argument;
  TBytes Data;
  int Attempts;
  uint32_t Ms;
};

// The requests of each operation in the order the tool sends them, with their attempts
// and time limits.
std::vector<TRequest> Requests(TOperation operation) {
  std::vector<TRequest> requests = {{0x20, 0, {'D', 'E', 'V', 'I', 'C', 'E', '?', '?'}, 3, 200}};
  if (operation == TOperation::Set) {
    requests.push_back({0x60, 0, {0, 0, 0x25, 0x80, 7, 0x26, 0x12, 0x08}, 3, 1000});
    return requests;
  }
  requests.push_back({0x2B, 115200, {}, 1, 600});
  const bool program = operation == TOperation::Program;
  requests.push_back({0x2F, program ? 0u : 1u, {}, 3, 600});
  for (int block = 0; block < kBlocks; ++block) {
    const uint32_t address = (program ? 0u : 0x1000u) + 256u * static_cast<uint32_t>(block);
    requests.push_back({static_cast<uint16_t>(program ? 0x2E : 45), address,
                        TBytes(256, static_cast<uint8_t>(block + 1)), 3, 600});
  }
  if (program) requests.push_back({0x2F, 0xFFFFFFFFu, {}, 1, 600});
  else requests.push_back({0x2B, 9600, {}, 1, 600});
  return requests;
}

// How often each fault strikes one request sent (or its reply).
struct TFaultRates {
  double LostRequest = 0;
  double LostReply = 0;
  double Repeated = 0;  // the reply comes once more, up to 1.5 s later
  double Late = 0;      // the reply comes after the wait for it has ended
  double Noise = 0;     // a burst of stray bytes (a datagram of them on UDP)
  // Nothing the printer was asked or answered goes missing or garbled.
  bool LosesNothing() const { return LostRequest == 0 && LostReply == 0 && Late == 0 && Noise == 0; }
};

struct TCase {
  uint64_t Seed = 0;
  TShape Shape = TShape::Echo;
  TOperation Operation = TOperation::Set;
  bool Udp = false;
  bool StatusByte = false;  // every reply but identify's carries one data byte
  uint16_t FixedCommand = 0;
  uint32_t FixedArgument = 0;
  uint32_t OwnArgument = 0;
  TFaultRates Rates;

  std::string Describe() const {
    std::ostringstream text;
    text << "seed " << Seed << " (PRINTSET_REPLY_MODEL_SEED=" << Seed << " replays it): " << kOperationNames[static_cast<int>(Operation)]
         << (Udp ? " over UDP" : " over the serial line") << ", a printer whose replies "
         << kShapeNames[static_cast<int>(Shape)] << (StatusByte ? " with a status byte" : "") << "; faults: lost request "
         << Rates.LostRequest << ", lost reply " << Rates.LostReply << ", repeated " << Rates.Repeated << ", late "
         << Rates.Late << ", noise " << Rates.Noise;
    return text.str();
  }
};

TCase DrawCase(uint64_t seed) {
  std::mt19937_64 random(seed);
  auto pick = [&random](int count) { return static_cast<int>(random() % static_cast<uint64_t>(count)); };
  const double rates[] = {0, 0, 0.05, 0.2, 0.5};
  TCase drawn;
  drawn.Seed = seed;
  drawn.Shape = static_cast<TShape>(pick(5));
  drawn.Operation = static_cast<TOperation>(pick(3));
  drawn.Udp = pick(3) == 0;
  drawn.StatusByte = pick(4) == 0;
  const struct {
    uint16_t Command;
    uint32_t Argument;
  } fixed[] = {{0, 0}, {0x20, 0}, {0x2E, 0}, {0x2F, 0xFFFFFFFFu}, {0x99, 0x1234}};
  const int which = pick(5);
  drawn.FixedCommand = fixed[which].Command;
  drawn.FixedArgument = fixed[which].Argument;
  drawn.OwnArgument = pick(2) == 0 ? 0 : 0x55AA0000u;
  if (pick(3) == 0) {
    drawn.Rates.Repeated = rates[pick(5)];  // a printer that loses nothing
  } else {
    drawn.Rates = {rates[pick(5)], rates[pick(5)], rates[pick(5)], rates[pick(5)] / 2, rates[pick(5)] / 2};
  }
  return drawn;
}

// The printer and the line between it and the tool. Bytes on their way arrive at their
// time on the played clock; the receivers read them as from a port or a socket.
class TModelLine : public TTransport, public TByteSource, public TDatagramSource {
 public:
  TModelLine(const TCase& drawn, std::vector<TRequest> requests, TPlayedClock& clock)
      : Case(drawn), Asked(std::move(requests)), Clock(clock), Random(drawn.Seed ^ 0x9E3779B97F4A7C15ull),
        Received(Asked.size(), 0), Taken(Asked.size()) {}

  size_t Current = 0;  // the request the tool is sending now

  // The bytes the printer answers request `index` with.
  TBytes OwnReply(size_t index) const {
    const TRequest& request = Asked[index];
    uint16_t command = request.Command;
    uint32_t argument = request.Argument;
    switch (Case.Shape) {
      case TShape::Echo: break;
      case TShape::CommandOnly: argument = 0; break;
      case TShape::ArgumentOnly: command = 0; break;
      case TShape::Fixed: command = Case.FixedCommand; argument = Case.FixedArgument; break;
      case TShape::Own: command = static_cast<uint16_t>(request.Command ^ 0x80); argument = Case.OwnArgument | request.Command; break;
    }
    TBytes data;
    if (request.Command == 0x20) data = kIdentity;
    else if (Case.StatusByte) data = {0x00};
    TBytes packet;
    BuildPacket(kDirectionReply, command, argument, data.data(), data.size(), packet);
    return packet;
  }
  const std::vector<int>& TimesReceived() const { return Received; }
  // The reply packet taken for each request, rebuilt from its header and data.
  const std::vector<TBytes>& RepliesTaken() const { return Taken; }

  bool Open(TTraceLog&, std::string&) override { return true; }
  bool Send(const uint8_t*, int, std::string&) override {
    const TRequest& request = Asked[Current];
    if (Chance(Case.Rates.Noise)) {
      TBytes noise(1 + Draw(48));
      for (uint8_t& byte : noise) byte = static_cast<uint8_t>(Draw(256));
      Deliver(Clock.Now() + milliseconds(Draw(request.Ms)), noise);
    }
    if (Chance(Case.Rates.LostRequest)) return true;
    ++Received[Current];
    if (Chance(Case.Rates.LostReply)) return true;
    TTime at = Clock.Now() + milliseconds(1 + Draw(40));
    if (Chance(Case.Rates.Late)) at = Clock.Now() + milliseconds(request.Ms + 1 + Draw(400));
    const TBytes reply = OwnReply(Current);
    Deliver(at, reply);
    if (Chance(Case.Rates.Repeated)) Deliver(at + milliseconds(Draw(1500)), reply);
    return true;
  }
  int Receive(uint8_t* data, int capacity, uint32_t ms, TTraceLog& trace, const TReplyMatch& match,
              TReplySeen* seen) override {
    TReplySeen own;
    TReplySeen* record = seen ? seen : &own;
    const int result = Case.Udp ? ReceiveDatagramReply(*this, data, capacity, ms, trace, match, record)
                                : ReceiveSerialReply(*this, data, capacity, ms, trace, match, record);
    if (result >= 0)
      BuildPacket(kDirectionReply, record->Accepted.Command, record->Accepted.Argument, data,
                  static_cast<size_t>(result), Taken[Current]);
    return result;
  }
  int DiscardInput() override {
    ArriveUntil(Clock.Now());
    const size_t count = Stream.size() + Datagrams.size();  // bytes; datagrams counted once each
    Stream.clear();
    Datagrams.clear();
    return static_cast<int>(count);
  }
  int32_t BaudRate() const override { return 0; }
  bool SetBaudRate(int32_t) override { return true; }
  void Close(TTraceLog&) override {}

  // The serial port's read: what arrives within `ms`, short when time runs out.
  int Read(uint8_t* buffer, int count, uint32_t ms) override {
    const TTime deadline = Clock.Now() + milliseconds(ms);
    for (;;) {
      ArriveUntil(Clock.Now());
      if (static_cast<int>(Stream.size()) >= count) break;
      if (InFlight.empty() || InFlight.front().At > deadline) {
        Clock.AdvanceTo(deadline);
        ArriveUntil(deadline);
        break;
      }
      Clock.AdvanceTo(InFlight.front().At);
    }
    const int got = std::min(count, static_cast<int>(Stream.size()));
    std::copy(Stream.begin(), Stream.begin() + got, buffer);
    Stream.erase(Stream.begin(), Stream.begin() + got);
    return got;
  }
  // The socket's receive: the next datagram within `ms`.
  int Receive(uint8_t* buffer, size_t capacity, uint32_t ms) override {
    const TTime deadline = Clock.Now() + milliseconds(ms);
    ArriveUntil(Clock.Now());
    if (Datagrams.empty() && !InFlight.empty() && InFlight.front().At <= deadline) {
      Clock.AdvanceTo(InFlight.front().At);
      ArriveUntil(Clock.Now());
    }
    if (Datagrams.empty()) {
      Clock.AdvanceTo(deadline);
      return -1;
    }
    const TBytes datagram = Datagrams.front();
    Datagrams.erase(Datagrams.begin());
    std::copy(datagram.begin(), datagram.begin() + static_cast<long>(std::min(capacity, datagram.size())), buffer);
    return static_cast<int>(datagram.size());
  }
  const std::string& LastError() const override { return NoError; }

 private:
  struct TFlight {
    TTime At;
    uint64_t Order;
    TBytes Bytes;
  };

  bool Chance(double rate) { return std::uniform_real_distribution<double>(0, 1)(Random) < rate; }
  uint32_t Draw(uint32_t below) { return static_cast<uint32_t>(Random() % below); }
  void Deliver(TTime at, TBytes bytes) {
    TFlight flight{at, NextOrder++, std::move(bytes)};
    const auto place = std::upper_bound(InFlight.begin(), InFlight.end(), flight, [](const TFlight& a, const TFlight& b) {
      return a.At != b.At ? a.At < b.At : a.Order < b.Order;
    });
    InFlight.insert(place, std::move(flight));
  }
  void ArriveUntil(TTime now) {
    while (!InFlight.empty() && InFlight.front().At <= now) {
      TBytes& bytes = InFlight.front().Bytes;
      if (Case.Udp) Datagrams.push_back(bytes);
      else Stream.insert(Stream.end(), bytes.begin(), bytes.end());
      InFlight.erase(InFlight.begin());
    }
  }

  const TCase Case;
  const std::vector<TRequest> Asked;
  TPlayedClock& Clock;
  std::mt19937_64 Random;
  std::vector<TFlight> InFlight;
  uint64_t NextOrder = 0;
  TBytes Stream;
  std::vector<TBytes> Datagrams;
  std::vector<int> Received;
  std::vector<TBytes> Taken;
  const std::string NoError;
};

// Whether the printer's replies to `taken` and to `asked` are alike in every field the
// printer echoes, so that no receiver can tell which of the two requests a reply answers.
// The identity is its own: it answers identify and nothing else.
bool AlikeToThePrintersReplies(TShape shape, const TRequest& asked, const TRequest& taken) {
  const bool identity = asked.Command == 0x20 || taken.Command != 0x20;
  switch (shape) {
    case TShape::Echo: return asked.Command == taken.Command && asked.Argument == taken.Argument;
    case TShape::CommandOnly: return asked.Command == taken.Command;
    case TShape::ArgumentOnly: return asked.Argument == taken.Argument && identity;
    case TShape::Fixed:
    case TShape::Own: return identity;
  }
  return false;
}

struct TVerdict {
  bool Ok = false;
  std::string Violation;  // empty when the case holds
  bool Indistinguishable = false;
  std::vector<std::string> Trace;
};

TVerdict RunCase(const TCase& drawn) {
  const std::vector<TRequest> requests = Requests(drawn.Operation);
  TPlayedClock clock;
  const TTime started = clock.Now();
  TModelLine line(drawn, requests, clock);
  TTraceLog trace;
  TPacketLink link(line, trace);
  link.ForgetReplyShapes();

  TVerdict verdict;
  verdict.Ok = true;
  auto longest = milliseconds(0);
  for (size_t i = 0; i < requests.size(); ++i) {
    const TRequest& request = requests[i];
    line.Current = i;
    uint8_t buffer[4096] = {};
    std::copy(request.Data.begin(), request.Data.end(), buffer);
    longest += milliseconds((request.Attempts + 1) * request.Ms);
    if (link.Transact(request.Command, request.Argument, buffer, 4095, static_cast<int>(request.Data.size()),
                      request.Attempts, request.Ms) < 0) {
      verdict.Ok = false;
      break;
    }
  }
  verdict.Trace = trace.GetLines();
  if (clock.Now() - started > longest) verdict.Violation = "waited longer than the attempts and time limits allow";
  if (!verdict.Ok) {
    if (drawn.Rates.LosesNothing()) verdict.Violation = "a printer that lost nothing was not served to the end";
    return verdict;
  }
  for (size_t i = 0; i < requests.size() && verdict.Violation.empty(); ++i) {
    const TBytes& taken = line.RepliesTaken()[i];
    bool own = false;
    bool alike = false;
    for (size_t j = 0; j < requests.size(); ++j) {
      if (line.OwnReply(j) != taken) continue;
      if (j == i) own = own || line.TimesReceived()[i] > 0;
      else alike = alike || AlikeToThePrintersReplies(drawn.Shape, requests[i], requests[j]);
    }
    if (!own && !alike)
      verdict.Violation = "OK, but request " + std::to_string(i) + " was not answered by its own reply" +
                          (line.TimesReceived()[i] == 0 ? " (it never reached the printer)" : "");
    verdict.Indistinguishable = verdict.Indistinguishable || !own;
  }
  return verdict;
}

int CasesToRun() {
  const char* text = std::getenv("PRINTSET_REPLY_MODEL_CASES");
  return text ? std::max(1, std::atoi(text)) : kDefaultCases;
}

TEST(ReplyRuleModel, EveryOkHadEachRequestAnsweredByItsOwnReply) {
  std::vector<uint64_t> seeds;
  if (const char* one = std::getenv("PRINTSET_REPLY_MODEL_SEED")) {
    seeds.push_back(std::strtoull(one, nullptr, 0));
  } else {
    for (int i = 0; i < CasesToRun(); ++i) seeds.push_back(kFirstSeed + static_cast<uint64_t>(i));
  }
  int ok = 0;
  int indistinguishable = 0;
  int failed = 0;
  for (const uint64_t seed : seeds) {
    const TCase drawn = DrawCase(seed);
    const TVerdict verdict = RunCase(drawn);
    ok += verdict.Ok;
    indistinguishable += verdict.Indistinguishable;
    if (!verdict.Violation.empty()) {
      ++failed;
      if (failed <= 5) ADD_FAILURE() << verdict.Violation << "\n  " << drawn.Describe();
      if (seeds.size() == 1)
        for (const std::string& line : verdict.Trace) std::cout << line << "\n";
    }
  }
  std::cout << seeds.size() << " cases: " << ok << " ended OK (" << indistinguishable
            << " of them with a request answered by another's reply that the printer made alike), "
            << failed << " broke the rule\n";
  EXPECT_EQ(failed, 0);
}

}  // namespace
}  // namespace printset
