// TMyUart on a real line (a pty; under Wine a COM port mapped to one): exclusive opening,
// the three endings of a read, closed-port behaviour and baud rates as the far end sees them.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "support/PtyPair.h"
#include "link/UniUart.h"

namespace printset {
namespace {

TEST(UniUartOpen, ASecondOpenOfTheSamePortIsRefused) {
  TPtyPair pty;
  TMyUart first;
  ASSERT_TRUE(first.Open(pty.SlavePath(), 9600)) << first.LastError();
  TMyUart second;
  EXPECT_FALSE(second.Open(pty.SlavePath(), 9600));
  EXPECT_FALSE(second.IsOpen());
  EXPECT_FALSE(second.LastError().empty());
  first.Close();
  EXPECT_TRUE(second.Open(pty.SlavePath(), 9600)) << second.LastError();
  EXPECT_TRUE(second.LastError().empty());
}

TEST(UniUartWriteLimit, ALineSomewhatSlowerThanItsRateStillFinishesAndAStalledOneIsFound) {
  TMyUart port;  // 8N1: ten bits a byte
  for (const int32_t rate : {4800, 9600, 115200}) {
    ASSERT_TRUE(port.SetBaudRate(rate));  // closed: only stored
    for (const int count : {12, 268}) {  // the jobs' smallest and largest packets
      const int64_t wireMs = int64_t{count} * 10 * 1000 / rate;
      const int64_t limit = port.WriteTimeoutMs(count);
      EXPECT_GT(limit, wireMs * 11 / 10 + 1) << "10 % slow at " << rate << " for " << count << " bytes";
      EXPECT_LT(limit, wireMs * 2 + 2000) << "a stalled line waits too long";
    }
  }
}

class UniUartRead : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(Port.Open(Pty.SlavePath(), 9600)) << Port.LastError(); }
  TPtyPair Pty;
  TMyUart Port;
  uint8_t Buffer[128] = {};
};

TEST_F(UniUartRead, EndsWhenTheCountHasArrived) {
  Pty.WriteToHost({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
  EXPECT_EQ(Port.Read(Buffer, 10, 2000), 10);
  EXPECT_EQ(Buffer[9], 10);
  EXPECT_EQ(Port.Read(Buffer, 10, 2000), 2);
  EXPECT_EQ(Buffer[0], 11);
}

TEST_F(UniUartRead, EndsAtTheTotalLimitWithWhatCameNotAFailure) {
  EXPECT_EQ(Port.Read(Buffer, 10, 150), 0);
  // Bytes trickling in faster than the gap limit keep the read going until its total
  // limit, which falls long before the last of them.
  std::thread trickle([&] {
    for (int i = 0; i < 100; ++i) {
      Pty.WriteToHost({static_cast<uint8_t>(i)});
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  });
  const int got = Port.Read(Buffer, 100, 300);
  trickle.join();
  EXPECT_GT(got, 1);
  EXPECT_LT(got, 100);
}

TEST_F(UniUartRead, EndsAtAGapBetweenBytes) {
  std::thread peer([&] {
    Pty.WriteToHost({1, 2, 3});
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    Pty.WriteToHost({4, 5, 6, 7, 8, 9, 10});
  });
  EXPECT_EQ(Port.Read(Buffer, 10, 2000), 3);
  peer.join();
  EXPECT_EQ(Port.Read(Buffer, 10, 2000), 7);
  EXPECT_EQ(Buffer[0], 4);
}

TEST_F(UniUartRead, WritesReachThePeerWhole) {
  std::vector<uint8_t> bytes(3000);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7);
  std::vector<uint8_t> received;
  std::thread peer([&] { received = Pty.ReadFromHost(bytes.size(), 5000); });
  EXPECT_TRUE(Port.Write(bytes.data(), static_cast<int>(bytes.size())));
  peer.join();
  EXPECT_EQ(received, bytes);
}

TEST(UniUartClosed, ReadFailsWriteFailsAndCloseMakesNoCall) {
  TMyUart port;
  uint8_t byte = 0;
  EXPECT_EQ(port.Read(&byte, 1, 10), -1);
  EXPECT_FALSE(port.Write(&byte, 1));
  const uint32_t calls = port.PlatformCalls();
  port.Close();
  EXPECT_FALSE(port.IsOpen());
  port.Close();
  EXPECT_FALSE(port.IsOpen());
  EXPECT_EQ(port.PlatformCalls(), calls);
}

TEST(UniUartBaudRate, TheRateInUseCostsNoCallAndANewRateReachesTheLine) {
  TPtyPair pty;
  TMyUart port;
  ASSERT_TRUE(port.Open(pty.SlavePath(), 9600));
  EXPECT_EQ(pty.LineBaudRate(), 9600);
  const uint32_t calls = port.PlatformCalls();
  EXPECT_TRUE(port.SetBaudRate(9600));
  EXPECT_EQ(port.PlatformCalls(), calls);
  EXPECT_TRUE(port.SetBaudRate(115200));
  EXPECT_GT(port.PlatformCalls(), calls);
  EXPECT_EQ(pty.LineBaudRate(), 115200);
}

TEST(UniUartBaudRate, AClosedPortOnlyStoresTheRateAndOpenUsesItsOwn) {
  TMyUart port;
  const uint32_t calls = port.PlatformCalls();
  EXPECT_TRUE(port.SetBaudRate(19200));
  EXPECT_EQ(port.BaudRate(), 19200);
  EXPECT_TRUE(port.SetBaudRate(19200));
  EXPECT_EQ(port.PlatformCalls(), calls);
  TPtyPair pty;
  ASSERT_TRUE(port.Open(pty.SlavePath(), 4800));
  EXPECT_EQ(port.BaudRate(), 4800);
  EXPECT_EQ(pty.LineBaudRate(), 4800);
}

}  // namespace
}  // namespace printset
