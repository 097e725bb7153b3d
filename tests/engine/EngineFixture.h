// A worker, an observer that records what the worker tells it, and a simulated printer.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "JobInputs.h"
#include "engine/CommThread.h"
#include "sim/SimPrinter.h"
#include "support/RecordingObserver.h"
#include "support/TempDir.h"
#include "support/TestFiles.h"

namespace printset {

class TEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Folder = Dir.Path() + "/";
    Observer.Folder = Folder;
    ASSERT_TRUE(Sim.StartPty()) << Sim.LastError();
    Inputs.Target.PortName = Sim.DevicePath();
    Thread = std::make_unique<TCommThread>(Observer);
  }
  void TearDown() override {
    Thread.reset();
    Sim.Stop();
  }

  // Runs one job to its end; the generous limit only guards against a hang.
  // `start` false: the job was started already, only its end is awaited.
  // The job is made from Inputs.
  uint8_t Run(uint8_t jobCode, bool start = true) {
    if (start) {
      EXPECT_TRUE(Thread->StartJob(Inputs.Make(jobCode)));
    }
    EXPECT_TRUE(Observer.WaitForFinished(++JobsRun)) << "job did not finish";
    return Observer.LastOutcome().ResultCode;
  }
  // The last finished job's outcome, as the worker handed it over.
  TJobOutcome Outcome() { return Observer.LastOutcome(); }
  TCommThreadProbe Probe() { return TCommThreadProbe(*Thread); }

  void UseUdp() {
    Sim.Stop();
    ASSERT_TRUE(Sim.StartUdp(0)) << Sim.LastError();
    Inputs.Target.PortName = "TCP/IP";
    Inputs.Target.Network.Host = "127.0.0.1";
    Inputs.Target.Network.Port = Sim.UdpPort();
  }

  std::string WriteFile(const std::string& name, const std::vector<uint8_t>& bytes) {
    WriteBytesFile(Folder + name, bytes);
    return Folder + name;
  }

  std::string ReadText(const std::string& name) { return ReadTextFile(Folder + name); }

  std::vector<uint16_t> Commands() {
    std::vector<uint16_t> commands;
    for (const auto& r : Sim.Requests()) commands.push_back(r.Command);
    return commands;
  }

  static std::vector<uint8_t> Pattern(size_t size, uint8_t seed = 1) { return PatternBytes(size, seed); }

  TTempDir Dir;
  TSimPrinter Sim;
  TRecordingObserver Observer;
  std::string Folder;
  TJobInputs Inputs;
  std::unique_ptr<TCommThread> Thread;
  size_t JobsRun = 0;
};

}  // namespace printset
