// What the window takes from config.ini when it opens and gives back when it goes.
#include <QComboBox>
#include <QDate>
#include <QLineEdit>
#include <filesystem>
#include <sstream>

#include "WindowFixture.h"

namespace printset {
namespace {

class WindowConfig : public TWindowTest {
 protected:
  // The file's lines without their line ends.
  std::vector<std::string> ConfigLines() const {
    std::vector<std::string> lines;
    std::istringstream in(ReadFileInFolder("config.ini"));
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
                                                     "WIDTH=384"}));
  EXPECT_TRUE(Answerer.Seen.empty());
}

TEST_F(WindowConfig, WritesTheLogoValuesBackAsDecimals) {
  WriteConfig("[LOGO]\r\nSIZE=0x8000\r\nCOMMAND=0X2E\r\n[CODEPAGE]\r\nALPHA=3\r\n");
  OpenWindow();
  CloseWindow();

  EXPECT_EQ(ConfigLines(), (std::vector<std::string>{"[LOGO]", "SIZE=32768", "COMMAND=46", "QUANTITY=8", "PARA=0",
                                                     "WIDTH=384", "[CODEPAGE]", "ALPHA=3"}));
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

TEST_F(WindowConfig, PortsSectionNamesTheDevice) {
  WriteConfig("[PORTS]\r\nCOM3=" + Sim.DevicePath() + "\r\n");
  OpenWindow();
  SetText("ComboPort", "COM3");

  Click("btSet");

  EXPECT_EQ(Answerer.Seen, std::vector<TSeenBox>{Outcome("OK")});
  EXPECT_EQ(Sim.ParameterBlock().size(), 8u);
}

TEST_F(WindowConfig, NetworkSectionIsThePrinterBehindTcpIp) {
  TSimPrinter network;
  ASSERT_TRUE(network.StartUdp(0)) << network.LastError();
  WriteConfig("[NETWORK]\r\nHOST=127.0.0.1\r\nPORT=" + std::to_string(network.UdpPort()) + "\r\n");
  OpenWindow();
  // SET drops the trailing blank and so takes the network.
  SetText("ComboPort", "TCP/IP ");

  Click("btSet");

  EXPECT_EQ(Answerer.Seen, std::vector<TSeenBox>{Outcome("OK")});
  EXPECT_EQ(network.ParameterBlock().size(), 8u);
  EXPECT_EQ(Sim.RequestCount(), 0u);
}

}  // namespace
}  // namespace printset
