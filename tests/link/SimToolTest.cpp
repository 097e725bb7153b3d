// The simulated printer's own pieces: its download memory, its dump files, its options.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/TempDir.h"
#include "link/PacketLink.h"
#include "link/SerialTransport.h"
#include "sim/SimDump.h"
#include "sim/SimOptions.h"
#include "sim/SparseMemory.h"

namespace printset {
namespace {

std::string ReadAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

TEST(SparseMemory, BlocksMergeWhenTheyTouchAndGapsReadAsErased) {
  TSparseMemory memory;
  const uint8_t a[] = {1, 2, 3, 4};
  const uint8_t b[] = {5, 6};
  const uint8_t c[] = {9, 9, 9};
  memory.Write(100, a, 4);
  memory.Write(104, b, 2);  // touching: one region
  memory.Write(200, c, 3);
  memory.Write(98, b, 2);   // touching at the front
  memory.Write(101, c, 1);  // overwrite inside
  const auto regions = memory.Regions();
  ASSERT_EQ(regions.size(), 2u);
  EXPECT_EQ(regions[0].Address, 98u);
  EXPECT_EQ(regions[0].Bytes, (std::vector<uint8_t>{5, 6, 1, 9, 3, 4, 5, 6}));
  EXPECT_EQ(regions[1].Address, 200u);
  EXPECT_EQ(memory.Read(104, 4), (std::vector<uint8_t>{5, 6, 0xFF, 0xFF}));
  // A write spanning the gap joins everything.
  memory.Write(103, std::vector<uint8_t>(100, 7).data(), 100);
  ASSERT_EQ(memory.Regions().size(), 1u);
  EXPECT_EQ(memory.Regions()[0].Bytes.size(), 105u);
  EXPECT_EQ(memory.Read(201, 3), (std::vector<uint8_t>{7, 7, 0xFF}));
}

TEST(SimDump, WritesTheLogTheBlocksAndOneFilePerRegion) {
  TSimPrinter printer;
  ASSERT_TRUE(printer.StartPty()) << printer.LastError();
  TMyUart port;
  ASSERT_TRUE(port.Open(printer.DevicePath(), 9600));
  TTraceLog trace;
  TSerialTransport line(port);
  TPacketLink link(line, trace);
  uint8_t buffer[4096] = {1, 2, 3, 4, 5, 6, 7, 8};
  ASSERT_EQ(link.Transact(0x60, 0, buffer, 4095, 8, 1, 500), 0);
  ASSERT_EQ(link.Transact(0x2F, 1, buffer, 4095, 0, 1, 500), 0);
  buffer[0] = 0xAB;
  ASSERT_EQ(link.Transact(0x2D, 0x1000, buffer, 4095, 4, 1, 500), 0);
  ASSERT_EQ(link.Transact(0x2D, 0x20000, buffer, 4095, 2, 1, 500), 0);
  ASSERT_EQ(link.Transact(0x2E, 0, buffer, 4095, 3, 1, 500), 0);

  TTempDir dir;
  std::ofstream(dir.File("download-00000999.bin")) << "stale";
  ASSERT_TRUE(WriteSimDump(printer, dir.Path()));
  EXPECT_EQ(ReadAll(dir.File("requests.log")),
            "cmd=0x60 arg=0x00000000 len=8 answered\n"
            "cmd=0x2F arg=0x00000001 len=0 answered\n"
            "cmd=0x2D arg=0x00001000 len=4 answered\n"
            "cmd=0x2D arg=0x00020000 len=2 answered\n"
            "cmd=0x2E arg=0x00000000 len=3 answered\n");
  EXPECT_EQ(ReadAll(dir.File("params.bin")), std::string("\x01\x02\x03\x04\x05\x06\x07\x08", 8));
  EXPECT_EQ(ReadAll(dir.File("firmware.bin")), "\xAB\x02\x03");
  EXPECT_EQ(ReadAll(dir.File("download-00001000.bin")), "\xAB\x02\x03\x04");
  EXPECT_EQ(ReadAll(dir.File("download-00020000.bin")), "\xAB\x02");
  EXPECT_FALSE(std::filesystem::exists(dir.File("download-00000999.bin")));
  EXPECT_FALSE(WriteSimDump(printer, dir.File("missing")));
}

TEST(SimOptions, EveryOptionIsTakenAndNumbersAreHexOrDecimal) {
  TSimOptions options;
  std::string error;
  ASSERT_TRUE(ParseSimOptions({"--udp", "9100", "--identity", "PRN 74XX", "--no-reply", "0x2E", "--no-reply", "96",
                               "--ignore-first", "2", "--bad-header", "--bad-data", "--stray", "3", "--delay", "250",
                               "--oversize", "4096", "--pace", "--dump-dir", "/tmp/x", "--quiet"},
                              options, error))
      << error;
  EXPECT_TRUE(options.Udp);
  EXPECT_EQ(options.UdpPort, 9100);
  EXPECT_EQ(options.Identity, "PRN 74XX");
  EXPECT_EQ(options.Faults.NoReplyCommands, (std::set<uint16_t>{0x2E, 0x60}));
  EXPECT_EQ(options.Faults.IgnoreFirst, 2);
  EXPECT_TRUE(options.Faults.BadHeaderCheck);
  EXPECT_TRUE(options.Faults.BadDataCheck);
  EXPECT_EQ(options.Faults.StrayBytes, 3);
  EXPECT_EQ(options.Faults.DelayMs, 250);
  EXPECT_EQ(options.Faults.OversizeLength, 4096);
  EXPECT_TRUE(options.Pace);
  EXPECT_EQ(options.DumpDir, "/tmp/x");
  EXPECT_TRUE(options.Quiet);
}

TEST(SimOptions, MistakesAreNamed) {
  TSimOptions options;
  std::string error;
  EXPECT_FALSE(ParseSimOptions({"--no-reply", "0x1G"}, options, error));
  EXPECT_NE(error.find("0x1G"), std::string::npos);
  EXPECT_FALSE(ParseSimOptions({"--udp", "70000"}, options, error));
  EXPECT_FALSE(ParseSimOptions({"--stray"}, options, error));
  EXPECT_EQ(error, "--stray needs a value");
  EXPECT_FALSE(ParseSimOptions({"--frobnicate"}, options, error));
  EXPECT_EQ(error, "unknown option '--frobnicate'");
  EXPECT_FALSE(ParseSimOptions({"--delay", "0x"}, options, error));
}

}  // namespace
}  // namespace printset
