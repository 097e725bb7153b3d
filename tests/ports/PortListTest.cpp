#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "ports/PortEntries.h"
#include "ports/PortList.h"
#include "support/TempDir.h"
#include "support/TestFiles.h"

namespace printset {
namespace {

const std::vector<std::string> kFixed = {"COM1", "COM2", "COM3", "COM4", "COM5",
                                         "COM6", "COM7", "COM8", "COM9", "TCP/IP"};

TEST(PortBoxEntries, FixedNamesFirstThenDevicesByIdWhereTheyHaveOneInNaturalOrder) {
  const TPortInfo usb10{"/dev/ttyUSB10", "", "", "", 0, 0, false};
  const TPortInfo usb2{"/dev/ttyUSB2", "", "", "", 0, 0, false};
  const TPortInfo ftdi{"/dev/ttyUSB0", "/dev/serial/by-id/usb-FTDI_FT232R_A10K-if00-port0", "FT232R USB UART",
                       "A10K", 0x0403, 0x6001, true};
  const TPortInfo acm{"/dev/ttyACM0", "", "Printer", "", 0x04b8, 0x0e28, true};
  const TPortInfo uart{"/dev/ttyS4", "", "", "", 0, 0, false};
  struct TCase {
    const char* Name;
    std::vector<TPortInfo> Detected;
    std::vector<std::string> After;  // what follows the fixed names
  };
  const TCase cases[] = {
      {"nothing plugged in", {}, {}},
      {"numbers compare as numbers", {usb10, usb2, uart}, {"/dev/ttyS4", "/dev/ttyUSB2", "/dev/ttyUSB10"}},
      {"a by-id path stands for its device",
       {usb2, ftdi, acm},
       {"/dev/serial/by-id/usb-FTDI_FT232R_A10K-if00-port0", "/dev/ttyACM0", "/dev/ttyUSB2"}},
      {"one entry per device", {usb2, usb2, ftdi, ftdi}, {"/dev/serial/by-id/usb-FTDI_FT232R_A10K-if00-port0", "/dev/ttyUSB2"}},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    std::vector<std::string> expected = kFixed;
    expected.insert(expected.end(), c.After.begin(), c.After.end());
    // Each entry's tooltip names its device and what is known of it; none for the fixed names.
    const std::map<std::string, std::string> details = {
        {ftdi.ById, "/dev/ttyUSB0, FT232R USB UART, 0403:6001, serial A10K"},
        {acm.Device, "/dev/ttyACM0, Printer, 04b8:0e28"},
        {usb2.Device, "/dev/ttyUSB2"},
        {usb10.Device, "/dev/ttyUSB10"},
        {uart.Device, "/dev/ttyS4"}};
    std::vector<std::string> texts;
    for (const TPortEntry& entry : PortBoxEntries(c.Detected)) {
      texts.push_back(entry.Text);
      const auto detail = details.find(entry.Text);
      EXPECT_EQ(entry.Detail, detail == details.end() ? "" : detail->second) << entry.Text;
    }
    EXPECT_EQ(texts, expected);
  }
}

// The links resolve to what they point at, through a chain of links as udev makes them.
TEST(ByIdLinks, EachDeviceKeyedByWhatItsLinkResolvesTo) {
  TTempDir dir;
  const std::string dev = dir.Path();
  const std::string byId = dev + "/by-id";
  std::filesystem::create_directory(byId);
  WriteTextFile(dev + "/ttyUSB0", "");
  WriteTextFile(dev + "/ttyACM1", "");
  std::filesystem::create_symlink("../ttyUSB0", byId + "/usb-B-if00");
  std::filesystem::create_symlink("../ttyUSB0", byId + "/usb-A-if00");  // a second name: the first in order counts
  std::filesystem::create_symlink(dev + "/ttyACM1", byId + "/usb-C-if01");
  std::filesystem::create_symlink("../gone", byId + "/usb-D-if00");  // unplugged a moment ago
  const std::map<std::string, std::string> expected = {{dev + "/ttyACM1", byId + "/usb-C-if01"},
                                                       {dev + "/ttyUSB0", byId + "/usb-A-if00"}};
  EXPECT_EQ(ByIdLinks(byId), expected);
  EXPECT_TRUE(ByIdLinks(dev + "/missing").empty());
}

// What a platform's lister finds, in its own order, as the list gives it: sorted by
// device, each with the by-id name that resolves to it.
TEST(ListSerialPorts, TheListersPortsSortedWithTheirByIdNames) {
  class TFixedLister : public TPortLister {
   public:
    std::vector<TPortInfo> Ports;
    std::vector<TPortInfo> PortsPluggedIn() const override { return Ports; }
  };
  TTempDir dir;
  const std::string dev = dir.Path();
  std::filesystem::create_directory(dev + "/by-id");
  WriteTextFile(dev + "/ttyUSB0", "");
  WriteTextFile(dev + "/ttyACM0", "");
  std::filesystem::create_symlink("../ttyUSB0", dev + "/by-id/usb-FTDI-if00");
  TFixedLister lister;
  lister.Ports = {{dev + "/ttyUSB0", "", "FT232R", "A10K", 0x0403, 0x6001, true},
                  {dev + "/ttyACM0", "", "", "", 0, 0, false}};
  const std::vector<TPortInfo> ports = ListSerialPorts(lister, dev + "/by-id");
  ASSERT_EQ(ports.size(), 2u);
  EXPECT_EQ(ports[0].Device, dev + "/ttyACM0");
  EXPECT_EQ(ports[0].ById, "");
  EXPECT_EQ(ports[1].Device, dev + "/ttyUSB0");
  EXPECT_EQ(ports[1].ById, dev + "/by-id/usb-FTDI-if00");
  EXPECT_EQ(ports[1].Description, "FT232R");
  EXPECT_EQ(ports[1].Vendor, 0x0403);
  lister.Ports.clear();
  EXPECT_TRUE(ListSerialPorts(lister, dev + "/by-id").empty());
}

}  // namespace
}  // namespace printset
