// The real window on the offscreen platform, a simulated printer on a pseudo-terminal,
// a program folder of its own, and a hand that answers the modal boxes and dialogs the
// window opens.
#pragma once

#include <gtest/gtest.h>

#include <QDialog>
#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <deque>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "settings/AppPaths.h"
#include "sim/SimPrinter.h"
#include "support/TempDir.h"
#include "ui/UniMain.h"

class QAbstractButton;
class QComboBox;
class QLabel;
class QLineEdit;

namespace printset {

// One modal window as the operator saw it.
struct TSeenBox {
  TSeenBox(QString kind = {}, QString caption = {}, QString text = {}, QMessageBox::Icon icon = QMessageBox::NoIcon,
           QString detail = {})
      : Kind(std::move(kind)), Caption(std::move(caption)), Text(std::move(text)), Icon(icon), Detail(std::move(detail)) {}

  QString Kind;     // "box" or "file dialog"
  QString Caption;
  QString Text;     // a box's text; the folder a file dialog opened in
  QMessageBox::Icon Icon = QMessageBox::NoIcon;
  QString Detail;   // a box's informative text, beneath its text; not compared by ==
  // Whether the box's texts can be selected by mouse and keyboard; not compared by ==.
  bool Selectable = false;
};

// Answers every modal dialog as soon as its own event loop runs: boxes with the button
// named by the next queued button answer, or OK; file dialogs with the next queued answer
// (an empty answer cancels). Driven by the dialogs' show events, never by waiting.
class TModalAnswerer : public QObject {
 public:
  TModalAnswerer();
  ~TModalAnswerer() override;

  std::vector<TSeenBox> Seen;
  std::deque<QString> FileAnswers;
  std::deque<QString> ButtonAnswers;  // a box's button text, used once each

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Answer(const QPointer<QDialog>& dialog);
};

class TWindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  std::string Folder() const { return Dir.Path() + "/"; }
  void WriteConfig(const std::string& text);
  // Creates and shows the window on Paths, after the test has laid out config.ini; the
  // port box names the simulated printer.
  void OpenWindow();
  // Closes and destroys the window, as the end of the run does.
  void CloseWindow();

  template <typename T>
  T* Find(const char* name) {
    T* widget = Window ? Window->findChild<T*>(name) : nullptr;
    EXPECT_NE(widget, nullptr) << name;
    return widget;
  }
  void Click(const char* buttonName);
  void SetText(const char* comboName, const QString& text);
  QString PanelText(int panel);
  // Lets the event loop run until its queue is empty and it goes to sleep once, as it
  // does between the operator's actions.
  void RunUntilIdle();
  // Lets the event loop run until the operator has seen `count` boxes and dialogs in all;
  // false when none came for a minute (a bound against a hang, not a timing).
  bool WaitForBoxes(size_t count);
  // Clicks the button, then waits for `count` more boxes and dialogs: the click only
  // starts the operation, whose outcome box comes when it has ended.
  void ClickAndWait(const char* buttonName, size_t count);

  // A valid firmware image of `size` bytes (a multiple of 4): its length at offset 4 and
  // its first word chosen so that all words add up to 0.
  static std::vector<uint8_t> FirmwareFile(size_t size);
  std::string WriteFile(const std::string& name, const std::vector<uint8_t>& bytes);
  bool FileInFolder(const std::string& name) const;
  std::string ReadFileInFolder(const std::string& name) const;

  // What an "OK" or "ERROR" box looks like: no icon, captioned with this test program's
  // name.
  static TSeenBox Outcome(const QString& text);

  TTempDir Dir;
  // Every file in Dir, as with --folder, unless a test sets folders of its own.
  TAppPaths Paths;
  TSimPrinter Sim;
  TModalAnswerer Answerer;
  std::unique_ptr<TfrmMain> Window;
};

bool operator==(const TSeenBox& a, const TSeenBox& b);
void PrintTo(const TSeenBox& box, std::ostream* out);

}  // namespace printset
