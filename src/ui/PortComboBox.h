// The PORT box: an editable box whose list is made afresh each time it opens, since
// adapters come and go while the window is open, and whose popup is as wide as its
// longest entry, since by-id paths are long, and tall enough for every entry.
#pragma once

#include <QComboBox>
#include <functional>
#include <vector>

#include "link/PortNames.h"
#include "ports/PortEntries.h"

namespace printset {

class TPortComboBox : public QComboBox {
 public:
  using TLister = std::function<std::vector<TPortEntry>()>;

  // `lister` gives the entries, in order; the window passes the system's enumeration.
  TPortComboBox(QWidget* parent, TLister lister);

  // Fills the list again from the lister; the text in the box stays as it is.
  void Refresh();
  // The port names of [PORTS], so that the tooltip shows the device a COMn stands for.
  void SetPortMap(const TPortMap& portMap);
  void showPopup() override;

 private:
  void UpdateToolTip();

  TLister Lister;
  TPortMap PortMap;
};

}  // namespace printset
