// The logo list model: what each change does to the entries, the set, the space text and
// the messages; the list kept in [LOGOFILES]; the preview. Pictures are files of a test
// folder, read by a loader of known pictures, so that no toolkit decodes anything.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "frontend/LogoList.h"
#include "settings/ProfileFile.h"
#include "support/TempDir.h"
#include "support/TestFiles.h"

namespace printset {
namespace {

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kGrey128 = 0x808080;

const char* const kInvalid = "not a picture, cut short, empty, or too wide or tall for [LOGO]";

TPicture Filled(int width, int height, uint32_t colour) {
  return {width, height, std::vector<uint32_t>(static_cast<size_t>(width * height), colour)};
}

// A config folder whose picture files stand for the pictures named below, by file name;
// a file of any other name is no picture. A missing file is none.
class TPictureFolder {
 public:
  TPictureFolder() {
    std::filesystem::create_directories(Config() + "pics");
    std::filesystem::create_directories(Dir.Path() + "/elsewhere");
  }
  std::string Config() const { return Dir.Path() + "/"; }
  // Makes the file `name` (under the config folder) and gives its full path.
  std::string Make(const std::string& name) const {
    WriteTextFile(Config() + name, "picture");
    return Config() + name;
  }
  TPictureLoader Loader() const {
    return [](const std::string& path) -> std::optional<TPicture> {
      std::error_code error;
      if (!std::filesystem::is_regular_file(path, error)) return std::nullopt;
      static const std::map<std::string, TPicture> pictures = {
          {"a.bmp", Filled(13, 5, kBlack)}, {"b.bmp", Filled(8, 1, kBlack)}, {"c.bmp", Filled(8, 8, kBlack)},
          {"grey.bmp", Filled(8, 8, kGrey128)}, {"wide.bmp", Filled(385, 2, kBlack)}};
      const auto found = pictures.find(std::filesystem::path(path).filename().string());
      return found == pictures.end() ? TPicture{} : found->second;
    };
  }

