// The NVRAM page as the operator uses it: the file dialog, the list's selection, the
// actions, the rule box and the preview canvas over the logo list model, and DOWNLOAD.
// What each change does to the list and the set is the model's (tests/frontend).
#include <QAction>
#include <QColor>
#include <QDir>
#include <QImage>
#include <QListWidget>
#include <QPushButton>
#include <QSpinBox>
#include <QComboBox>
#include <QLabel>
#include <filesystem>

#include "WindowFixture.h"
#include "ui/LogoPage.h"
#include "ui/LogoPreview.h"

namespace printset {
namespace {

class WindowLogoPage : public TWindowTest {
 protected:
  // A black picture saved under the program folder.
  std::string Picture(const std::string& name, int width, int height) {
    const std::string path = Folder() + name;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::black);
    EXPECT_TRUE(image.save(QString::fromStdString(path), "BMP"));
    return path;
  }
  void Add(const std::string& path) {
    Answerer.FileAnswers.push_back(QString::fromStdString(path));
    Click("btAddLogo");
    RunUntilIdle();
  }
  QStringList Items() {
    QStringList items;
    auto* list = Find<QListWidget>("ListLogo");
    for (int i = 0; list && i < list->count(); ++i) items << list->item(i)->text();
    return items;
  }
  std::vector<TSeenBox> Boxes() {
    std::vector<TSeenBox> boxes;
    for (const auto& seen : Answerer.Seen)
      if (seen.Kind == "box") boxes.push_back(seen);
    return boxes;
  }
  // A picture of one grey (red = green = blue = level) saved under the program folder.
  std::string GreyPicture(const std::string& name, int width, int height, int level) {
    const std::string path = Folder() + name;
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(QColor(level, level, level));
    EXPECT_TRUE(image.save(QString::fromStdString(path), "BMP"));
    return path;
  }
  // The preview's dots as text, a row a line: '#' a dot, '.' none.
  std::string PreviewRows() {
    std::string rows;
    const QImage& dots = Find<TLogoPreview>("LogoPreview")->Dots();
    for (int y = 0; y < dots.height(); ++y) {
      for (int x = 0; x < dots.width(); ++x) rows += dots.pixelColor(x, y) == QColor(Qt::black) ? '#' : '.';
      rows += '\n';
    }
    return rows;
  }
  std::vector<uint8_t> FileBytes(const std::string& name) {
    const std::string text = ReadFileInFolder(name);
    return std::vector<uint8_t>(text.begin(), text.end());
  }
};

TEST_F(WindowLogoPage, AddListsTheRelativePathAndTheSpaceAndDropsWhatFails) {
  OpenWindow();
  Add(Picture("pics/a.bmp", 13, 5));
  Add(Picture("b.bmp", 8, 1));
  EXPECT_EQ(Items(), (QStringList{"pics/a.bmp", "b.bmp"}));
  // 3 + (4 + 2 x 8) + (4 + 1 x 8) bytes.
  EXPECT_EQ(PanelText(0), "SPACE: 0,035 Used, 65,501 Free");
  EXPECT_TRUE(Boxes().empty());
  // What Qt's reader refuses, what is too wide, what is not there.
  WriteFile("garbage.bmp", {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'});
  Add(Folder() + "garbage.bmp");
  Add(Picture("wide.bmp", 385, 2));
  Add(Folder() + "typed-but-missing.bmp");
  EXPECT_EQ(Items(), (QStringList{"pics/a.bmp", "b.bmp"}));
  EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Outcome("Picture invalid"), Outcome("Picture invalid"), Outcome("ERROR")}));
  EXPECT_EQ(Boxes()[0].Detail.toStdString().rfind("garbage.bmp: ", 0), 0u);
  EXPECT_EQ(PanelText(0), "SPACE: 0,035 Used, 65,501 Free");
}

TEST_F(WindowLogoPage, ActionsFollowTheListAndDeleteTakesTheSelectedEntryOrElseTheLast) {
  WriteConfig("[LOGO]\nQUANTITY=3\n");
  OpenWindow();
  auto* add = Find<QAction>("actAddLogo");
  for (const char* name : {"a.bmp", "b.bmp", "c.bmp", "d.bmp"}) {
    RunUntilIdle();
    EXPECT_TRUE(add->isEnabled()) << name;
    Add(Picture(name, 8, 8));
  }
  EXPECT_FALSE(add->isEnabled()) << "one more than the quantity";
  EXPECT_FALSE(Find<QPushButton>("btAddLogo")->isEnabled());
  auto* list = Find<QListWidget>("ListLogo");
  list->item(1)->setSelected(true);
  Click("btDeleteLogo");
  EXPECT_EQ(Items(), (QStringList{"a.bmp", "c.bmp", "d.bmp"}));
  RunUntilIdle();
  EXPECT_TRUE(add->isEnabled());
  list->clearSelection();
  Click("btDeleteLogo");
  EXPECT_EQ(Items(), (QStringList{"a.bmp", "c.bmp"}));
  Click("btDeleteLogo");
  Click("btDeleteLogo");
  RunUntilIdle();
  EXPECT_TRUE(Items().isEmpty());
  EXPECT_EQ(PanelText(0), "SPACE: 0,003 Used, 65,533 Free");
  EXPECT_FALSE(Find<QAction>("actDelete")->isEnabled());
}

