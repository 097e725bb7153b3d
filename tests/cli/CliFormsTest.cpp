// The forms the front end's arguments take, and its --json output, with printers on two
// pseudo-terminals and one on UDP named by its address.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "CliRun.h"
#include "engine/ParameterBlock.h"
#include "engine/Rack.h"
#include "engine/ResultCodes.h"
#include "report/ResultText.h"
#include "sim/SimPrinter.h"
#include "support/TempDir.h"
#include "support/TestFiles.h"

namespace printset {
namespace {

constexpr size_t kHelpWidth = 80;

class CliFormsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Folder = Dir.Path() + "/";
    for (size_t i = 0; i < 2; ++i) ASSERT_TRUE(Sims[i].StartPty()) << Sims[i].LastError();
    ASSERT_TRUE(Sims[2].StartUdp(0)) << Sims[2].LastError();
    Names = {Sims[0].DevicePath(), Sims[1].DevicePath(), "TCP/IP:127.0.0.1:" + std::to_string(Sims[2].UdpPort())};
  }

  // {A}, {B}, {C}: the printers' port names; {A2}: A's device with a doubled separator;
  // {P}: C's UDP port; {F}: the folder, with its separator.
  std::string Expand(std::string text) const {
    const std::string doubled = "/dev//" + Names[0].substr(std::string("/dev/").size());
    const std::map<std::string, std::string> words = {{"{A}", Names[0]},  {"{B}", Names[1]},
                                                      {"{C}", Names[2]},  {"{A2}", doubled},
                                                      {"{P}", std::to_string(Sims[2].UdpPort())}, {"{F}", Folder}};
    for (const auto& [word, value] : words)
      for (size_t at = text.find(word); at != std::string::npos; at = text.find(word, at + value.size()))
        text.replace(at, word.size(), value);
    return text;
  }
  TRun Cli(const std::string& arguments, bool withStderr = true) {
    return RunCli("--folder " + Folder + " " + Expand(arguments), withStderr);
  }

  TTempDir Dir;
  std::string Folder;
  TSimPrinter Sims[3];
  std::vector<std::string> Names;
};

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

