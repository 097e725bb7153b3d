#include <gtest/gtest.h>

#include <string>

#include "ports/UsbDeviceId.h"

namespace printset {
namespace {

TEST(UsbDeviceId, VendorAndProductFromTheIdsWindowsGivesAdapters) {
  struct TRow {
    const char* Id;
    bool Found;
    uint16_t Vendor;
    uint16_t Product;
  };
  const TRow rows[] = {
      {"USB\\VID_0403&PID_6001&REV_0600", true, 0x0403, 0x6001},
      {"FTDIBUS\\VID_0403+PID_6015+DK0AHAKJA\\0000", true, 0x0403, 0x6015},
      {"usb\\vid_067b&pid_2303&rev_0300", true, 0x067B, 0x2303},
      {"USB\\VID_10C4&PID_EA60", true, 0x10C4, 0xEA60},
      {"ACPI\\PNP0501", false, 0, 0},
      {"USB\\VID_0403", false, 0, 0},
      {"USB\\VID_04G3&PID_6001", false, 0, 0},
      {"USB\\VID_0403&PID_60", false, 0, 0},
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(row.Id);
    uint16_t vendor = 0x1111;
    uint16_t product = 0x2222;
    EXPECT_EQ(ParseUsbIds(row.Id, vendor, product), row.Found);
    EXPECT_EQ(vendor, row.Found ? row.Vendor : 0x1111);
    EXPECT_EQ(product, row.Found ? row.Product : 0x2222);
  }
}

TEST(UsbDeviceId, SerialNumberOnlyWhereTheDeviceReportsOne) {
  EXPECT_EQ(UsbSerialNumber("USB\\VID_0403&PID_6001\\A10K1234"), "A10K1234");
  EXPECT_EQ(UsbSerialNumber("usb\\VID_0403&PID_6001\\A10K1234"), "A10K1234");
  EXPECT_EQ(UsbSerialNumber("USB\\VID_067B&PID_2303\\5&2F4B9A2C&0&1"), "") << "made up by the system";
  EXPECT_EQ(UsbSerialNumber("FTDIBUS\\VID_0403+PID_6001+A10K1234A\\0000"), "");
  EXPECT_EQ(UsbSerialNumber("ACPI\\PNP0501\\1"), "");
  EXPECT_EQ(UsbSerialNumber("USB\\VID_0403&PID_6001"), "");
}

}  // namespace
}  // namespace printset
