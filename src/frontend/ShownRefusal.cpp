#include "frontend/ShownRefusal.h"

#include <string>

namespace printset {

void ShowRefusal(TFrontEndView& view, const TRefusal& refusal) {
  switch (refusal.Kind) {
    case TRefusalKind::InvalidImage:
      view.ShowError(kInvalidFileCaption, refusal.Text);
      return;
    case TRefusalKind::IncompleteLogoSet:
      view.ShowMessage("ERROR", refusal.Text);
      return;
    case TRefusalKind::Usage:
    case TRefusalKind::Unreadable:
    case TRefusalKind::CannotSave:
      break;
  }
  const bool stopped = !refusal.Text.empty() && refusal.Text.back() == '.';
  view.ShowError("", stopped ? refusal.Text : refusal.Text + ".");
}

}  // namespace printset
