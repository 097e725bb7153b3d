// A printer that leaves one request unanswered, in each job: how often the request is
// tried, that nothing is sent after it, the result code and the trace of the tries.
#include <algorithm>

#include "EngineFixture.h"
#include "engine/ParameterBlock.h"

namespace printset {
namespace {

// Requests as command and argument, in order: 0x20 identify, 0x2B baud switch, 0x2F mode,
// 0x2E firmware block, 0x60 parameters, 45 download block.
using TRequests = std::vector<std::pair<uint16_t, uint32_t>>;

struct TUnansweredRow {
  const char* Name;
  uint8_t Job;
  uint16_t Silent;       // the command the printer leaves unanswered
  uint16_t SilentAfter;  // ... once it has seen this command; 0: from the start
  uint8_t Expected;
  TRequests Requests;    // the last ones the unanswered tries
  int Tries;
};

void PrintTo(const TUnansweredRow& row, std::ostream* out) { *out << row.Name; }

const TUnansweredRow kUnansweredRows[] = {
    {"IdentifyTriedThreeTimes", JobSetParameters, 0x20, 0, kResultNoValidReply, {{0x20, 0}, {0x20, 0}, {0x20, 0}}, 3},
    {"ParametersTriedThreeTimes", JobSetParameters, 0x60, 0, kResultNoValidReply,
     {{0x20, 0}, {0x60, 0}, {0x60, 0}, {0x60, 0}}, 3},
    // No switch back, no later block or entry.
    {"DownloadBlockStopsEverythingAfterIt", JobDownloadFiles, 45, 0, kResultNoValidReply,
     {{0x20, 0}, {0x2B, 115200}, {0x2F, 1}, {45, 0}, {45, 0}, {45, 0}}, 3},
    {"DownloadModeRefused", JobDownloadFiles, 0x2F, 0, kResultDownloadModeRefused,
     {{0x20, 0}, {0x2B, 115200}, {0x2F, 1}, {0x2F, 1}, {0x2F, 1}}, 3},
    // The end of programming is never asked for.
    {"FirmwareBlockStopsBeforeTheEndOfProgramming", JobProgramFirmware, 0x2E, 0, kResultNoValidReply,
     {{0x20, 0}, {0x2B, 115200}, {0x2F, 0}, {0x2E, 0}, {0x2E, 0}, {0x2E, 0}}, 3},
    {"ProgrammingModeRefused", JobProgramFirmware, 0x2F, 0, kResultProgramModeRefused,
     {{0x20, 0}, {0x2B, 115200}, {0x2F, 0}, {0x2F, 0}, {0x2F, 0}}, 3},
    {"EndOfProgrammingUnanswered", JobProgramFirmware, 0x2F, 0x2E, kResultNoValidReply,
     {{0x20, 0}, {0x2B, 115200}, {0x2F, 0}, {0x2E, 0}, {0x2E, 256}, {0x2E, 512}, {0x2E, 768}, {0x2F, 0xFFFFFFFFu}}, 1},
};

class UnansweredRequest : public TEngineTest, public ::testing::WithParamInterface<TUnansweredRow> {};

TEST_P(UnansweredRequest, IsTriedItsTimesAndNothingIsSentAfterIt) {
  const TUnansweredRow& row = GetParam();
  const auto block = BuildParameterBlock("  9600", 0, "123456");
  Inputs.Block.assign(block.begin(), block.end());
  Inputs.Image = ValidFirmwareImage(1024);
  Inputs.AddDownload(WriteFile("a.bin", Pattern(600)), "a.bin", 45, 0u);
  Inputs.AddDownload(WriteFile("b.bin", Pattern(10)), "b.bin", 46, 0u);
  Sim.OnRequest([&](const TSimRequest& request, const std::string&) {
    if (request.Command == row.SilentAfter) Sim.SetNoReply(row.Silent);
  });
  if (row.SilentAfter == 0) Sim.SetNoReply(row.Silent);
  EXPECT_EQ(Run(row.Job), row.Expected);

  TRequests requests;
  for (const auto& r : Sim.Requests()) requests.emplace_back(r.Command, r.Argument);
  EXPECT_EQ(requests, row.Requests);
  // One send line per request, an empty receive line per unanswered try, CLOSE last.
  const auto lines = Probe().TraceLines();
  const auto starting = [&](const char* text) {
    return std::count_if(lines.begin(), lines.end(), [&](const std::string& line) { return line.rfind(text, 0) == 0; });
  };
  EXPECT_EQ(starting("Send "), static_cast<long>(row.Requests.size()));
  EXPECT_EQ(starting("Rec: 0 bytes"), row.Tries);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.back().rfind("CLOSE  ", 0), 0u) << lines.back();
}

INSTANTIATE_TEST_SUITE_P(Rows, UnansweredRequest, ::testing::ValuesIn(kUnansweredRows),
                         [](const auto& info) { return std::string(info.param.Name); });

}  // namespace
}  // namespace printset
