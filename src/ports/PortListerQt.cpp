// The port enumeration on Qt Serial Port (QtCore, no widgets; udev on Linux).
#include <QSerialPortInfo>
#include <QString>

#include "ports/PortList.h"

namespace printset {

namespace {

class TQtPortLister final : public TPortLister {
 public:
  std::vector<TPortInfo> PortsPluggedIn() const override {
    std::vector<TPortInfo> ports;
    for (const QSerialPortInfo& found : QSerialPortInfo::availablePorts()) {
      TPortInfo port;
      port.Device = found.systemLocation().toStdString();
      port.Description = found.description().toStdString();
      port.Serial = found.serialNumber().toStdString();
      port.HasIds = found.hasVendorIdentifier() && found.hasProductIdentifier();
      if (port.HasIds) {
        port.Vendor = found.vendorIdentifier();
        port.Product = found.productIdentifier();
      }
      ports.push_back(std::move(port));
    }
    return ports;
  }
};

}  // namespace

const TPortLister& SystemPortLister() {
  static const TQtPortLister lister;
  return lister;
}

}  // namespace printset
