// "SET" on the PARA page, from the boxes to the printer and back to the operator's box.
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include <functional>

#include "WindowFixture.h"

namespace printset {
namespace {

using TBytes = std::vector<uint8_t>;

class WindowSetButton : public TWindowTest {
 protected:
  void SetString(const QString& text) {
    if (auto* edit = Find<QLineEdit>("edString")) edit->setText(text);
  }
};

TEST_F(WindowSetButton, SendsTheParameterBlockAndReportsOk) {
  WriteConfig("[CODEPAGE]\r\nPC437=0\r\nKATAKANA=1\r\n");
  OpenWindow();
  SetText("ComboSetBaudRate", "  9600");
  SetString("123456");

  Click("btSet");

  EXPECT_EQ(Answerer.Seen, std::vector<TSeenBox>{Outcome("OK")});
  EXPECT_EQ(Sim.ParameterBlock(), (TBytes{0x00, 0x00, 0x25, 0x80, 0x00, 0x12, 0x34, 0x56}));
  const auto requests = Sim.Requests();
  ASSERT_FALSE(requests.empty());
  EXPECT_EQ(requests.back().Command, 0x60);
  EXPECT_EQ(requests.back().Argument, 0u);
  // The request travels at the link rate of the box at the top.
  EXPECT_EQ(Sim.LineBaudRate(), 9600);
  EXPECT_TRUE(FileInFolder("debug.log"));
}

TEST_F(WindowSetButton, PacksTheStringAndTheNewBaudRate) {
  OpenWindow();
  SetText("ComboSetBaudRate", "115200");
  // The third and sixth positions are left blank; they pack like "0".
  SetString("12 45 ");
  ASSERT_EQ(Find<QLineEdit>("edString")->displayText(), "12 45 ");

  Click("btSet");

  EXPECT_EQ(Answerer.Seen, std::vector<TSeenBox>{Outcome("OK")});
  EXPECT_EQ(Sim.ParameterBlock(), (TBytes{0x00, 0x01, 0xC2, 0x00, 0x00, 0x12, 0x04, 0x50}));
  // The printer listens at its new rate now, and so does the window's next operation.
  EXPECT_EQ(Answerer.Seen[0].Detail, "The printer now listens at 115200 baud; the BAUD RATE box at the top is set to it.");
  EXPECT_EQ(Find<QComboBox>("ComboBaud")->currentText(), "115200");
}

TEST_F(WindowSetButton, APrinterThatDoesNotAnswerCanBeSearchedForAtTheOtherRates) {
  OpenWindow();
  Sim.SetListeningRate(38400);
  SetText("ComboBaud", "9600");
  Answerer.ButtonAnswers.push_back("Search other rates");

  Click("btSet");

  ASSERT_EQ(Answerer.Seen.size(), 2u);
  EXPECT_EQ(Answerer.Seen[0], Outcome("ERROR"));
  EXPECT_EQ(Answerer.Seen[1], Outcome("Printer found at 38400 baud"));
  EXPECT_EQ(Find<QComboBox>("ComboBaud")->currentText(), "38400");
  // Only identify requests reached it: SET is the operator's to press again.
  for (const TSimRequest& request : Sim.Requests()) EXPECT_EQ(request.Command, kSimCommandIdentify);
  EXPECT_TRUE(Sim.ParameterBlock().empty());
}

TEST_F(WindowSetButton, SendsTheCodePageValueOfTheSelectedName) {
  WriteConfig("[LOGO]\r\nSIZE=4096\r\n[CODEPAGE]\r\nALPHA=3\r\nBETA=x\r\nGAMMA=0x1F\r\n");
  OpenWindow();
  auto* codePages = Find<QComboBox>("ComboCodePage");
  ASSERT_NE(codePages, nullptr);
  ASSERT_EQ(codePages->count(), 3);
  EXPECT_EQ(codePages->itemText(0), "ALPHA");
  EXPECT_EQ(codePages->itemText(1), "BETA");
  EXPECT_EQ(codePages->itemText(2), "GAMMA");
  EXPECT_EQ(codePages->currentIndex(), 0);

  struct TRow {
    int Index;      // chosen from the list; -1: Text typed over the box
    QString Text;
    int Sent;       // the code page byte of the block sent; -1: refused, nothing sent
    QString Shown;  // what the box shows afterwards
  };
  const TRow rows[] = {
      {0, {}, 3, "ALPHA"},
      {1, {}, 0, "BETA"},
      {2, {}, 31, "GAMMA"},
      // Typed text that is an entry's name, blanks aside, chooses that entry.
      {-1, " BETA ", 0, "BETA"},
      {-1, "GAMMA", 31, "GAMMA"},
      // Anything else is refused: never code page 0 behind a box that names another.
      {-1, "PC737 (Greek)", -1, "PC737 (Greek)"},
      {-1, "gamma", -1, "gamma"},
  };
  for (const TRow& row : rows) {
    if (row.Index >= 0) codePages->setCurrentIndex(row.Index);
    else codePages->setCurrentText(row.Text);
    Sim.ClearRecords();
    Answerer.Seen.clear();
    Click("btSet");
    const std::string which = codePages->currentText().toStdString();
    EXPECT_EQ(codePages->currentText(), row.Shown) << which;
    if (row.Sent >= 0) {
      EXPECT_EQ(Answerer.Seen, std::vector<TSeenBox>{Outcome("OK")}) << which;
      ASSERT_EQ(Sim.ParameterBlock().size(), 8u) << which;
      EXPECT_EQ(Sim.ParameterBlock()[4], row.Sent) << which;
    } else {
      EXPECT_EQ(Answerer.Seen,
                (std::vector<TSeenBox>{{"box", "window_tests",
                                        "'" + row.Text + "' is not a code page of the list; "
                                        "choose one of 'ALPHA', 'BETA', 'GAMMA'.",
                                        QMessageBox::Critical}}))
          << which;
      EXPECT_EQ(Sim.RequestCount(), 0u) << which;
    }
  }
}

TEST_F(WindowSetButton, SoundThatCannotPlayLeavesTheBoxAlone) {
  const std::string noise = "RIFF....WAVEnot really a sound";
  WriteFile("ok.wav", std::vector<uint8_t>(noise.begin(), noise.end()));
  OpenWindow();

  Click("btSet");
  Click("btSet");

  EXPECT_EQ(Answerer.Seen, std::vector<TSeenBox>(2, Outcome("OK")));
}

TEST_F(WindowSetButton, SilentPrinterGivesErrorAndLeavesTheTrace) {
  Sim.SetNoReply(kSimCommandIdentify);
  OpenWindow();

  Click("btSet");

  EXPECT_EQ(Answerer.Seen, std::vector<TSeenBox>{Outcome("ERROR")});
  EXPECT_TRUE(Sim.ParameterBlock().empty());
  // The identify request that went unanswered is in the trace.
  EXPECT_NE(ReadFileInFolder("debug.log").find("DEVICE??"), std::string::npos) << ReadFileInFolder("debug.log");
}

TEST_F(WindowSetButton, ErrorBoxGivesTheReasonBeneath) {
  TSimPrinter network;
  ASSERT_TRUE(network.StartUdp(0)) << network.LastError();
  network.SetNoReply(kSimCommandIdentify);
  const QString udpPort = QString("TCP/IP:127.0.0.1:%1").arg(network.UdpPort());
  OpenWindow();
  struct TRow {
    QString Port;  // empty: the simulated printer
    std::function<void()> Fault;
    QString Reason;
  };
  const TRow rows[] = {
      {QString::fromStdString(Folder() + "ttyNone"), [] {},
       QString::fromStdString("the port could not be opened (result code 1)\n" + Folder() +
                              "ttyNone: No such file or directory")},
      {"TCP/IP", [] {},
       "the port could not be opened (result code 1)\n"
       "TCP/IP: no printer address configured (HOST in [NETWORK] of config.ini)"},
      {QString(), [this] { Sim.SetIdentity(std::string("BAD\x01\x7FXYZ", 8)); },
       "the printer's identity is not accepted (result code 5)\nthe printer answered as \"BAD\\x01\\x7FXYZ\"; "
       "accepted are \"PRN 7401\", \"PRN 74XX\""},
      {QString(), [this] { Sim.SetNoReply(kSimCommandParameters); },
       "no valid reply from the printer (result code 3)"},
      // Silent on UDP, which has no rate to search: no search is offered.
      {udpPort, [] {},
       "no valid reply from the printer (result code 3)\nno printer answered at " + udpPort +
           ": check the printer's address, that it is switched on, and the network"},
  };
  for (const TRow& row : rows) {
    Sim.SetIdentity(kSimDefaultIdentity);
    Sim.ClearFaults();
    row.Fault();
    SetText("ComboPort", row.Port.isEmpty() ? QString::fromStdString(Sim.DevicePath()) : row.Port);
    Answerer.Seen.clear();
    // Taken only where the box offers it; none of these failures may.
    Answerer.ButtonAnswers = {"Search other rates"};
    Click("btSet");
    ASSERT_EQ(Answerer.Seen.size(), 1u) << row.Reason.toStdString();
    EXPECT_EQ(Answerer.Seen[0], Outcome("ERROR"));
    EXPECT_EQ(Answerer.Seen[0].Detail, row.Reason);
    EXPECT_TRUE(Answerer.Seen[0].Selectable) << "the reason can be selected and copied";
  }
}

TEST_F(WindowSetButton, BaudTextThatIsNoRateOfThePrinterStopsBeforeTheJob) {
  OpenWindow();
  SetText("ComboSetBaudRate", "abc");
  Click("btSet");
  SetText("ComboSetBaudRate", "12345");
  Click("btSet");
  SetText("ComboSetBaudRate", "  9600");
  SetText("ComboBaud", "96OO");
  Click("btSet");
  SetText("ComboBaud", "9601");
  Click("btSet");

  const QString rates = "; choose one of 4800, 9600, 19200, 38400, 57600, 115200.";
  EXPECT_EQ(Answerer.Seen,
            (std::vector<TSeenBox>{{"box", "window_tests", "'abc' is not a valid integer value.", QMessageBox::Critical},
                                   {"box", "window_tests", "'12345' is not a baud rate of the printer" + rates,
                                    QMessageBox::Critical},
                                   {"box", "window_tests", "'96OO' is not a valid integer value.", QMessageBox::Critical},
                                   {"box", "window_tests", "'9601' is not a baud rate of the printer" + rates,
                                    QMessageBox::Critical}}));
  EXPECT_EQ(Sim.RequestCount(), 0u);
  EXPECT_FALSE(FileInFolder("debug.log"));
}

TEST_F(WindowSetButton, FocusGoesBackToTheButtonAndEveryOperationTrimsThePort) {
  OpenWindow();
  auto* pages = Find<QTabWidget>("PageControl1");
  auto* program = Find<QPushButton>("btUpdate");
  ASSERT_TRUE(pages && program);
  const QString port = QString::fromStdString(" " + Sim.DevicePath() + " ");
  SetText("ComboPort", port);
  const std::vector<uint8_t> image = FirmwareFile(512);
  const QString file = QString::fromStdString(WriteFile("good.bin", image));
  Answerer.FileAnswers = {file, file};
  pages->setCurrentIndex(1);
  QApplication::setActiveWindow(Window.get());
  program->setFocus();

  // Pressed once with the mouse, then again with Space where the focus came back to.
  Click("btUpdate");
  ASSERT_EQ(Window->focusWidget(), program);
  QWidget* focused = Window->focusWidget();
  QKeyEvent press(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, " ");
  QApplication::sendEvent(focused, &press);
  QApplication::sendEvent(focused, &release);

  ASSERT_EQ(Answerer.Seen.size(), 4u);
  EXPECT_EQ(Answerer.Seen[0].Kind, "file dialog");
  EXPECT_EQ(Answerer.Seen[1], Outcome("OK")) << Answerer.Seen[1].Detail.toStdString();
  EXPECT_EQ(Answerer.Seen[2].Kind, "file dialog");
  EXPECT_EQ(Answerer.Seen[3], Outcome("OK")) << Answerer.Seen[3].Detail.toStdString();
  EXPECT_EQ(Sim.FirmwareImage(), image);
  EXPECT_EQ(Window->focusWidget(), program);
  // The blanks are the operator's to keep: only what is sent is trimmed.
  EXPECT_EQ(Find<QComboBox>("ComboPort")->currentText(), port);
}

}  // namespace
}  // namespace printset