TEST_F(CliFormsTest, ArgumentFormsAndPortLists) {
  WriteTextFile(Folder + "rack.txt", Expand("# the bench\n\n  {A}  \n{B}\n"));
  WriteTextFile(Folder + "empty.txt", "# nothing\n\n");
  WriteTextFile(Folder + "config.ini", Expand("[PORTS]\nCOM5={A}\n"));
  std::filesystem::create_symlink(Names[0], Folder + "link");
  enum : unsigned { A = 1, B = 2, C = 4 };
  struct TRow {
    std::string Arguments;
    int Status;
    unsigned Receivers;  // the printers that must get the parameter block with Digits
    std::string Digits;
    std::string Said;  // found in the output; "" when nothing at all may be said
  };
  const TRow rows[] = {
      {"--port {A} set --string 111111", 0, A, "111111", "OK\n"},
      {"set --string=222222 --port={A}", 0, A, "222222", "OK\n"},
      {"set --port {A} --baud=9600 --string 333333", 0, A, "333333", "OK\n"},
      {"--port {A} set --port {B} --string 444444", 0, A | B, "444444", "Summary: 2 of 2 printers OK, 0 failed"},
      {"--ports {F}rack.txt set --string 555555", 0, A | B, "555555", "Summary: 2 of 2 printers OK, 0 failed"},
      {"--port {C} --ports={F}rack.txt set --string 666666", 0, A | B | C, "666666", "Summary: 3 of 3 printers OK"},
      {"--port {C} set --string 777777", 0, C, "777777", "OK\n"},
      // Over UDP no rate is found that the printer could keep.
      {"--port {A} --port {C} --baud auto set", 64, 0, "", "over UDP ({C}) needs --new-baud"},
      {"--quiet --port {A} set --string 121212", 0, A, "121212", ""},
      {"set -q --port {A} --port {B} --string 131313", 0, A | B, "131313", ""},
      {"--quiet --port {F}none set", 1, 0, "", "ERROR: the port could not be opened (result code 1)\n"},
      {"-q --port {A} --port {F}none set --string 141414", 11, A, "141414", "{F}none: ERROR ("},
      {"--port {A} --port {A} set", 64, 0, "", "the port {A} is given twice"},
      {"--port {A} --ports {F}rack.txt set", 64, 0, "", "the port {A} is given twice"},
      {"--ports {F}missing.txt set", 65, 0, "", "missing.txt: No such file or directory"},
      {"--ports {F}empty.txt set", 64, 0, "", "names no port"},
      {"--port TCP/IP:127.0.0.1:70000 set", 64, 0, "", "a port from 1 to 65535"},
      {"--port 'TCP/IP:127.0.0.1 :{P}' set", 64, 0, "", "a blank or a control character in its host"},
      // One printer in two spellings: every worker would talk to it at once.
      {"--port {C} --port TCP/IP:localhost:{P} set", 64, 0, "",
       "the ports {C} and TCP/IP:localhost:{P} name the same printer"},
      {"--port TCP/IP:127.0.0.1 --port TCP/IP:127.0.0.1:9100 set", 64, 0, "",
       "the ports TCP/IP:127.0.0.1 and TCP/IP:127.0.0.1:9100 name the same printer"},
      {"--port {A} --port {F}link set", 64, 0, "", "the ports {A} and {F}link name the same printer"},
      {"--port {F}link --port {B} --port {A2} set", 64, 0, "", "the ports {F}link and {A2} name the same printer"},
      {"--port com5 --ports {F}rack.txt set", 64, 0, "", "the ports com5 and {A} name the same printer"},
      {"--port {A} set --codepage X --codepage-value 1", 64, 0, "", "--codepage excludes --codepage-value"},
      {"--port {A} set --frob", 64, 0, "", "unknown option --frob"},
      {"frobnicate", 64, 0, "", "unknown verb frobnicate"},
      {"--port {A} sett", 64, 0, "", "unknown verb sett"},
      {"--port {A} set 12", 64, 0, "", "set: unexpected argument 12"},
      {"--port {A} --baud", 64, 0, "", "--baud"},
      {"", 64, 0, "", "no verb given"},
      {"--port {A}", 64, 0, "", "no verb given"},
      {"--port {A} logo", 64, 0, "", "logo takes 'pack', 'download' or 'show'"},
      {"--help", 0, 0, "", "Usage: printset-cli [OPTIONS] VERB [ARGS]\n"},
      {"set --help", 0, 0, "", "Usage: printset-cli set [OPTIONS]\n"},
      {"--port {A} program --help", 0, 0, "", "Usage: printset-cli program [OPTIONS] IMAGE\n"},
      {"download --help", 0, 0, "", "Usage: printset-cli download [OPTIONS] FILE...\n"},
      {"logo --help", 0, 0, "", "Usage: printset-cli logo [OPTIONS] VERB [ARGS]\n"},
      {"logo pack --help", 0, 0, "", "Usage: printset-cli logo pack [OPTIONS] {PICTURE...|--allow-empty}\n"},
      {"logo download -h", 0, 0, "", "Usage: printset-cli logo download [OPTIONS] {PICTURE...|--allow-empty}\n"},
      {"logo show --help", 0, 0, "", "Usage: printset-cli logo show [OPTIONS] FILE\n"},
      {"ports --help", 0, 0, "", "Usage: printset-cli ports [OPTIONS]\n"},
      {"paths --help", 0, 0, "", "Usage: printset-cli paths [OPTIONS]\n"},
      {"codepages --help", 0, 0, "", "Usage: printset-cli codepages [OPTIONS]\n"},
      {"--port {A} program", 64, 0, "", "IMAGE is required"},
      {"--port {A} download", 64, 0, "", "FILE is required"},
      {"--version", 0, 0, "", "printset-cli "},
      {"paths", 0, 0, "", "settings  {F}config.ini\n"},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Arguments);
    for (TSimPrinter& sim : Sims) sim.ClearRecords();
    const TRun run = Cli(row.Arguments);
    EXPECT_EQ(run.Status, row.Status) << run.Output;
    const std::string said = Expand(row.Said);
    if (said.empty()) EXPECT_EQ(run.Output, "");
    else EXPECT_NE(run.Output.find(said), std::string::npos) << run.Output;
    if (said.rfind("Usage:", 0) == 0) {
      // help2man reads the synopsis from the first line.
      EXPECT_EQ(run.Output.rfind(said, 0), 0u) << run.Output;
      for (const std::string& line : Lines(run.Output)) EXPECT_LE(line.size(), kHelpWidth) << line;
    }
    const TParameterBlock block = BuildParameterBlock("9600", 0, row.Digits);
    for (size_t i = 0; i < 3; ++i) {
      if (row.Receivers & (1u << i))
        EXPECT_EQ(Sims[i].ParameterBlock(), std::vector<uint8_t>(block.begin(), block.end())) << Names[i];
      else
        EXPECT_EQ(Sims[i].RequestCount(), 0u) << Names[i];
    }
  }
}

