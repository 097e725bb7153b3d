// A worker, a host that records what the worker tells it, and a simulated printer.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

#include "engine/CommThread.h"
#include "sim/SimPrinter.h"
#include "support/TempDir.h"
#include "support/TestFiles.h"

namespace printset {

struct TPosted {
  uint32_t Message;
  int32_t WParam;
  int32_t LParam;
};

class TRecordingHost : public TJobHost {
 public:
  std::string PortNameValue;
  int32_t BaudValue = 9600;
  std::string Folder;
  TUdpEndpoint Udp;

  std::string PortName() override { return PortNameValue; }
  int32_t PortBaudRate() override { return BaudValue; }
  std::string ProgramFolder() override { return Folder; }
  TUdpEndpoint& UdpClient() override { return Udp; }
  void PostMessage(uint32_t message, int32_t wParam, int32_t lParam) override {
    {
      std::lock_guard<std::mutex> lock(Mutex);
      Posted.push_back({message, wParam, lParam});
    }
    Arrived.notify_all();
  }
  // The finish message follows the JobDone signal; waits until `count` have arrived.
  bool WaitForFinished(size_t count) {
    std::unique_lock<std::mutex> lock(Mutex);
    return Arrived.wait_for(lock, std::chrono::seconds(60), [&] {
      size_t finished = 0;
      for (const auto& p : Posted) finished += p.Message == kMessageJobFinished;
      return finished >= count;
    });
  }
  void ShowStatusText(const std::string& text) override {
    std::lock_guard<std::mutex> lock(Mutex);
    StatusTexts.push_back(text);
  }
  std::vector<TPosted> PostedMessages() {
    std::lock_guard<std::mutex> lock(Mutex);
    return Posted;
  }
  std::vector<TPosted> Progress() {
    std::vector<TPosted> progress;
    for (const auto& p : PostedMessages())
      if (p.Message == kMessageProgress) progress.push_back(p);
    return progress;
  }
  std::vector<std::string> Statuses() {
    std::lock_guard<std::mutex> lock(Mutex);
    return StatusTexts;
  }

 private:
  std::mutex Mutex;
  std::condition_variable Arrived;
  std::vector<TPosted> Posted;
  std::vector<std::string> StatusTexts;
};

class TEngineTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Folder = Dir.Path() + "/";
    Host.Folder = Folder;
    ASSERT_TRUE(Sim.StartPty()) << Sim.LastError();
    Host.PortNameValue = Sim.DevicePath();
    Thread = std::make_unique<TCommThread>(Host);
  }
  void TearDown() override {
    Thread.reset();
    Sim.Stop();
  }

  // Runs one job to its end; the generous limit only guards against a hang.
  // `start` false: the job was started already, only its end is awaited.
  uint8_t Run(uint8_t jobCode, bool start = true) {
    if (start) {
      EXPECT_TRUE(Thread->StartJob(jobCode));
    }
    EXPECT_TRUE(Thread->JobDone.Wait(60000)) << "job did not finish";
    EXPECT_TRUE(Host.WaitForFinished(++JobsRun));
    return Thread->ResultCode;
  }

  void UseUdp() {
    Sim.Stop();
    ASSERT_TRUE(Sim.StartUdp(0)) << Sim.LastError();
    Host.PortNameValue = "TCP/IP";
    Host.Udp.Host = "127.0.0.1";
    Host.Udp.Port = Sim.UdpPort();
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
  TRecordingHost Host;
  std::string Folder;
  std::unique_ptr<TCommThread> Thread;
  size_t JobsRun = 0;
};

}  // namespace printset