TEST_F(WindowLogoPage, DownloadSendsLogoBinAtItsAddressWithItsCommand) {
  WriteConfig("[LOGO]\nCOMMAND=50\nPARA=4096\n");
  OpenWindow();
  Add(Picture("a.bmp", 384, 64));
  Add(Picture("b.bmp", 13, 5));
  ClickAndWait("btLOGO", 1);
  ASSERT_EQ(Boxes(), std::vector<TSeenBox>{Outcome("OK")});
  const std::vector<uint8_t> file = FileBytes("logo.bin");
  ASSERT_EQ(file.size(), 3u + 3076 + 20);
  EXPECT_EQ(Sim.DownloadRange(4096, file.size()), file);
  EXPECT_EQ(Sim.DownloadCommand(), 50);
  std::vector<uint32_t> addresses;
  for (const auto& request : Sim.Requests())
    if (request.Command == 50) addresses.push_back(request.Argument);
  EXPECT_EQ(addresses.front(), 4096u);
  EXPECT_EQ(addresses.size(), (file.size() + 255) / 256);
  EXPECT_EQ(PanelText(1), "DOWNLOAD logo.bin");
  EXPECT_EQ(QDir::currentPath(), QDir(QString::fromStdString(Folder())).canonicalPath());
}

TEST_F(WindowLogoPage, DownloadBeforeAnyAddSendsAnEmptyFile) {
  OpenWindow();
  ClickAndWait("btLOGO", 1);
  EXPECT_EQ(Boxes(), std::vector<TSeenBox>{Outcome("OK")});
  EXPECT_TRUE(FileInFolder("logo.bin"));
  EXPECT_TRUE(FileBytes("logo.bin").empty());
  for (const auto& request : Sim.Requests()) EXPECT_NE(request.Command, 45);
}

TEST_F(WindowLogoPage, SetShortOfItsCountIsNeverSent) {
  OpenWindow();
  const std::string first = Picture("a.bmp", 8, 8);
  Add(first);
  Add(Picture("b.bmp", 8, 8));
  ClickAndWait("btLOGO", 1);
  const std::vector<uint8_t> goodSet = FileBytes("logo.bin");
  ASSERT_EQ(goodSet.size(), 3u + 2 * 12);
  const size_t requests = Sim.RequestCount();

  // The first picture goes away; deleting the second rebuilds a set that stops at the first.
  std::filesystem::remove(first);
  Click("btDeleteLogo");
  Click("btLOGO");
  EXPECT_EQ(Boxes(), (std::vector<TSeenBox>{Outcome("OK"), Outcome("ERROR"), Outcome("ERROR")}));
  EXPECT_EQ(Sim.RequestCount(), requests) << "nothing sent";
  EXPECT_EQ(FileBytes("logo.bin"), goodSet) << "the last good logo.bin stays";
}

TEST_F(WindowLogoPage, PreviewShowsTheLogoAsItWillPrintUnderTheChosenRule) {
  OpenWindow();
  auto* preview = Find<TLogoPreview>("LogoPreview");
  auto* rules = Find<QComboBox>("ComboDots");
  auto* threshold = Find<QSpinBox>("SpinThreshold");
  ASSERT_TRUE(preview && rules && threshold);
  EXPECT_EQ(preview->Caption(), "no logo");
  EXPECT_EQ(rules->currentText(), "classic");
  EXPECT_EQ(threshold->value(), 128);

  Add(Picture("black.bmp", 6, 3));  // centred in 8 x 8: one blank column left, two rows above
  EXPECT_EQ(preview->Caption(), "1: 8 x 8 dots, 12 bytes");
  EXPECT_EQ(PreviewRows(), "........\n........\n.######.\n.######.\n.######.\n........\n........\n........\n");
  // Grey 128 prints nothing under classic at 128 (blue is not below it); the last added
  // is the one shown.
  Add(GreyPicture("grey.bmp", 8, 8, 128));
  EXPECT_EQ(preview->Caption(), "2: 8 x 8 dots, 12 bytes");
  EXPECT_EQ(PreviewRows().find('#'), std::string::npos);
  // ... and the operator is told; luma at 128 would not print it either.
  ASSERT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].Text, "WARNING");
  EXPECT_EQ(Boxes()[0].Detail, "logo 2 (grey.bmp) has no dot under the classic rule: nothing of it will print");
  Answerer.Seen.clear();

  // Another rule rebuilds the set and the preview: ordered prints grey 128 as a checkerboard.
  rules->setCurrentText("ordered");
  RunUntilIdle();
  EXPECT_EQ(PreviewRows(), ".#.#.#.#\n#.#.#.#.\n.#.#.#.#\n#.#.#.#.\n.#.#.#.#\n#.#.#.#.\n.#.#.#.#\n#.#.#.#.\n");
  const TLogoPage* page = Find<TLogoPage>("TabSheet3");
  ASSERT_NE(page, nullptr);
  EXPECT_EQ(page->LogoSet()[3 + 12 + 4], 0x55) << "the set itself, not only the preview";
  rules->setCurrentText("luma");
  threshold->setValue(129);
  RunUntilIdle();
  EXPECT_EQ(page->LogoSet()[3 + 12 + 4], 0xFF);
  EXPECT_EQ(PreviewRows().find('.'), std::string::npos);
  // Selecting an entry shows it.
  Find<QListWidget>("ListLogo")->item(0)->setSelected(true);
  EXPECT_EQ(preview->Caption(), "1: 8 x 8 dots, 12 bytes");
  EXPECT_TRUE(Boxes().empty());

  CloseWindow();
  const std::string config = ReadFileInFolder("config.ini");
  EXPECT_NE(config.find("DOTS=luma\r\nTHRESHOLD=129\r\n"), std::string::npos) << config;
}

