// What the window takes from config.ini when it opens and gives back when it goes.
#include <QComboBox>
#include <QDate>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QStatusBar>
#include <QListWidget>
#include <filesystem>
#include <sstream>

#include "WindowFixture.h"
#include "support/TestFiles.h"

namespace printset {
namespace {

class WindowConfig : public TWindowTest {
 protected:
  // The file's lines without their line ends.
  std::vector<std::string> ConfigLines() const {
    std::vector<std::string> lines;
    std::istringstream in(ReadTextFile(Paths.ConfigFile()));
    for (std::string line; std::getline(in, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
    }
    return lines;
  }
};

TEST_F(WindowConfig, FirstStartWithoutConfigCreatesIt) {
  OpenWindow();
  auto* codePages = Find<QComboBox>("ComboCodePage");
  ASSERT_NE(codePages, nullptr);
  EXPECT_EQ(codePages->count(), 0);
  EXPECT_EQ(codePages->currentIndex(), -1);
  EXPECT_EQ(Find<QLineEdit>("edString")->displayText(), QDate::currentDate().toString("yyMMdd"));
  EXPECT_TRUE(PanelText(0).isEmpty());
  EXPECT_TRUE(PanelText(1).isEmpty());
  EXPECT_FALSE(FileInFolder("config.ini"));

  CloseWindow();

  EXPECT_EQ(ConfigLines(), (std::vector<std::string>{"[LOGO]", "SIZE=65536", "QUANTITY=8", "COMMAND=45", "PARA=0",
                                                     "WIDTH=384", "DOTS=classic", "THRESHOLD=128", "",
                                                     "[WINDOW]", "PORT=" + Sim.DevicePath(), "BAUD=9600"}));
  EXPECT_TRUE(Answerer.Seen.empty());
}

// A file without [CODEPAGE] stays as it is; the status bar says how to get the list,
// whole, until the first operation.
TEST_F(WindowConfig, AFileWithoutCodePagesGetsAHintInTheStatusBar) {
  const struct {
    const char* Config;
    bool Hint;
  } rows[] = {{"; mine\r\n[LOGO]\r\nSIZE=4096\r\n", true}, {"[CODEPAGE]\r\n", false}, {"[CODEPAGE]\r\nA=1\r\n", false}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.Config);
    WriteConfig(row.Config);
    OpenWindow();
    auto* bar = Find<QStatusBar>("StatusBar1");
    const QString hint = bar->currentMessage();
    EXPECT_EQ(hint.contains("printset-cli codepages --add"), row.Hint) << hint.toStdString();
    if (row.Hint) {
      EXPECT_GE(bar->width(), bar->fontMetrics().horizontalAdvance(hint)) << "the whole line shows";
      ClickAndWait("btSet", 1);
      EXPECT_EQ(Answerer.Seen.back(), Outcome("OK"));
      EXPECT_EQ(bar->currentMessage(), "") << "the panels show the operation";
    }
    CloseWindow();
    EXPECT_EQ(ReadFileInFolder("config.ini").rfind(row.Config, 0), 0u) << "the file's own lines stay";
  }
}

TEST_F(WindowConfig, WritesTheLogoValuesBackAsDecimals) {
  WriteConfig("[LOGO]\r\nSIZE=0x8000\r\nCOMMAND=0X2E\r\n[CODEPAGE]\r\nALPHA=3\r\n");
  OpenWindow();
  CloseWindow();

  EXPECT_EQ(ConfigLines(), (std::vector<std::string>{"[LOGO]", "SIZE=32768", "COMMAND=46", "QUANTITY=8", "PARA=0",
                                                     "WIDTH=384", "DOTS=classic", "THRESHOLD=128", "[CODEPAGE]",
                                                     "ALPHA=3", "", "[WINDOW]",
                                                     "PORT=" + Sim.DevicePath(), "BAUD=9600"}));
}

// As in per-user mode: config.ini in one folder, which logo entries are shown relative to
// and dialogs open in, debug.log and logo.bin in another. The PORT and BAUD RATE of the
// last run come back; the sections the window does not own stay as they were.
TEST_F(WindowConfig, PerUserFoldersAndThePortAndBaudRateOfTheLastRun) {
  Paths.Portable = false;
  Paths.ConfigFolder = Folder() + "config/";
  Paths.StateFolder = Folder() + "state/";
  std::filesystem::create_directories(Paths.ConfigFolder + "pics");
  std::filesystem::create_directories(Paths.StateFolder);
  WriteTextFile(Paths.ConfigFile(), "; mine\r\n[WINDOW]\r\nPORT=" + Sim.DevicePath() +
                                        "\r\nBAUD=19200\r\n[OTHER]\r\nKEY=1\r\n");
  const std::string picture = Paths.ConfigFolder + "pics/a.bmp";
  QImage image(8, 8, QImage::Format_RGB32);
  image.fill(Qt::black);
  ASSERT_TRUE(image.save(QString::fromStdString(picture), "BMP"));

  Window = std::make_unique<TfrmMain>(Paths);
  EXPECT_EQ(Find<QComboBox>("ComboPort")->currentText().toStdString(), Sim.DevicePath());
  EXPECT_EQ(Find<QComboBox>("ComboBaud")->currentIndex(), 2) << "19200, the box's own item";
  Answerer.FileAnswers.push_back(QString::fromStdString(picture));
  Click("btAddLogo");
  EXPECT_EQ(Find<QListWidget>("ListLogo")->item(0)->text(), "pics/a.bmp");
  ClickAndWait("btSet", 1);
  ClickAndWait("btLOGO", 1);
  SetText("ComboPort", "COM3");
  SetText("ComboBaud", "115200");
  CloseWindow();

  const QString configFolder = QDir(QString::fromStdString(Paths.ConfigFolder)).absolutePath();
  EXPECT_EQ(Answerer.Seen, (std::vector<TSeenBox>{{"file dialog", "OpenPictureDialog1", configFolder},
                                                  Outcome("OK"), Outcome("OK")}));
  // The list and the folder ADD was left in come back at the next start.
  EXPECT_EQ(ConfigLines(), (std::vector<std::string>{"; mine", "[WINDOW]", "PORT=COM3", "BAUD=115200",
                                                     "PICTURES=" + Paths.ConfigFolder + "pics/", "[OTHER]", "KEY=1",
                                                     "", "[LOGO]", "SIZE=65536", "QUANTITY=8", "COMMAND=45", "PARA=0",
                                                     "WIDTH=384", "DOTS=classic", "THRESHOLD=128", "",
                                                     "[LOGOFILES]", "COUNT=1", "FILE1=pics/a.bmp"}));
  EXPECT_EQ(ReadTextFile(Paths.StateFolder + "logo.bin").size(), 3u + 4 + 8);
  EXPECT_NE(ReadTextFile(Paths.StateFolder + "debug.log").find("OPEN"), std::string::npos);
  for (const char* name : {"debug.log", "logo.bin"}) {
    EXPECT_FALSE(std::filesystem::exists(Paths.ConfigFolder + name)) << name;
    EXPECT_FALSE(FileInFolder(name)) << name;
  }
}

TEST_F(WindowConfig, ConfigThatCannotBeWrittenIsReported) {
  // A folder where the file should be: it reads as empty and cannot be written.
  std::filesystem::create_directory(Folder() + "config.ini");
  OpenWindow();
  CloseWindow();

  EXPECT_EQ(Answerer.Seen, (std::vector<TSeenBox>{{"box", "window_tests",
                                                   QString::fromStdString("Unable to write to " + Folder() + "config.ini."),
                                                   QMessageBox::Critical}}));
}

}  // namespace
}  // namespace printset
