// The headless front end's side of the worker: settings in, progress out on stderr.
#pragma once

#include <string>

#include "engine/CommThread.h"
#include "engine/JobHost.h"
#include "link/UdpEndpoint.h"
#include "settings/BaudRates.h"

namespace printset {

class TCliHost : public TJobHost {
 public:
  std::string PortNameValue = "COM1";
  int32_t BaudValue = kDefaultBaudRate;
  std::string Folder;  // ends with '/'
  TPortMap Ports;
  TUdpEndpoint Udp;
  bool ShowProgress = false;  // progress and status text on stderr

  std::string PortName() override { return PortNameValue; }
  int32_t PortBaudRate() override { return BaudValue; }
  TPortMap PortMap() override { return Ports; }
  std::string ProgramFolder() override { return Folder; }
  TUdpEndpoint& UdpClient() override { return Udp; }
  void PostMessage(uint32_t message, int32_t wParam, int32_t lParam) override;
  void ShowStatusText(const std::string& text) override;

  // Runs one job through StartJob and JobDone, prints "OK" or "ERROR: ..." and returns
  // the exit status (0 or the result code).
  int RunJobAndReport(TCommThread& thread, uint8_t jobCode);

 private:
  bool ProgressShown = false;
};

}  // namespace printset
