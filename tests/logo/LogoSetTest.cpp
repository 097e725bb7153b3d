#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "logo/LogoSet.h"

namespace printset::logo_set {
namespace {

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;

using TBytes = std::vector<uint8_t>;

TPicture Filled(int width, int height, uint32_t colour) {
  return TPicture{width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height, colour)};
}

// Pictures served by name, as a picture file reader would; unknown names do not exist.
struct TFakeFiles {
  std::map<std::string, TPicture> Pictures;
  TPictureLoader Loader() const {
    return [this](const std::string& path) -> std::optional<TPicture> {
      const auto found = Pictures.find(path);
      if (found == Pictures.end()) return std::nullopt;
      return found->second;
    };
  }
};

TLogoSetResult BuildOne(const TPicture& picture, const TLogoSettings& settings = {}) {
  TFakeFiles files;
  files.Pictures["a"] = picture;
  return BuildLogoSet({"a"}, settings, files.Loader());
}

TEST(LogoSet, EmptyListIsTheThreeByteHeader) {
  const TLogoSetResult result = BuildLogoSet({}, TLogoSettings{}, TFakeFiles{}.Loader());
  EXPECT_TRUE(result.Complete);
  EXPECT_EQ(result.Bytes, (TBytes{0xAA, 0xDD, 0x00}));
}

TEST(LogoSet, ThirteenByFiveBlackIsCentredWithOddPaddingRightAndBelow) {
  const TLogoSetResult result = BuildOne(Filled(13, 5, kBlack));
  ASSERT_TRUE(result.Complete);
  EXPECT_EQ(result.Failure, TLogoFailure::None);
  EXPECT_EQ(result.Bytes, (TBytes{0xAA, 0xDD, 0x01,                          //
                                  0x02, 0x00, 0x01, 0x00,                    // B 2, H/8 1
                                  0x00, 0x00,                                // T 1
                                  0x7F, 0xFC, 0x7F, 0xFC, 0x7F, 0xFC,        //
                                  0x7F, 0xFC, 0x7F, 0xFC,                    // 5 picture rows
                                  0x00, 0x00, 0x00, 0x00}));                 // U 2
}

TEST(LogoSet, FullWidthNeedsNoPadding) {
  const TLogoSetResult result = BuildOne(Filled(384, 64, kBlack));
  ASSERT_TRUE(result.Complete);
  ASSERT_EQ(result.Bytes.size(), 3u + 3076u);
  EXPECT_EQ(TBytes(result.Bytes.begin() + 3, result.Bytes.begin() + 7), (TBytes{0x30, 0x00, 0x08, 0x00}));
  for (size_t i = 7; i < result.Bytes.size(); ++i) ASSERT_EQ(result.Bytes[i], 0xFF) << i;
}

TEST(LogoSet, SingleRowAndSingleDotPictures) {
  const TLogoSetResult row = BuildOne(Filled(8, 1, kBlack));
  EXPECT_EQ(row.Bytes, (TBytes{0xAA, 0xDD, 0x01, 0x01, 0x00, 0x01, 0x00,  //
                               0x00, 0x00, 0x00, 0xFF, 0x00, 0x00, 0x00, 0x00}));

  // W = 8, L = 3: the single dot lands in bit 0x10.
  const TLogoSetResult column = BuildOne(Filled(1, 8, kBlack));
  ASSERT_EQ(column.Bytes.size(), 3u + 4u + 8u);
  for (size_t i = 7; i < column.Bytes.size(); ++i) EXPECT_EQ(column.Bytes[i], 0x10) << i;
}

TEST(LogoSet, OnlyBlueBelowHalfPrints) {
  // Red, green, yellow print; blue and white do not; grey 127 prints, 128 does not.
  const TPicture picture{8, 1, {0x0000FF, 0x00FF00, 0x00FFFF, 0xFF0000, kWhite, 0x7F7F7F, 0x808080, 0x7FFFFF}};
  const TLogoSetResult result = BuildOne(picture);
  ASSERT_TRUE(result.Complete);
  EXPECT_EQ(result.Bytes[3 + 4 + 3], 0xE5);
}

TEST(LogoSet, LogosFollowEachOtherInListOrder) {
  TFakeFiles files;
  files.Pictures["dot"] = Filled(1, 8, kBlack);
  files.Pictures["blank"] = Filled(8, 8, kWhite);
  const TLogoSetResult result = BuildLogoSet({"dot", "blank", "dot"}, TLogoSettings{}, files.Loader());
  ASSERT_TRUE(result.Complete);
  ASSERT_EQ(result.Bytes.size(), 3u + 3 * 12u);
  EXPECT_EQ(result.Bytes[2], 3);
  EXPECT_EQ(result.Bytes[3 + 4], 0x10);
  EXPECT_EQ(result.Bytes[15 + 4], 0x00);
  EXPECT_EQ(result.Bytes[27 + 4], 0x10);
}

TEST(LogoSetFailure, PicturesThatCannotBeLogos) {
  TLogoSettings settings;
  EXPECT_TRUE(BuildOne(Filled(384, 1, kBlack), settings).Complete);
  for (const TPicture& picture : {Filled(385, 1, kBlack), Filled(0, 5, kBlack), Filled(5, 0, kBlack), TPicture{}}) {
    const TLogoSetResult result = BuildOne(picture, settings);
    EXPECT_FALSE(result.Complete);
    EXPECT_EQ(result.Failure, TLogoFailure::PictureInvalid);
    EXPECT_EQ(result.FailedIndex, 0);
    EXPECT_EQ(result.Bytes, (TBytes{0xAA, 0xDD, 0x01}));
  }
  EXPECT_STREQ(LogoFailureMessage(TLogoFailure::PictureInvalid), "Picture invalid");
}

TEST(LogoSetFailure, MissingFileStopsTheSetAtThatEntry) {
  TFakeFiles files;
  files.Pictures["a"] = Filled(8, 8, kBlack);
  const TLogoSetResult result = BuildLogoSet({"a", "gone", "a"}, TLogoSettings{}, files.Loader());
  EXPECT_FALSE(result.Complete);
  EXPECT_EQ(result.Failure, TLogoFailure::MissingFile);
  EXPECT_EQ(result.FailedIndex, 1);
  // The count still announces three logos; only the first was built.
  EXPECT_EQ(result.Bytes.size(), 3u + 12u);
  EXPECT_EQ(result.Bytes[2], 3);
  EXPECT_STREQ(LogoFailureMessage(TLogoFailure::MissingFile), "ERROR");
}

TEST(LogoSetFailure, LogoMustFitWholeIntoTheRoom) {
  TFakeFiles files;
  files.Pictures["a"] = Filled(13, 5, kBlack);  // 20 bytes with its header
  TLogoSettings settings;
  settings.LogoSize = 23;
  EXPECT_TRUE(BuildLogoSet({"a"}, settings, files.Loader()).Complete);

  settings.LogoSize = 42;  // one byte short of two logos; padding rows alone would fit
  const TLogoSetResult result = BuildLogoSet({"a", "a"}, settings, files.Loader());
  EXPECT_FALSE(result.Complete);
  EXPECT_EQ(result.Failure, TLogoFailure::NoRoom);
  EXPECT_EQ(result.FailedIndex, 1);
  EXPECT_EQ(result.Bytes.size(), 23u);
  EXPECT_STREQ(LogoFailureMessage(TLogoFailure::NoRoom), "ERROR");

  settings.LogoSize = -1;
  EXPECT_EQ(BuildLogoSet({"a"}, settings, files.Loader()).Failure, TLogoFailure::NoRoom);
}

TEST(LogoSetLimits, CountByteHoldsAtMost255Logos) {
  TFakeFiles files;
  files.Pictures["a"] = Filled(1, 1, kBlack);
  TLogoSettings settings;
  settings.LogoSize = 1 << 20;
  const TLogoSetResult full = BuildLogoSet(std::vector<std::string>(255, "a"), settings, files.Loader());
  EXPECT_TRUE(full.Complete);
  EXPECT_EQ(full.Bytes[2], 0xFF);

  const TLogoSetResult over = BuildLogoSet(std::vector<std::string>(256, "a"), settings, files.Loader());
  EXPECT_FALSE(over.Complete);
  EXPECT_EQ(over.Failure, TLogoFailure::TooManyLogos);
  EXPECT_EQ(over.FailedIndex, 255);
  EXPECT_STREQ(LogoFailureMessage(TLogoFailure::TooManyLogos), "ERROR");
}

TEST(LogoSetLimits, AddStaysEnabledUpToOneMoreThanTheQuantity) {
  TLogoSettings settings;
  EXPECT_TRUE(CanAddLogo(8, settings));
  EXPECT_FALSE(CanAddLogo(9, settings));
  settings.LogoQuantity = 0;
  EXPECT_TRUE(CanAddLogo(0, settings));
  EXPECT_FALSE(CanAddLogo(1, settings));
  settings.LogoQuantity = 1000;
  EXPECT_TRUE(CanAddLogo(254, settings));
  EXPECT_FALSE(CanAddLogo(255, settings));
}

TEST(LogoSetLimits, RowsNeverOutgrowTheRowBuffer) {
  TLogoSettings settings;
  settings.LogoWidth = 20000;
  settings.LogoSize = 1 << 20;
  const TLogoSetResult widest = BuildOne(Filled(16384, 1, kBlack), settings);
  ASSERT_TRUE(widest.Complete);
  EXPECT_EQ(TBytes(widest.Bytes.begin() + 3, widest.Bytes.begin() + 5), (TBytes{0x00, 0x08}));
  EXPECT_EQ(BuildOne(Filled(16385, 1, kBlack), settings).Failure, TLogoFailure::PictureInvalid);
}

TEST(LogoSetLimits, HeightMustFitSixteenBitsOfBands) {
  TLogoSettings settings;
  settings.LogoSize = 1 << 20;
  const TLogoSetResult tallest = BuildOne(Filled(1, 524280, kBlack), settings);
  ASSERT_TRUE(tallest.Complete);
  EXPECT_EQ(TBytes(tallest.Bytes.begin() + 5, tallest.Bytes.begin() + 7), (TBytes{0xFF, 0xFF}));
  // 524,279 rows pad to the same 65535 bands; one row more would need 65536.
  EXPECT_TRUE(BuildOne(Filled(1, 524279, kBlack), settings).Complete);
  EXPECT_EQ(BuildOne(Filled(1, 524281, kBlack), settings).Failure, TLogoFailure::PictureInvalid);
}

TEST(LogoSpace, ThousandsAndUnitsOfUsedAndFree) {
  EXPECT_EQ(FormatLogoSpace(1005, 65536), "SPACE: 1,005 Used, 64,531 Free");
  EXPECT_EQ(FormatLogoSpace(3, 65536), "SPACE: 0,003 Used, 65,533 Free");
  EXPECT_EQ(FormatLogoSpace(0, 0), "SPACE: 0,000 Used, 0,000 Free");
  EXPECT_EQ(FormatLogoSpace(67036, 65536), "SPACE: 67,036 Used, -1,-500 Free");
  EXPECT_EQ(FormatLogoSpace(70, 65), "SPACE: 0,070 Used, 0,-005 Free");
  EXPECT_EQ(FormatLogoSpace(3, -2147483648LL), "SPACE: 0,003 Used, -2147483,-651 Free");
}

}  // namespace
}  // namespace printset::logo_set
