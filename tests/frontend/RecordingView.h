// A view of the core's that writes down what it is asked to show, a line each, and
// whether any call came on a thread other than its owner's.
#pragma once

#include <cstdint>
#include <deque>
#include <string>
#include <thread>
#include <vector>

#include "frontend/FrontEndView.h"

namespace printset {

class TRecordingView final : public TFrontEndView {
 public:
  explicit TRecordingView(std::thread::id owner = std::this_thread::get_id()) : Owner(owner) {}
  void ShowMessage(const std::string& title, const std::string& beneath) override {
    Add("message " + title + (beneath.empty() ? "" : " | " + beneath));
  }
  bool AskChoice(const std::string& title, const std::string& beneath, const std::string& action) override {
    Add("ask " + title + " [" + action + "] | " + beneath);
    const bool chosen = !Choices.empty() && Choices.front();
    if (!Choices.empty()) Choices.pop_front();
    return chosen;
  }
  void ShowError(const std::string& caption, const std::string& text) override { Add("error [" + caption + "] " + text); }
  void PlaySound(const std::string& fileName) override { Add("sound " + fileName); }
  void ShowProgress(int32_t, int32_t, const std::string&) override { OffThread = OffThread || !OnOwner(); }
  void ShowStatusText(const std::string& text) override { Add("status " + text); }
  void SetLinkRate(int32_t rate) override { Add("rate " + std::to_string(rate)); }
  void SetBusy(bool busy) override {
    Add(busy ? "busy" : "idle");
    Busy = busy;
  }
  TChosenFile ChooseImageFile(const std::string&) override { return {}; }

  std::vector<std::string> Seen;
  std::deque<bool> Choices;  // the answers to AskChoice, in turn; none: OK
  bool Busy = false;
  bool OffThread = false;  // some call came on another thread

 private:
  bool OnOwner() const { return std::this_thread::get_id() == Owner; }
  void Add(std::string line) {
    OffThread = OffThread || !OnOwner();
    Seen.push_back(std::move(line));
  }
  const std::thread::id Owner;
};

}  // namespace printset
