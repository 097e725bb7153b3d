// "PROGRAM" on the UPDATE page: the file choice, the image check, the transfer, and how
// the window behaves while the transfer runs.
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

TEST_F(WindowProgramButton, ProgramsTheChosenImage) {
  OpenWindow();
  const std::vector<uint8_t> image = FirmwareFile(1024);
  WriteFile("firmware.bin", image);
  Choose("firmware.bin");

  Click("btUpdate");

  EXPECT_EQ(Answerer.Seen, (std::vector<TSeenBox>{FileDialog(), Outcome("OK")}));
  EXPECT_EQ(Sim.FirmwareImage(), image);
  ASSERT_FALSE(Sim.ModeRequests().empty());
  EXPECT_EQ(Sim.ModeRequests().back(), kSimModeEndProgramming);
  EXPECT_EQ(PanelText(0), "Finished: 100.0%(4/4)");
  // The program folder became the current folder.
  EXPECT_EQ(QDir::currentPath(), QDir(QString::fromStdString(Folder())).canonicalPath());
}

TEST_F(WindowProgramButton, RefusesAnInvalidImageWithoutSending) {
  OpenWindow();
  std::vector<uint8_t> image = FirmwareFile(1024);
  image[700] ^= 0x01;
  WriteFile("broken.bin", image);
  std::vector<uint8_t> tooShort = FirmwareFile(256);
  tooShort.pop_back();
  WriteFile("short.bin", tooShort);
  Choose("broken.bin");
  Choose("short.bin");

  Click("btUpdate");
  Click("btUpdate");

  const TSeenBox invalid{"box", "Print Tool", "Invalid file", QMessageBox::Critical};
  EXPECT_EQ(Answerer.Seen, (std::vector<TSeenBox>{FileDialog(), invalid, FileDialog(), invalid}));
  EXPECT_EQ(Sim.RequestCount(), 0u);
  EXPECT_FALSE(FileInFolder("debug.log"));
}

TEST_F(WindowProgramButton, CancelledDialogDoesNothing) {
  OpenWindow();
  Answerer.FileAnswers.push_back(QString());  // cancel
  Click("btUpdate");

  EXPECT_EQ(Answerer.Seen, std::vector<TSeenBox>{FileDialog()});
  EXPECT_EQ(Sim.RequestCount(), 0u);
  EXPECT_TRUE(PanelText(0).isEmpty());
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
  // looked at, so the look always falls inside the transfer, however busy the machine.
  std::promise<void> lookedAt;
  std::shared_future<void> released = lookedAt.get_future().share();
  Sim.Stop();
  Sim.OnRequest([released](const TSimRequest& request, const std::string&) {
    if (request.Command == 0x2E && request.Argument == 256) released.wait_for(std::chrono::seconds(60));
  });
  ASSERT_TRUE(Sim.StartPty()) << Sim.LastError();
  OpenWindow();
  WriteFile("firmware.bin", FirmwareFile(4096));
  Choose("firmware.bin");
  auto* set = Find<QPushButton>("btSet");
  auto* program = Find<QPushButton>("btUpdate");
  auto* download = Find<QPushButton>("btLOGO");
  ASSERT_TRUE(set && program && download);

  // Looked at when the first progress report reaches the window, in the middle of the wait.
  bool looked = false;
  bool anyEnabled = true;
  bool closed = true;
  bool visible = false;
  QString busyText;
  TEventProbe probe(Window.get(), kEventProgress, [&] {
    if (looked) return;
    looked = true;
    anyEnabled = set->isEnabled() || program->isEnabled() || download->isEnabled();
    set->click();
    closed = Window->close();
    visible = Window->isVisible();
    busyText = PanelText(1);
    lookedAt.set_value();
  });

  Click("btUpdate");

  ASSERT_TRUE(looked);
  EXPECT_FALSE(anyEnabled);
  EXPECT_FALSE(closed);
  EXPECT_TRUE(visible);
  EXPECT_FALSE(busyText.isEmpty());
  // The click on the disabled SET started nothing: one programming run, no parameters.
  EXPECT_EQ(Answerer.Seen, (std::vector<TSeenBox>{FileDialog(), Outcome("OK")}));
  EXPECT_TRUE(Sim.ParameterBlock().empty());
  EXPECT_EQ(Sim.FirmwareImage(), FirmwareFile(4096));
  EXPECT_TRUE(set->isEnabled() && program->isEnabled() && download->isEnabled());
  EXPECT_TRUE(PanelText(1).isEmpty());
  EXPECT_TRUE(Window->close());
}

}  // namespace
}  // namespace printset
