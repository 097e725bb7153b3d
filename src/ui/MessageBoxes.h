// The operator's modal boxes: an outcome or message box, an error box, and click
// handlers that end in an error box instead of an exception.
#pragma once

#include <QString>
#include <exception>

class QWidget;

namespace printset {

// The executable's file name cut at its first dot: the caption of the operator's boxes.
QString ApplicationTitle();

// A modal box over `parent` with one OK button and no icon, captioned with the
// application's title; `reason`, when given, stands beneath the text. Both texts can be
// selected and copied. Never fails.
void ShowMessage(QWidget* parent, const QString& text, const QString& reason = QString());

// ShowMessage with a second button, `action`, beside OK; true when the operator chose
// it. Never fails.
bool AskMessage(QWidget* parent, const QString& text, const QString& reason, const QString& action);

// A modal error box over `parent` captioned `caption` (empty: the application's title),
// holding `text` as it stands. Never fails.
void ShowErrorBox(QWidget* parent, const QString& caption, const QString& text);

// A modal error box over `parent` with the error's text, ending in a full stop, which can
// be selected and copied. Never fails.
void ShowException(QWidget* parent, const std::exception& error);

// Runs a click handler the way the toolkit's own handlers run: an error ends the handler
// and shows its text in an error box over `parent`.
template <typename THandler>
void Guarded(QWidget* parent, THandler handler) {
  try {
    handler();
  } catch (const std::exception& error) {
    ShowException(parent, error);
  }
}

}  // namespace printset
