#include <gtest/gtest.h>

#include "link/PortNames.h"

namespace printset {
namespace {

TEST(ResolvePortName, ComNamesMapToSerialDevices) {
  EXPECT_EQ(ResolvePortName("COM1"), "/dev/ttyS0");
  EXPECT_EQ(ResolvePortName("COM9"), "/dev/ttyS8");
  EXPECT_EQ(ResolvePortName("com3"), "/dev/ttyS2");
}

TEST(ResolvePortName, OverridesWinRegardlessOfCase) {
  const TPortMap overrides = {{"com2", "/dev/ttyUSB0"}, {"PRINTER", "/dev/ttyACM1"}};
  EXPECT_EQ(ResolvePortName("COM2", overrides), "/dev/ttyUSB0");
  EXPECT_EQ(ResolvePortName("Com2", overrides), "/dev/ttyUSB0");
  EXPECT_EQ(ResolvePortName("printer", overrides), "/dev/ttyACM1");
  EXPECT_EQ(ResolvePortName("COM1", overrides), "/dev/ttyS0");
}

TEST(ResolvePortName, PathsAndOtherNamesStandAsTyped) {
  const TPortMap overrides = {{"/dev/ttyS0", "/dev/null"}};
  EXPECT_EQ(ResolvePortName("/dev/pts/7", overrides), "/dev/pts/7");
  EXPECT_EQ(ResolvePortName("/dev/ttyS0", overrides), "/dev/ttyS0");
  for (const char* name : {"COM0", "COM10", "COM", " COM1", "tcp/ip", ""}) EXPECT_EQ(ResolvePortName(name), name);
}

}  // namespace
}  // namespace printset
