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

}  // namespace
}  // namespace printset