 private:
  TTempDir Dir;
};

// A step of the operator's: ADD of a file (made first unless it is to be missing),
// DELETE of an entry (-1: none selected), a file removed behind the list's back, or
// another dot rule.
struct TStep {
  enum { Add, AddMissing, Remove, Vanish, Rule } Kind;
  std::string Name{};
  int Index = -1;
  TDotRule Dots = TDotRule::Classic;
};

TEST(LogoList, EachChangeGivesTheEntriesTheSpaceAndTheMessages) {
  struct TCase {
    const char* Name;
    int32_t LogoSize;
    std::vector<TStep> Steps;
    std::vector<std::string> Names;
    std::vector<TLogoListMessage> Messages;  // of every step, in order
    std::string Space;
  };
  const TCase cases[] = {
      {"names relative to the config folder, where the dialog was left too",
       65536,
       {{TStep::Add, "pics/a.bmp"}, {TStep::Add, "b.bmp"}, {TStep::Add, "elsewhere/c.bmp"}},
       {"pics/a.bmp", "b.bmp", "elsewhere/c.bmp"},
       {},
       "SPACE: 0,047 Used, 65,489 Free"},  // 3 + (4 + 2 x 8) + (4 + 1 x 8) + (4 + 1 x 8)
      {"a failing picture does not stay",
       65536,
       {{TStep::Add, "c.bmp"}, {TStep::Add, "garbage.bmp"}, {TStep::Add, "wide.bmp"}, {TStep::AddMissing, "gone.bmp"}},
       {"c.bmp"},
       {{"Picture invalid", std::string("garbage.bmp: ") + kInvalid},
        {"Picture invalid", std::string("wide.bmp: ") + kInvalid},
        {"ERROR", "gone.bmp: no such file"}},
       "SPACE: 0,015 Used, 65,521 Free"},
      {"the entry that failed goes, not the new one",
       65536,
       {{TStep::Add, "a.bmp"}, {TStep::Add, "b.bmp"}, {TStep::Vanish, "a.bmp"}, {TStep::Add, "c.bmp"}},
       {"b.bmp", "c.bmp"},
       {{"ERROR", "a.bmp: no such file"}},
       "SPACE: 0,027 Used, 65,509 Free"},
      {"a logo that would not fit",
       40,
       {{TStep::Add, "a.bmp"}, {TStep::Add, "pics/a.bmp"}},  // 3 + 20, then 20 more
       {"a.bmp"},
       {{"ERROR", "pics/a.bmp: the set would not fit into SIZE of [LOGO]"}},
       "SPACE: 0,023 Used, 0,017 Free"},
      {"delete takes the entry given, else the last",
       65536,
       {{TStep::Add, "a.bmp"}, {TStep::Add, "b.bmp"}, {TStep::Add, "c.bmp"}, {TStep::Add, "pics/a.bmp"},
        {TStep::Remove, "", 1}, {TStep::Remove, "", -1}, {TStep::Remove, "", 7}},
       {"a.bmp"},
       {},
       "SPACE: 0,023 Used, 65,513 Free"},
      {"deleting everything leaves the empty set", 65536,
       {{TStep::Add, "c.bmp"}, {TStep::Remove}, {TStep::Remove}}, {}, {}, "SPACE: 0,003 Used, 65,533 Free"},
      {"a vanished file fails a new rule but stays listed",
       65536,
       {{TStep::Add, "c.bmp"}, {TStep::Add, "b.bmp"}, {TStep::Vanish, "c.bmp"}, {TStep::Rule, "", -1, TDotRule::Luma}},
       {"c.bmp", "b.bmp"},
       {{"ERROR", "c.bmp: no such file"}},
       "SPACE: 0,003 Used, 65,533 Free"},
      {"a logo without a dot is named once the set is whole",
       65536,
       {{TStep::Add, "c.bmp"}, {TStep::Add, "grey.bmp"}},
       {"c.bmp", "grey.bmp"},
       {{"WARNING", "logo 2 (grey.bmp) has no dot under the classic rule: nothing of it will print"}},
       "SPACE: 0,027 Used, 65,509 Free"},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    const TPictureFolder folder;
    TLogoList list(folder.Config(), folder.Loader());
    TLogoSettings settings;
    settings.LogoSize = c.LogoSize;
    list.SetSettings(settings);
    std::vector<TLogoListMessage> messages;
    for (const TStep& step : c.Steps) {
      std::vector<TLogoListMessage> said;
      switch (step.Kind) {
        case TStep::Add:
          // The file choice is left in the picture's own folder.
          list.PictureFolderLeft(std::filesystem::path(folder.Make(step.Name)).parent_path().string() + "/");
          said = list.Add(folder.Config() + step.Name);
          break;
        case TStep::AddMissing: said = list.Add(folder.Config() + step.Name); break;
        case TStep::Remove: said = list.Remove(step.Index); break;
        case TStep::Vanish: std::filesystem::remove(folder.Config() + step.Name); break;
        case TStep::Rule: said = list.SetDotRule(step.Dots, kDefaultDotThreshold); break;
      }
      messages.insert(messages.end(), said.begin(), said.end());
    }
    EXPECT_EQ(list.Names(), c.Names);
    EXPECT_EQ(messages, c.Messages);
    EXPECT_EQ(list.SpaceText(), c.Space);
    const bool failed = !messages.empty() && messages.back().Caption != "WARNING";
    EXPECT_EQ(list.IsComplete(), !failed || c.Steps.back().Kind != TStep::Rule);
    EXPECT_EQ(list.Paths().size(), c.Names.size());
  }
}

TEST(LogoList, TheListComesBackFromConfigIniWithoutTheFilesThatWent) {
  const TPictureFolder folder;
  const std::string absolute = folder.Make("elsewhere/c.bmp");
  folder.Make("pics/a.bmp");
  folder.Make("b.bmp");
  WriteTextFile(folder.Config() + "config.ini",
                "[LOGOFILES]\r\nCOUNT=5\r\nFILE1=pics/a.bmp\r\nFILE2=gone.bmp\r\nFILE3=" +
                    absolute + "\r\nFILE4=b.bmp\r\nFILE5=c.bmp\r\n");
  TProfileFile file(folder.Config() + "config.ini");
  TLogoList list(folder.Config(), folder.Loader());
  TLogoSettings settings;
  settings.LogoQuantity = 2;  // three entries at most: the rest is not read
  list.SetSettings(settings);
  std::vector<std::string> vanished;
  EXPECT_TRUE(list.Load(file, vanished).empty());
  EXPECT_EQ(list.Names(), (std::vector<std::string>{"pics/a.bmp", "elsewhere/c.bmp", "b.bmp"}));
  EXPECT_EQ(list.Paths().front(), folder.Config() + "pics/a.bmp");
  EXPECT_EQ(vanished, std::vector<std::string>{"gone.bmp"});
  EXPECT_EQ(VanishedMessage(vanished),
            (TLogoListMessage{"ERROR", "pictures of the last logo list no longer found, left out of the list:\ngone.bmp"}));
  EXPECT_TRUE(list.IsComplete());
  EXPECT_EQ(list.SpaceText(), "SPACE: 0,047 Used, 65,489 Free");
  EXPECT_FALSE(list.CanAdd());

  ASSERT_TRUE(list.Remove(0).empty());
  ASSERT_TRUE(list.Save(file));
  EXPECT_NE(ReadTextFile(folder.Config() + "config.ini")
                .find("[LOGOFILES]\r\nCOUNT=2\r\nFILE1=elsewhere/c.bmp\r\nFILE2=b.bmp\r\nFILE3=\r\nFILE4=\r\nFILE5=\r\n"),
            std::string::npos);

  // Nothing listed: no set is packed, and the set sent is empty.
  TLogoList empty(folder.Config(), folder.Loader());
  EXPECT_TRUE(empty.Restore({"gone.bmp"}, vanished).empty());
  EXPECT_TRUE(empty.Set().empty());
  EXPECT_TRUE(empty.IsComplete());
}

TEST(LogoList, PreviewShowsTheChosenOrLastLogoAndThoseBeforeAFailure) {
  const TPictureFolder folder;
  TLogoList list(folder.Config(), folder.Loader());
  EXPECT_EQ(list.Preview(-1).Caption, "no logo");
  EXPECT_TRUE(list.Preview(-1).Dots.IsNull());
  ASSERT_TRUE(list.Add(folder.Make("a.bmp")).empty());
  ASSERT_TRUE(list.Add(folder.Make("c.bmp")).empty());
  EXPECT_EQ(list.Preview(-1).Caption, "2: 8 x 8 dots, 12 bytes");
  const TLogoPreviewImage first = list.Preview(0);
  EXPECT_EQ(first.Caption, "1: 16 x 8 dots, 20 bytes");
  ASSERT_EQ(first.Dots.Width, 16);
  // 13 x 5 centred: one blank column left, two right; one row above, two below.
  EXPECT_FALSE(first.Dots.Dot(0, 1));
  EXPECT_TRUE(first.Dots.Dot(1, 1));
  EXPECT_TRUE(first.Dots.Dot(13, 5));
  EXPECT_FALSE(first.Dots.Dot(14, 5));
  EXPECT_FALSE(first.Dots.Dot(1, 6));

  // The first picture goes: the set stops at it, so no logo is there to show.
  std::filesystem::remove(folder.Config() + "a.bmp");
  ASSERT_EQ(list.SetDotRule(TDotRule::Ordered, 128).size(), 1u);
  EXPECT_FALSE(list.IsComplete());
  EXPECT_EQ(list.FailedIndex(), 0);
  EXPECT_EQ(list.Preview(0).Caption, "no logo");
  EXPECT_EQ(list.Preview(-1).Caption, "no logo");
  // A picture back, the other away: the logos before the failing entry still show.
  folder.Make("a.bmp");
  std::filesystem::remove(folder.Config() + "c.bmp");
  ASSERT_EQ(list.SetDotRule(TDotRule::Classic, 128).size(), 1u);
  EXPECT_EQ(list.Preview(0).Caption, "1: 16 x 8 dots, 20 bytes");
  EXPECT_EQ(list.Preview(1).Caption, "no logo");
}

TEST(LogoList, TheRuleRepacksTheSetItself) {
  const TPictureFolder folder;
  TLogoList list(folder.Config(), folder.Loader());
  ASSERT_EQ(list.Add(folder.Make("grey.bmp")).size(), 1u);  // the dot-less warning
  struct TRow {
    TDotRule Dots;
    int32_t Threshold;
    uint8_t FirstRow, SecondRow;
  };
  const TRow rows[] = {
      {TDotRule::Classic, 128, 0x00, 0x00},  // blue 128 is not below 128
      {TDotRule::Ordered, 128, 0x55, 0xAA},  // grey 128 as a checkerboard
      {TDotRule::Luma, 129, 0xFF, 0xFF},
      {TDotRule::Luma, 0, 0x00, 0x00},       // clamped to 1
  };
  for (const TRow& row : rows) {
    SCOPED_TRACE(DotRuleName(row.Dots) + std::string(" ") + std::to_string(row.Threshold));
    EXPECT_TRUE(list.SetDotRule(row.Dots, row.Threshold).empty());
    EXPECT_EQ(list.Settings().Dots, row.Dots);
    ASSERT_EQ(list.Set().size(), 3u + 12);
    EXPECT_EQ(list.Set()[3 + 4], row.FirstRow);
    EXPECT_EQ(list.Set()[3 + 4 + 1], row.SecondRow);
  }
  EXPECT_EQ(list.Settings().Threshold, 1);
}

TEST(LogoList, TheDialogOpensWhereAPictureWasLastChosen) {
  const TPictureFolder folder;
  TLogoList list(folder.Config(), folder.Loader());
  EXPECT_EQ(list.DialogFolder(), folder.Config());
  list.SetPictureFolder(folder.Config() + "missing/");
  EXPECT_EQ(list.PictureFolder(), "");
  EXPECT_EQ(list.DialogFolder(), folder.Config());
  list.SetPictureFolder(folder.Config() + "pics/");
  EXPECT_EQ(list.DialogFolder(), folder.Config() + "pics/");
  list.PictureFolderLeft(folder.Config() + "elsewhere/");
  EXPECT_EQ(list.PictureFolder(), folder.Config() + "elsewhere/");
}

}  // namespace
}  // namespace printset