TEST_F(CliFormsTest, JsonIsOneObjectPerPrinter) {
  const TRun one = Cli("--json --port {A} set", false);
  EXPECT_EQ(one.Status, 0);
  ASSERT_EQ(Lines(one.Output).size(), 1u) << one.Output;
  const nlohmann::json single = nlohmann::json::parse(one.Output);
  EXPECT_EQ(single["port"], Names[0]);
  EXPECT_EQ(single["operation"], "set");
  EXPECT_EQ(single["result"], 0);
  EXPECT_EQ(single["meaning"], ResultCodeMeaning(kResultOk));
  EXPECT_EQ(single["reason"], "");
  EXPECT_EQ(single["bytes"], 8);
  EXPECT_GE(single["seconds"].get<double>(), 0.0);
  EXPECT_EQ(single["identity"], kSimDefaultIdentity);
  EXPECT_EQ(single["identity_hex"], "50524E2037343031");
  EXPECT_EQ(single["trace"], Folder + "debug.log");
  EXPECT_EQ(single["schema"], 1);
  EXPECT_EQ(single["baud"], 9600);

  // Quote, backslash, a control character and a byte that is no UTF-8: the text escapes
  // the backslash and the bytes outside printable ASCII as \xNN, the hex holds them all;
  // both are null where nothing answered.
  Sims[1].SetIdentity(std::string("Q\"\\\x01\xFFxyz", 8));
  Sims[2].SetNoReply(kSimCommandIdentify);
  const TRun rack = Cli("--port {A} --port {B} --port {C} set --json", false);
  EXPECT_EQ(rack.Status, 11);
  const std::vector<std::string> lines = Lines(rack.Output);
  ASSERT_EQ(lines.size(), 4u) << rack.Output;
  std::map<std::string, nlohmann::json> byPort;
  for (size_t i = 0; i + 1 < lines.size(); ++i) {
    const nlohmann::json object = nlohmann::json::parse(lines[i]);
    byPort[object["port"].get<std::string>()] = object;
  }
  // The last line sums the rack up: the failed ports in the order given.
  nlohmann::json summary = nlohmann::json::parse(lines.back());
  // The run's id, as the station record names it.
  ASSERT_TRUE(summary["run"].is_string()) << summary;
  summary.erase("run");
  EXPECT_EQ(summary, nlohmann::json::parse(Expand(std::string(R"({"schema":1,"operation":"summary","verb":"set","total":3,"ok":1,
      "failed":2,"cancelled":false,"failed_ports":[{"port":"{B}","result":5,"meaning":")") +
      ResultCodeMeaning(kResultIdentityRejected) + R"("},{"port":"{C}","result":3,"meaning":")" +
      ResultCodeMeaning(kResultNoValidReply) + R"("}],"firmware_incomplete":[]})")));
  struct TExpected {
    int Result;
    nlohmann::json Identity;
    nlohmann::json IdentityHex;
    nlohmann::json Baud;  // none over UDP
  };
  const TExpected expected[] = {{kResultOk, kSimDefaultIdentity, "50524E2037343031", 9600},
                                {kResultIdentityRejected, "Q\"\\x5C\\x01\\xFFxyz", "51225C01FF78797A", 9600},
                                {kResultNoValidReply, nullptr, nullptr, nullptr}};
  for (size_t i = 0; i < 3; ++i) {
    SCOPED_TRACE(Names[i]);
    ASSERT_EQ(byPort.count(Names[i]), 1u) << rack.Output;
    const nlohmann::json& object = byPort[Names[i]];
    EXPECT_EQ(object["operation"], "set");
    EXPECT_EQ(object["result"], expected[i].Result);
    EXPECT_EQ(object["meaning"], ResultCodeMeaning(static_cast<uint8_t>(expected[i].Result)));
    const std::string reason = object["reason"];
    if (expected[i].Result == kResultOk) EXPECT_EQ(reason, "");
    else EXPECT_NE(reason.find("(result code " + std::to_string(expected[i].Result) + ")"), std::string::npos);
    // What the printer acknowledged, of the 8 bytes the operation carries.
    EXPECT_EQ(object["bytes"], expected[i].Result == kResultOk ? 8 : 0);
    EXPECT_EQ(object["size"], 8);
    EXPECT_EQ(object["firmware_incomplete"], false);
    EXPECT_EQ(object["identity"], expected[i].Identity);
    EXPECT_EQ(object["identity_hex"], expected[i].IdentityHex);
    EXPECT_EQ(object["baud"], expected[i].Baud);
    EXPECT_EQ(object["schema"], 1);
    const std::string trace = object["trace"];
    EXPECT_EQ(trace, Folder + RackTraceFileName(Names[i]));
    EXPECT_EQ(ReadTextFile(trace).rfind("OPEN " + Names[i], 0), 0u) << "the trace of another printer";
  }
}

// --baud auto without --new-baud: each printer is sent the rate it was found at, so a
// rack at mixed rates keeps its rates; -v shows each trace line behind its port.
TEST_F(CliFormsTest, SetBaudAutoKeepsEachPrintersRate) {
  const int32_t rates[] = {19200, 4800};
  for (size_t i = 0; i < 2; ++i) Sims[i].SetListeningRate(rates[i]);
  const TRun run = Cli("-v --baud auto --port {A} --port {B} --json set --string 161616");
  EXPECT_EQ(run.Status, 0) << run.Output;
  for (size_t i = 0; i < 2; ++i) {
    SCOPED_TRACE(Names[i]);
    const TParameterBlock block = BuildParameterBlock(std::to_string(rates[i]), 0, "161616");
    EXPECT_EQ(Sims[i].ParameterBlock(), std::vector<uint8_t>(block.begin(), block.end()));
    const std::string search = "\n" + Names[i] + ": SEARCH " + std::to_string(rates[i]) + " baud";
    EXPECT_NE(("\n" + run.Output).find(search), std::string::npos) << run.Output;
    EXPECT_NE(run.Output.find("\"baud\":" + std::to_string(rates[i])), std::string::npos) << run.Output;
  }
  // --new-baud still decides the rate for every printer.
  for (TSimPrinter& sim : Sims) sim.ClearRecords();
  const TRun moved = Cli("--baud auto --port {A} --port {B} set --new-baud 57600 --string 171717", false);
  EXPECT_EQ(moved.Status, 0) << moved.Output;
  const TParameterBlock block = BuildParameterBlock("57600", 0, "171717");
  for (size_t i = 0; i < 2; ++i)
    EXPECT_EQ(Sims[i].ParameterBlock(), std::vector<uint8_t>(block.begin(), block.end())) << Names[i];
}

}  // namespace
}  // namespace printset
