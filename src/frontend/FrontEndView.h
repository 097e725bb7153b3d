// TFrontEndView: what a window toolkit does for the core. The core decides what is said,
// heard and chosen; a window (Qt Widgets, Win32) only shows it. Every call comes on the
// window's own thread.
#pragma once

#include <cstdint>
#include <string>

namespace printset {

// A file the operator chose, and the folder the dialog was left in.
struct TChosenFile {
  std::string Path;    // empty: the dialog was cancelled
  std::string Folder;  // where the dialog was left, ending in a separator; empty when unknown
};

class TFrontEndView {
 public:
  virtual ~TFrontEndView() = default;

  // A modal outcome box captioned with the program's title: `title` ("OK", "ERROR", ...)
  // with `beneath` under it (empty: nothing), both selectable. Returns when it is closed.
  virtual void ShowMessage(const std::string& title, const std::string& beneath) = 0;
  // ShowMessage with one more button, `action`, beside OK; true when the operator chose it.
  virtual bool AskChoice(const std::string& title, const std::string& beneath, const std::string& action) = 0;
  // A modal error box captioned `caption` holding `text` as it stands.
  virtual void ShowError(const std::string& caption, const std::string& text) = 0;
  // Starts `fileName` (ok.wav, error.wav), found where the program's files are, and
  // returns at once; a missing or broken file is silence.
  virtual void PlaySound(const std::string& fileName) = 0;
  // Bytes done of the total, and the text for them ("Finished: 25.0%(50/200)").
  virtual void ShowProgress(int32_t done, int32_t total, const std::string& text) = 0;
  // The worker's status text, e.g. "DOWNLOAD logo.bin".
  virtual void ShowStatusText(const std::string& text) = 0;
  // The printer listens at `rate` from now on: the link's BAUD RATE box at the top shows it.
  virtual void SetLinkRate(int32_t rate) = 0;
  // An operation started (true) or ended (false): while it runs the operation buttons
  // are greyed out; after it the focus goes back to the button that started it.
  virtual void SetBusy(bool busy) = 0;
  // The firmware image dialog, opened in `startFolder`. Returns when it is closed.
  virtual TChosenFile ChooseImageFile(const std::string& startFolder) = 0;
};

}  // namespace printset
