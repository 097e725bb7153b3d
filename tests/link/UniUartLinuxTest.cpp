// TMyUart where POSIX systems have their own words and means: a file that is no device,
// a device that is not there, a rate outside the classic table.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include "support/PtyPair.h"
#include "support/TempDir.h"
#include "support/TraceMatch.h"
#include "link/UniUart.h"

namespace printset {
namespace {

TEST(UniUartOpen, ARegularFileIsRefusedAndItsDescriptorClosed) {
  TTempDir dir;
  const std::string path = dir.File("not-a-port");
  ::close(::open(path.c_str(), O_CREAT | O_WRONLY, 0600));
  TMyUart port;
  const int before = OpenDescriptorCount();
  EXPECT_FALSE(port.Open(path, 9600));
  EXPECT_FALSE(port.IsOpen());
  EXPECT_EQ(port.LastError(), "Not a character device");
  EXPECT_EQ(OpenDescriptorCount(), before);
}

TEST(UniUartOpen, AMissingDeviceGivesTheSystemsReasonAndAnotherOpenStartsAfresh) {
  TMyUart port;
  EXPECT_FALSE(port.Open("/dev/printset-no-such-port", 9600));
  EXPECT_EQ(port.LastError(), "No such file or directory");
  EXPECT_FALSE(port.IsOpen());
  TPtyPair pty;
  EXPECT_TRUE(port.Open(pty.SlavePath(), 9600)) << port.LastError();
  EXPECT_TRUE(port.LastError().empty());
}

// termios2 takes any rate the driver can make, not only the classic table's.
TEST(UniUartBaudRate, ARateOutsideTheClassicTableIsSetAsItIs) {
  TPtyPair pty;
  TMyUart port;
  ASSERT_TRUE(port.Open(pty.SlavePath(), 9600));
  EXPECT_TRUE(port.SetBaudRate(250000));
  EXPECT_EQ(pty.LineBaudRate(), 250000);
  // Rate 0 would hang up a real line's modem lines: never set.
  EXPECT_FALSE(port.SetBaudRate(0));
  EXPECT_EQ(pty.LineBaudRate(), 250000);
}

}  // namespace
}  // namespace printset
