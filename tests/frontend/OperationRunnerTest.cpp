// The operation runner with a view and a dispatcher of the test's own and the simulated
// printer as its peer: what is shown, in which order, and on which thread.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <fstream>
#include <functional>
#include <future>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "RecordingView.h"
#include "frontend/Json.h"
#include "frontend/OperationRunner.h"
#include "frontend/SetRequest.h"
#include "sim/SimPrinter.h"
#include "support/TempDir.h"

namespace printset {
namespace {

// The owner's thread is the test's: posted calls wait in a queue until the test runs them.
class TQueueDispatcher final : public TJobDispatcher {
 public:
  void Post(std::function<void()> call) override {
    {
      std::lock_guard<std::mutex> lock(Mutex);
      Calls.push_back(std::move(call));
    }
    Changed.notify_all();
  }
  // Runs posted calls on this thread until `done` holds; false when nothing more came
  // for a minute (a safety bound, not a timing).
  bool RunUntil(const std::function<bool()>& done) {
    while (!done()) {
      std::function<void()> call;
      {
        std::unique_lock<std::mutex> lock(Mutex);
        if (!Changed.wait_for(lock, std::chrono::seconds(60), [this] { return !Calls.empty(); })) return false;
        call = std::move(Calls.front());
        Calls.pop_front();
      }
      call();
    }
    return true;
  }
  size_t Pending() {
    std::lock_guard<std::mutex> lock(Mutex);
    return Calls.size();
  }

 private:
  std::mutex Mutex;
  std::condition_variable Changed;
  std::deque<std::function<void()>> Calls;
};

TRequest SetOperation(int32_t newRate) {
  TSetInput input;
  input.FrontEnd = TReasonFrontEnd::Window;
  input.NewRateText = std::to_string(newRate);
  input.NewRateField = TRateField::WindowBox;
  input.CodePageEntry = -1;
  input.String = "123456";
  const TChecked<TRequest> request = SetRequest(input, {}, "config.ini");
  EXPECT_TRUE(request.Ok());
  return *request;
}

// The operations runs.jsonl holds, in order, and the ports they were run on.
std::vector<std::string> RecordedRuns(const std::string& folder) {
  std::vector<std::string> runs;
  std::ifstream in(folder + kRunsFileName);
  for (std::string line; std::getline(in, line);) {
    const TJson record = TJson::parse(line);
    runs.push_back(record["operation"].get<std::string>() + " " + record["port"].get<std::string>() + " " +
                   std::to_string(record["result"].get<int>()));
  }
  return runs;
}

class OperationRunner : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(Sim.StartPty()) << Sim.LastError(); }

  // Starts `operation` and shows what the runner showed once it is idle again.
  std::vector<std::string> Run(const TRequest& operation, const std::string& port, int32_t rate) {
    View.Seen.clear();
    EXPECT_TRUE(Runner.Start(operation, port, rate));
    EXPECT_TRUE(Runner.Busy());
    EXPECT_TRUE(Dispatcher.RunUntil([this] { return !Runner.Busy(); }));
    EXPECT_FALSE(View.OffThread);
    return View.Seen;
  }

  TTempDir Dir;
  TSimPrinter Sim;
  TQueueDispatcher Dispatcher;
  TRecordingView View{std::this_thread::get_id()};
  TOperationRunner Runner{View, Dispatcher, Dir.Path() + "/"};
};

