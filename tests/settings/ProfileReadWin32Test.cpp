// The table of settings files against the real Windows profile functions (under Wine in
// `make test-windows`), so that what TProfileFile is held to is what Windows reads.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "settings/ProfileReadCases.h"

namespace printset {
namespace {

TEST(WindowsProfileFunctions, ReadTheTableOfSettingsFiles) {
  ASSERT_EQ(GetACP(), 1252u) << "the table's bytes are Windows-1252";
  char folder[MAX_PATH];
  ASSERT_NE(GetTempPathA(MAX_PATH, folder), 0u);
  int index = 0;
  for (const TProfileReadCase& row : kProfileReadCases) {
    // A file of its own per row: the functions cache a file they have read.
    const std::string path = std::string(folder) + "printset-profile-" + std::to_string(GetCurrentProcessId()) +
                             "-" + std::to_string(index++) + ".ini";
    std::ofstream(path, std::ios::binary) << ProfileCaseFile(row);
    char buffer[4096];
    const DWORD length = GetPrivateProfileStringA(row.Section, row.Key, std::string(kProfileMissing).c_str(), buffer,
                                                  sizeof buffer, path.c_str());
    DeleteFileA(path.c_str());
    EXPECT_EQ(std::string(buffer, length), row.Expected) << row.Name;
  }
}

}  // namespace
}  // namespace printset
