#include <gtest/gtest.h>

#include "link/PortIdentity.h"
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

TEST(PrintablePortName, ControlAndOtherUnprintableBytesAreWrittenOut) {
  EXPECT_EQ(PrintablePortName("/dev/ttyUSB0"), "/dev/ttyUSB0");
  EXPECT_EQ(PrintablePortName("\\\\.\\COM12"), "\\\\.\\COM12");
  EXPECT_EQ(PrintablePortName("/dev/\x1B[2Jx\r\nOK"), "/dev/\\x1B[2Jx\\x0D\\x0AOK");
  EXPECT_EQ(PrintablePortName(std::string("a\0\x7F\x9B", 4)), "a\\x00\\x7F\\x9B");
}

TEST(PortIdentity, SpellingsOfOneDeviceAgreeAndOthersDiffer) {
  const TPortMap overrides = {{"PRN", "/dev/null"}};
  const std::string null = SerialPortIdentity("/dev/null", {});
  for (const char* name : {"/dev//null", "/dev/./null", "/dev/../dev/null", "prn"})
    EXPECT_EQ(SerialPortIdentity(name, overrides), null) << name;
  EXPECT_NE(SerialPortIdentity("/dev/zero", overrides), null);
  // Devices that do not exist (yet) are told apart by their path alone.
  EXPECT_EQ(SerialPortIdentity("/dev/none//x/../y", {}), SerialPortIdentity("/dev/none/y", {}));
  EXPECT_NE(SerialPortIdentity("/dev/none/x", {}), SerialPortIdentity("/dev/none/y", {}));

  EXPECT_EQ(UdpPortIdentity("::ffff:127.0.0.1", 9100), UdpPortIdentity("127.0.0.1", 9100));
  EXPECT_NE(UdpPortIdentity("127.0.0.1", 9100), UdpPortIdentity("127.0.0.1", 9101));
  EXPECT_NE(UdpPortIdentity("127.0.0.1", 9100), UdpPortIdentity("127.0.0.2", 9100));
  EXPECT_EQ(UdpPortIdentity("", 9100), "");
}

}  // namespace
}  // namespace printset
