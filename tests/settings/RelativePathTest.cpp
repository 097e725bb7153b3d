#include <gtest/gtest.h>

#include "settings/RelativePath.h"

namespace printset {
namespace {

TEST(RelativePath, SharedFoldersDroppedAndTheRestClimbed) {
  const std::string folder = "/opt/tool/";
  EXPECT_EQ(RelativeToFolder("/opt/tool/a.bmp", folder), "a.bmp");
  EXPECT_EQ(RelativeToFolder("/opt/tool/pics/old/a.bmp", folder), "pics/old/a.bmp");
  EXPECT_EQ(RelativeToFolder("/opt/logos/a.bmp", folder), "../logos/a.bmp");
  EXPECT_EQ(RelativeToFolder("/a.bmp", folder), "../../a.bmp");
  EXPECT_EQ(RelativeToFolder("/home/me/a.bmp", folder), "../../home/me/a.bmp");
  // A folder whose name only begins like the program's is not shared.
  EXPECT_EQ(RelativeToFolder("/opt/toolbox/a.bmp", folder), "../toolbox/a.bmp");
  EXPECT_EQ(RelativeToFolder("/a.bmp", "/"), "a.bmp");
}

TEST(RelativePath, FolderNamesCompareWithCase) {
  EXPECT_EQ(RelativeToFolder("/opt/Tool/a.bmp", "/opt/tool/"), "../Tool/a.bmp");
  EXPECT_EQ(RelativeToFolder("/opt//tool/a.bmp", "/opt/tool/"), "a.bmp");
}

TEST(RelativePath, WindowsPathsClimbOnlyWithinTheirDriveOrShare) {
  const struct {
    const char* Path;
    const char* Folder;
    const char* Relative;
  } rows[] = {
      {"C:/Users/me/AppData/Roaming/printset/logo.bmp", "C:/Users/me/AppData/Roaming/printset/", "logo.bmp"},
      {"c:/Users/me/Pictures/logo.bmp", "C:/Users/me/AppData/Roaming/printset/", "../../../Pictures/logo.bmp"},
      {"C:/logo.bmp", "C:/tool/", "../logo.bmp"},
      {"D:/logos/logo.bmp", "C:/tool/", "D:/logos/logo.bmp"},
      {"//server/logos/logo.bmp", "C:/tool/", "//server/logos/logo.bmp"},
      {"//SERVER/logos/a/logo.bmp", "//server/logos/tool/", "../a/logo.bmp"},
      {"//server/other/logo.bmp", "//server/logos/tool/", "//server/other/logo.bmp"},
  };
  for (const auto& row : rows) EXPECT_EQ(RelativeToFolder(row.Path, row.Folder), row.Relative) << row.Path;
}

}  // namespace
}  // namespace printset
