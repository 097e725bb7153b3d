// "SET" on the PARA page: the boxes read, the block sent, and the outcome shown. What is
// decided of the outcome is the core's (tests/frontend); this is the real window.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "WindowFixture.h"

namespace printset {
namespace {

using TBytes = std::vector<uint8_t>;

class WindowSetButton : public TWindowTest {};

TEST_F(WindowSetButton, SendsTheBlockAndFollowsTheRateItMovedTheLinkTo) {
  WriteConfig("[CODEPAGE]\r\nPC437=0\r\nKATAKANA=1\r\n");
  OpenWindow();
  QApplication::setActiveWindow(Window.get());
  auto* set = Find<QPushButton>("btSet");
  ASSERT_NE(set, nullptr);
  set->setFocus();
  SetText("ComboSetBaudRate", "115200");
  SetText("ComboCodePage", "KATAKANA");
  // The third and sixth positions are left blank; they pack like "0".
  Find<QLineEdit>("edString")->setText("12 45 ");

  ClickAndWait("btSet", 1);

  EXPECT_EQ(Answerer.Seen, std::vector<TSeenBox>{Outcome("OK")});
  EXPECT_EQ(Answerer.Seen[0].Detail, "The printer now listens at 115200 baud; the BAUD RATE box at the top is set to it.");
  EXPECT_TRUE(Answerer.Seen[0].Selectable) << "the texts can be selected and copied";
  EXPECT_EQ(Sim.ParameterBlock(), (TBytes{0x00, 0x01, 0xC2, 0x00, 0x01, 0x12, 0x04, 0x50}));
  const auto requests = Sim.Requests();
  ASSERT_FALSE(requests.empty());
  EXPECT_EQ(requests.back().Command, 0x60);
  EXPECT_EQ(requests.back().Argument, 0u);
  // The request travelled at the link rate of the box at the top, which follows the printer.
  EXPECT_EQ(Sim.LineBaudRate(), 9600);
  EXPECT_EQ(Find<QComboBox>("ComboBaud")->currentText(), "115200");
  EXPECT_TRUE(FileInFolder("debug.log"));
  // Greyed out while it ran, the button has the focus back: Space runs it again.
  EXPECT_TRUE(set->isEnabled());
  EXPECT_EQ(Window->focusWidget(), set);
}

TEST_F(WindowSetButton, OffersTheSearchWhenNothingAnswersOnTheLine) {
  OpenWindow();
  Sim.SetListeningRate(38400);
  SetText("ComboBaud", "9600");
  Answerer.ButtonAnswers.push_back("Search other rates");

  ClickAndWait("btSet", 2);

  ASSERT_EQ(Answerer.Seen.size(), 2u);
  EXPECT_EQ(Answerer.Seen[0], Outcome("ERROR"));
  EXPECT_EQ(Answerer.Seen[0].Detail.toStdString(),
            "no valid reply from the printer (result code 3)\nno printer answered on " + Sim.DevicePath() +
                ": check that it is switched on, its cable, the port and the baud rate (Search other rates tries "
                "every rate)");
  EXPECT_TRUE(Answerer.Seen[0].Selectable) << "the reason can be selected and copied";
  EXPECT_EQ(Answerer.Seen[1], Outcome("Printer found at 38400 baud"));
  EXPECT_EQ(Find<QComboBox>("ComboBaud")->currentText(), "38400");
  // Only identify requests reached it: SET is the operator's to press again.
  for (const TSimRequest& request : Sim.Requests()) EXPECT_EQ(request.Command, kSimCommandIdentify);
  EXPECT_TRUE(Sim.ParameterBlock().empty());
}

}  // namespace
}  // namespace printset
