#include "WindowFixture.h"

#include "support/TestFiles.h"

#include <QAbstractEventDispatcher>
#include <QEventLoop>
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QEvent>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMetaObject>
#include <QPushButton>
#include <QTimer>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>

namespace printset {

namespace {

// One QApplication for the whole process, made before the first test and gone after the
// last (each test runs in its own process under CTest, several when run by hand).
class TQtEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { Application = std::make_unique<QApplication>(Argc, Argv); }
  void TearDown() override { Application.reset(); }

 private:
  int Argc = 1;
  char Name[16] = "window_tests";
  char* Argv[2] = {Name, nullptr};
  std::unique_ptr<QApplication> Application;
};

[[maybe_unused]] ::testing::Environment* const kQtEnvironment =
    ::testing::AddGlobalTestEnvironment(new TQtEnvironment);

}  // namespace

bool operator==(const TSeenBox& a, const TSeenBox& b) {
  return a.Kind == b.Kind && a.Caption == b.Caption && a.Text == b.Text && a.Icon == b.Icon;
}

void PrintTo(const TSeenBox& box, std::ostream* out) {
  *out << "{" << box.Kind.toStdString() << ", caption \"" << box.Caption.toStdString() << "\", \""
       << box.Text.toStdString() << "\", icon " << static_cast<int>(box.Icon) << ", detail \""
       << box.Detail.toStdString() << "\"}";
}

TModalAnswerer::TModalAnswerer() { qApp->installEventFilter(this); }

TModalAnswerer::~TModalAnswerer() {
  if (qApp) qApp->removeEventFilter(this);
}

bool TModalAnswerer::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Show) {
    auto* dialog = qobject_cast<QDialog*>(watched);
    // Queued, so that the answer comes from inside the dialog's own event loop.
    if (dialog && dialog->isModal())
      QMetaObject::invokeMethod(
          this, [this, target = QPointer<QDialog>(dialog)] { Answer(target); }, Qt::QueuedConnection);
  }
  return false;
}

void TModalAnswerer::Answer(const QPointer<QDialog>& dialog) {
  if (!dialog || !dialog->isVisible()) return;
  if (auto* box = qobject_cast<QMessageBox*>(dialog.data())) {
    Seen.push_back({"box", box->windowTitle(), box->text(), box->icon(), box->informativeText()});
    const auto selectable = [](const QLabel* label) {
      const Qt::TextInteractionFlags wanted = Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard;
      return label && (label->textInteractionFlags() & wanted) == wanted;
    };
    Seen.back().Selectable = selectable(box->findChild<QLabel*>("qt_msgbox_label")) &&
                             (box->informativeText().isEmpty() ||
                              selectable(box->findChild<QLabel*>("qt_msgbox_informativelabel")));
    if (!ButtonAnswers.empty()) {
      for (QAbstractButton* button : box->buttons()) {
        if (button->text() != ButtonAnswers.front()) continue;
        ButtonAnswers.pop_front();
        button->click();
        return;
      }
    }
    if (QAbstractButton* ok = box->button(QMessageBox::Ok))
      ok->click();
    else
      box->reject();
    return;
  }
  if (auto* files = qobject_cast<QFileDialog*>(dialog.data())) {
    Seen.push_back({"file dialog", files->objectName(), files->directory().absolutePath(), QMessageBox::NoIcon});
    const QString answer = FileAnswers.empty() ? QString() : FileAnswers.front();
    if (!FileAnswers.empty()) FileAnswers.pop_front();
    if (answer.isEmpty()) {
      files->reject();
    } else {
      // As the operator would: the name typed into the dialog's own field, then Open.
      files->selectFile(answer);
      if (auto* edit = files->findChild<QLineEdit*>("fileNameEdit")) edit->setText(answer);
      QMetaObject::invokeMethod(files, "accept");
    }
    return;
  }
  Seen.push_back({"dialog", dialog->windowTitle(), QString(), QMessageBox::NoIcon});
  dialog->reject();
}

void TWindowTest::SetUp() {
  ASSERT_TRUE(Sim.StartPty()) << Sim.LastError();
  std::string reason;
  ASSERT_TRUE(ResolveAppPaths(ExecutableFolder(), Folder(), Paths, reason)) << reason;
}

void TWindowTest::TearDown() {
  CloseWindow();
  Sim.Stop();
}

void TWindowTest::WriteConfig(const std::string& text) { std::ofstream(Folder() + "config.ini", std::ios::binary) << text; }

void TWindowTest::OpenWindow() {
  Window = std::make_unique<TfrmMain>(Paths);
  Window->show();
  SetText("ComboPort", QString::fromStdString(Sim.DevicePath()));
}

void TWindowTest::CloseWindow() {
  if (Window) Window->close();
  Window.reset();
}

void TWindowTest::Click(const char* buttonName) {
  if (auto* button = Find<QAbstractButton>(buttonName)) button->click();
}

void TWindowTest::SetText(const char* comboName, const QString& text) {
  if (auto* box = Find<QComboBox>(comboName)) box->setCurrentText(text);
}

void TWindowTest::RunUntilIdle() {
  QEventLoop loop;
  QObject::connect(QAbstractEventDispatcher::instance(), &QAbstractEventDispatcher::aboutToBlock, &loop,
                   &QEventLoop::quit, Qt::QueuedConnection);
  // The quit is posted as the loop goes to sleep, which also wakes it again.
  loop.exec();
}

bool TWindowTest::WaitForBoxes(size_t count) {
  const QDeadlineTimer bound(std::chrono::minutes(1));
  // Wakes the wait now and then, so that the bound is looked at while nothing happens.
  QTimer wake;
  wake.start(std::chrono::milliseconds(50));
  while (Answerer.Seen.size() < count) {
    if (bound.hasExpired()) return false;
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  }
  return true;
}

void TWindowTest::ClickAndWait(const char* buttonName, size_t count) {
  const size_t wanted = Answerer.Seen.size() + count;
  Click(buttonName);
  EXPECT_TRUE(WaitForBoxes(wanted)) << buttonName << ": " << Answerer.Seen.size() << " of " << wanted << " boxes";
}

QString TWindowTest::PanelText(int panel) {
  auto* label = Find<QLabel>(panel == 0 ? "StatusPanel0" : "StatusPanel1");
  return label ? label->text() : QString();
}

std::vector<uint8_t> TWindowTest::FirmwareFile(size_t size) { return ValidFirmwareImage(size); }

std::string TWindowTest::WriteFile(const std::string& name, const std::vector<uint8_t>& bytes) {
  const std::string path = Folder() + name;
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return path;
}

bool TWindowTest::FileInFolder(const std::string& name) const { return std::filesystem::exists(Folder() + name); }

std::string TWindowTest::ReadFileInFolder(const std::string& name) const {
  std::ifstream in(Folder() + name, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TSeenBox TWindowTest::Outcome(const QString& text) { return {"box", "window_tests", text, QMessageBox::NoIcon}; }

}  // namespace printset