TEST_F(OperationRunner, ShowsTheOutcomeOnTheOwnersThread) {
  const std::string serialHint =
      "no valid reply from the printer (result code 3)\nno printer answered on " + Sim.DevicePath() +
      ": check that it is switched on, its cable, the port and the baud rate (Search other rates tries every rate)";
  const std::string askError = "ask ERROR [Search other rates] | " + serialHint;
  TSimPrinter network;
  ASSERT_TRUE(network.StartUdp(0)) << network.LastError();
  network.SetNoReply(kSimCommandIdentify);
  const std::string udpPort = "TCP/IP:127.0.0.1:" + std::to_string(network.UdpPort());
  struct TRow {
    const char* What;
    int32_t Listening;  // the simulated printer's rate
    std::string Port;
    int32_t NewRate;
    std::deque<bool> Choices;
    std::vector<std::string> Seen;
    int32_t ListensAfter;  // where the printer listens once it is over
  };
  const std::vector<TRow> rows = {
      {"SET at the link's rate", 9600, " " + Sim.DevicePath() + " ", 9600, {}, {"busy", "idle", "sound ok.wav", "message OK"}, 9600},
      {"SET moves the printer and the link box", 9600, Sim.DevicePath(), 115200, {},
       {"busy", "idle", "sound ok.wav", "rate 115200",
        "message OK | The printer now listens at 115200 baud; the BAUD RATE box at the top is set to it."},
       115200},
      {"no answer, the search declined", 38400, Sim.DevicePath(), 9600, {false},
       {"busy", "idle", "sound error.wav", askError}, 38400},
      {"no answer, the search finds the printer", 38400, Sim.DevicePath(), 9600, {true},
       {"busy", "idle", "sound error.wav", askError, "busy", "idle", "sound ok.wav", "rate 38400",
        "message Printer found at 38400 baud | The BAUD RATE box at the top is set to it: press the button again."},
       38400},
      {"no answer over UDP: no search offered", kSimAnyRate, udpPort, 9600, {true},
       {"busy", "idle", "sound error.wav",
        "message ERROR | no valid reply from the printer (result code 3)\nno printer answered at " + udpPort +
            ": check the printer's address, that it is switched on, and the network"},
       kSimAnyRate},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.What);
    Sim.ClearRecords();
    Sim.SetListeningRate(row.Listening);
    View.Choices = row.Choices;
    EXPECT_EQ(Run(SetOperation(row.NewRate), row.Port, 9600), row.Seen);
    EXPECT_EQ(Sim.ListeningRate(), row.ListensAfter);
    // The search sends identify requests only: SET is the operator's to press again.
    if (row.Choices.size() == 1 && row.Choices.front() && row.Port == Sim.DevicePath()) {
      for (const TSimRequest& request : Sim.Requests()) EXPECT_EQ(request.Command, kSimCommandIdentify);
    }
  }
  EXPECT_EQ(Dispatcher.Pending(), 0u);
  // Every run is in the station record, the search as a run of its own.
  const std::string port = Sim.DevicePath();
  EXPECT_EQ(RecordedRuns(Dir.Path() + "/"),
            (std::vector<std::string>{"set " + port + " 0", "set " + port + " 0", "set " + port + " 3",
                                      "set " + port + " 3", "detect " + port + " 0", "set " + udpPort + " 3"}));
}

// [PORTS] names the device behind COM3, [NETWORK] the printer behind "TCP/IP"; blanks
// around a typed port name are no part of it.
TEST_F(OperationRunner, TheLinkSettingsNameThePrinter) {
  TSimPrinter network;
  ASSERT_TRUE(network.StartUdp(0)) << network.LastError();
  Runner.SetSettings({{{"COM3", Sim.DevicePath()}}, "127.0.0.1", network.UdpPort()}, kDefaultKeptRuns);
  const std::vector<std::string> ok = {"busy", "idle", "sound ok.wav", "message OK"};
  EXPECT_EQ(Run(SetOperation(9600), " COM3", 9600), ok);
  EXPECT_EQ(Sim.ParameterBlock().size(), 8u);
  EXPECT_EQ(Run(SetOperation(9600), "TCP/IP ", 9600), ok);
  EXPECT_EQ(network.ParameterBlock().size(), 8u);
  // The station record names each port as it was used: without its blanks.
  EXPECT_EQ(RecordedRuns(Dir.Path() + "/"), (std::vector<std::string>{"set COM3 0", "set TCP/IP 0"}));
}

TEST_F(OperationRunner, OneOperationAtATime) {
  // The printer holds its answer until the test has tried a second start.
  Sim.Stop();
  std::promise<void> tried;
  std::shared_future<void> released = tried.get_future().share();
  Sim.OnRequest([released](const TSimRequest&, const std::string&) { released.wait_for(std::chrono::seconds(60)); });
  ASSERT_TRUE(Sim.StartPty()) << Sim.LastError();

  ASSERT_TRUE(Runner.Start(SetOperation(9600), Sim.DevicePath(), 9600));
  EXPECT_FALSE(Runner.Start(SetOperation(19200), Sim.DevicePath(), 9600));
  tried.set_value();
  // Still busy after the worker ended, until its outcome has been shown on this thread.
  ASSERT_TRUE(Sim.WaitForRequests(2, 60000));
  EXPECT_TRUE(Runner.Busy());
  ASSERT_TRUE(Dispatcher.RunUntil([this] { return !Runner.Busy(); }));
  EXPECT_EQ(View.Seen, (std::vector<std::string>{"busy", "idle", "sound ok.wav", "message OK"}));
  EXPECT_EQ(Sim.ParameterBlock()[3], 0x80) << "the first SET's block, 9600";
}

TEST_F(OperationRunner, WhatIsStillPostedWhenTheRunnerGoesIsNeverShown) {
  {
    TOperationRunner runner(View, Dispatcher, Dir.Path() + "/");
    ASSERT_TRUE(runner.Start(SetOperation(9600), Sim.DevicePath(), 9600));
    ASSERT_TRUE(Sim.WaitForRequests(1, 60000));
  }
  View.Seen.clear();
  EXPECT_GE(Dispatcher.Pending(), 1u) << "the worker's Finished call";
  EXPECT_TRUE(Dispatcher.RunUntil([this] { return Dispatcher.Pending() == 0; }));
  EXPECT_TRUE(View.Seen.empty());
}

}  // namespace
}  // namespace printset
