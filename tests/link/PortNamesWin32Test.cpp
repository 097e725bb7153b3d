// Port names as a Windows build resolves them.
#include <gtest/gtest.h>

#include "link/PortNames.h"

namespace printset {
namespace {

TEST(ResolvePortName, ComOneToTwoHundredFiftyFiveTakeTheDevicePrefixOthersStandAsTyped) {
  const TPortMap overrides = {{"com2", "\\\\.\\COM17"}, {"PRINTER", "COM9"}};
  const struct {
    const char* Name;
    const char* Device;
  } rows[] = {
      {"COM1", "\\\\.\\COM1"},     {"com9", "\\\\.\\COM9"},     {"COM10", "\\\\.\\COM10"},
      {"Com255", "\\\\.\\COM255"}, {"COM2", "\\\\.\\COM17"},    {"printer", "COM9"},
      {"COM256", "COM256"},        {"COM0", "COM0"},            {"COM01", "COM01"},
      {"COM1 ", "COM1 "},          {"\\\\.\\COM3", "\\\\.\\COM3"}, {"/dev/ttyS0", "/dev/ttyS0"},
      {"TCP/IP", "TCP/IP"},        {"", ""},
  };
  for (const auto& row : rows) EXPECT_EQ(ResolvePortName(row.Name, overrides), row.Device) << row.Name;
}

}  // namespace
}  // namespace printset