TEST_F(WindowLogoPage, PreviewShrinksByAWholeDivisorAndLosesNoDot) {
  OpenWindow();
  auto* preview = Find<TLogoPreview>("LogoPreview");
  ASSERT_NE(preview, nullptr);
  Add(Picture("small.bmp", 8, 8));
  EXPECT_EQ(preview->ScaleText(), "");
  EXPECT_EQ(preview->Shown().size(), QSize(8, 8));

  // Taller than the canvas: two single dots, one a row below the top, one in the last row.
  const std::string tall = Folder() + "tall.bmp";
  QImage image(8, 400, QImage::Format_RGB32);
  image.fill(Qt::white);
  image.setPixel(1, 1, qRgb(0, 0, 0));
  image.setPixel(5, 399, qRgb(0, 0, 0));
  ASSERT_TRUE(image.save(QString::fromStdString(tall), "BMP"));
  Add(tall);
  const QString scale = preview->ScaleText();
  ASSERT_TRUE(scale.startsWith("1:")) << scale.toStdString();
  const int divisor = scale.mid(2).toInt();
  ASSERT_GE(divisor, 2);
  // The dots themselves, shrunk as the canvas shows them (each dot's square is the core's).
  EXPECT_EQ(preview->Dots().size(), QSize(8, 400));
  EXPECT_EQ(preview->Shown().size(), QSize((8 + divisor - 1) / divisor, (400 + divisor - 1) / divisor));
  EXPECT_EQ(preview->Shown().pixelColor(5 / divisor, 399 / divisor), QColor(Qt::black));
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(WindowLogoPage, TheListAndTheDialogFoldersComeBackAtTheNextStart) {
  const std::string a = Picture("pics/a.bmp", 8, 8);
  const std::string b = Picture("pics/b.bmp", 16, 8);
  const std::string c = Picture("c.bmp", 8, 8);
  const std::vector<uint8_t> image = FirmwareFile(1024);
  std::filesystem::create_directories(Folder() + "fw");
  WriteFile("fw/image.bin", image);
  OpenWindow();
  Add(a);
  Add(b);
  Add(c);
  Answerer.FileAnswers.push_back(QString::fromStdString(Folder() + "fw/image.bin"));
  ClickAndWait("btUpdate", 2);
  CloseWindow();

  std::filesystem::remove(b);
  Answerer.Seen.clear();
  OpenWindow();
  RunUntilIdle();
  EXPECT_EQ(Items(), (QStringList{"pics/a.bmp", "c.bmp"}));
  ASSERT_EQ(Boxes(), std::vector<TSeenBox>{Outcome("ERROR")});
  EXPECT_NE(Boxes()[0].Detail.indexOf("pics/b.bmp"), -1) << Boxes()[0].Detail.toStdString();
  EXPECT_EQ(PanelText(0), "SPACE: 0,027 Used, 65,509 Free");
  // ADD opens where the last picture was chosen, PROGRAM where the last image was.
  Answerer.FileAnswers = {QString(), QString()};
  Click("btAddLogo");
  Click("btUpdate");
  const QString root = QDir(QString::fromStdString(Folder())).absolutePath();
  std::vector<QString> folders;
  for (const TSeenBox& seen : Answerer.Seen)
    if (seen.Kind == "file dialog") folders.push_back(seen.Text);
  EXPECT_EQ(folders, (std::vector<QString>{root, root + "/fw"}));
  CloseWindow();
  const std::string config = ReadFileInFolder("config.ini");
  EXPECT_NE(config.find("[LOGOFILES]\r\nCOUNT=2\r\nFILE1=pics/a.bmp\r\nFILE2=c.bmp\r\nFILE3=\r\n"), std::string::npos)
      << config;
}

TEST_F(WindowLogoPage, DownloadWithABadBaudTextStillSavedTheFile) {
  OpenWindow();
  Add(Picture("a.bmp", 8, 8));
  SetText("ComboBaud", "fast");
  Click("btLOGO");
  EXPECT_EQ(Boxes().size(), 1u);
  EXPECT_EQ(Boxes()[0].Text, "'fast' is not a valid integer value.");
  EXPECT_EQ(FileBytes("logo.bin").size(), 15u);
  EXPECT_EQ(Sim.RequestCount(), 0u);
}

}  // namespace
}  // namespace printset
