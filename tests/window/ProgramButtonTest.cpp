// "PROGRAM" on the UPDATE page: the file dialog, an image refused, and the window while
// the transfer runs.
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QPushButton>
#include <QRegularExpression>

#include <chrono>
#include <future>

#include "WindowFixture.h"

namespace printset {
namespace {

class WindowProgramButton : public TWindowTest {
 protected:
  void Choose(const std::string& name) { Answerer.FileAnswers.push_back(QString::fromStdString(Folder() + name)); }
  TSeenBox FileDialog() const {
    return {"file dialog", "OpenDialog1", QDir(QString::fromStdString(Folder())).absolutePath(), QMessageBox::NoIcon};
  }
};

TEST_F(WindowProgramButton, RefusesAnInvalidImageWithoutSending) {
  OpenWindow();
  std::vector<uint8_t> image = FirmwareFile(1024);
  image[700] ^= 0x01;
  WriteFile("broken.bin", image);
  Choose("broken.bin");

  Click("btUpdate");

  const TSeenBox invalid{"box", "Print Tool", "Invalid file", QMessageBox::Critical};
  EXPECT_EQ(Answerer.Seen, (std::vector<TSeenBox>{FileDialog(), invalid}));
  EXPECT_EQ(Sim.RequestCount(), 0u);
  EXPECT_FALSE(FileInFolder("debug.log"));
}

// The file types keep their captions, but "ALL FILE(*.*)" must not hide a file without a dot.
TEST_F(WindowProgramButton, AllFilesMeansEveryFile) {
  OpenWindow();
  Answerer.FileAnswers.push_back(QString());  // cancel
  Click("btUpdate");
  auto* dialog = Find<QFileDialog>("OpenDialog1");
  ASSERT_NE(dialog, nullptr);
  auto* types = dialog->findChild<QComboBox*>("fileTypeCombo");
  auto* model = dialog->findChild<QFileSystemModel*>();
  ASSERT_TRUE(types && model);
  QStringList captions;
  for (int i = 0; i < types->count(); ++i) captions << types->itemText(i);
  EXPECT_EQ(captions, (QStringList{"BINARY FILE(*.bin)", "ALL FILE(*.*)"}));

  struct TRow {
    int Type;
    const char* File;
    bool Shown;
  };
  const TRow rows[] = {{0, "image.bin", true}, {0, "image", false},     {0, "notes.txt", false},
                       {1, "image.bin", true}, {1, "firmware", true},   {1, "notes.txt", true}};
  for (const TRow& row : rows) {
    dialog->selectNameFilter(dialog->nameFilters().value(row.Type));
    bool shown = false;
    for (const QString& pattern : model->nameFilters())
      shown = shown || QRegularExpression(QRegularExpression::wildcardToRegularExpression(pattern)).match(row.File).hasMatch();
    EXPECT_EQ(shown, row.Shown) << captions.value(row.Type).toStdString() << " " << row.File;
  }
}

TEST_F(WindowProgramButton, WindowStaysWhileTheTransferRuns) {
  // The printer holds back its answer to the second block until the window has been
  // looked at: the click has returned, and the transfer runs.
  std::promise<void> lookedAt;
  std::shared_future<void> released = lookedAt.get_future().share();
  Sim.Stop();
  Sim.OnRequest([released](const TSimRequest& request, const std::string&) {
    if (request.Command == kSimCommandFirmwareBlock && request.Argument == 256)
      released.wait_for(std::chrono::seconds(60));
  });
  ASSERT_TRUE(Sim.StartPty()) << Sim.LastError();
  OpenWindow();
  WriteFile("firmware.bin", FirmwareFile(4096));
  Choose("firmware.bin");
  auto* set = Find<QPushButton>("btSet");
  auto* program = Find<QPushButton>("btUpdate");
  auto* download = Find<QPushButton>("btLOGO");
  ASSERT_TRUE(set && program && download);

  Click("btUpdate");
  ASSERT_TRUE(Sim.WaitForRequests(1, 60000));
  EXPECT_FALSE(set->isEnabled() || program->isEnabled() || download->isEnabled());
  set->click();
  EXPECT_FALSE(Window->close());
  EXPECT_TRUE(Window->isVisible());
  EXPECT_EQ(PanelText(1), "BUSY: wait for the end");
  lookedAt.set_value();
  ASSERT_TRUE(WaitForBoxes(2));

  // The click on the disabled SET started nothing: one programming run, no parameters.
  EXPECT_EQ(Answerer.Seen, (std::vector<TSeenBox>{FileDialog(), Outcome("OK")}));
  EXPECT_TRUE(Sim.ParameterBlock().empty());
  EXPECT_EQ(Sim.FirmwareImage(), FirmwareFile(4096));
  ASSERT_FALSE(Sim.ModeRequests().empty());
  EXPECT_EQ(Sim.ModeRequests().back(), kSimModeEndProgramming);
  EXPECT_EQ(PanelText(0), "Finished: 100.0%(16/16)");
  // The program folder became the current folder.
  EXPECT_EQ(QDir::currentPath(), QDir(QString::fromStdString(Folder())).canonicalPath());
  EXPECT_TRUE(set->isEnabled() && program->isEnabled() && download->isEnabled());
  EXPECT_TRUE(PanelText(1).isEmpty());
  EXPECT_TRUE(Window->close());
}

}  // namespace
}  // namespace printset
