// The picture cases read by this platform's decoder (Qt's image reader on Linux, WIC on
// Windows): each reads as its picture on white and packs as that picture does under every
// dot rule; on Windows, each packs to the bytes the Linux build packed it to.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "PictureCases.h"
#include "logo/PictureLoader.h"
#include "support/TempDir.h"

namespace printset {
namespace {

TEST(PicturePacking, EveryCaseReadsAsItsPictureOnWhiteAndPacksAsItUnderEveryRule) {
  TTempDir folder;
  const std::string path = folder.File("picture");
  const TPictureLoader load = PictureLoaderOn(SystemPictureDecoder());
  for (const TPictureCase& picture : PictureCases()) {
    SCOPED_TRACE(picture.Name);
    std::ofstream(path, std::ios::binary | std::ios::trunc) << picture.File;
    const std::optional<TPicture> loaded = load(path);
    ASSERT_TRUE(loaded.has_value());
    ASSERT_EQ(loaded->Width, picture.OnWhite.Width);
    ASSERT_EQ(loaded->Height, picture.OnWhite.Height);
    EXPECT_EQ(loaded->Pixels, picture.OnWhite.Pixels);
    for (const TDotRule rule : kDotRules) {
      SCOPED_TRACE(DotRuleName(rule));
      const std::vector<uint8_t> packed = PackedUnder(path, rule, load);
      EXPECT_FALSE(packed.empty());
      EXPECT_EQ(packed, PackedUnder("p", rule, [&](const std::string&) { return picture.OnWhite; }));
    }
  }
}

// The size the loader checks before anything is decoded.
TEST(PicturePacking, TheDecoderAnnouncesEachCasesSize) {
  for (const TPictureCase& picture : PictureCases()) {
    SCOPED_TRACE(picture.Name);
    const std::vector<uint8_t> bytes(picture.File.begin(), picture.File.end());
    int width = 0;
    int height = 0;
    if (!SystemPictureDecoder().AnnouncedSize(bytes, width, height)) {
      // Qt's reader tells no size of a top-down bitmap before decoding it; WIC tells all.
      EXPECT_NE(picture.Name.find("top-down"), std::string::npos);
#ifdef _WIN32
      ADD_FAILURE() << "WIC tells every picture's size";
#endif
      continue;
    }
    EXPECT_EQ(width, picture.OnWhite.Width);
    EXPECT_EQ(height, picture.OnWhite.Height);
  }
}

#ifdef _WIN32
// PRINTSET_TEST_PACKED names the lines the Linux build wrote (printset-packed-pictures).
TEST(PicturePacking, EveryCasePacksToTheBytesOfTheLinuxBuild) {
  const char* linuxLines = std::getenv("PRINTSET_TEST_PACKED");
  ASSERT_NE(linuxLines, nullptr) << "PRINTSET_TEST_PACKED is not set";
  std::ifstream file(linuxLines);
  ASSERT_TRUE(file.is_open()) << linuxLines;
  std::vector<std::string> expected;
  for (std::string line; std::getline(file, line);) expected.push_back(line);
  TTempDir folder;
  const std::vector<std::string> lines = PackedCaseLines(folder.Path(), PictureLoaderOn(SystemPictureDecoder()));
  ASSERT_EQ(lines.size(), expected.size());
  for (size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i], expected[i]);
}
#endif

}  // namespace
}  // namespace printset
