// The headless front end's side of one worker: settings in, progress and status text out
// on a progress board.
#pragma once

#include <string>

#include "ProgressBoard.h"
#include "engine/JobHost.h"
#include "link/UdpEndpoint.h"

namespace printset {

class TCliHost : public TJobHost {
 public:
  explicit TCliHost(TProgressBoard& board) : Board(board) {}

  std::string PortNameValue;
  int32_t BaudValue = 0;
  std::string Folder;  // debug.log goes here; ends with '/'
  TPortMap Ports;
  TUdpEndpoint Udp;
  bool ShowStatus = false;  // the worker's status text on stderr

  std::string PortName() override { return PortNameValue; }
  int32_t PortBaudRate() override { return BaudValue; }
  TPortMap PortMap() override { return Ports; }
  std::string TraceFilePath() override { return Folder + kTraceFileName; }
  TUdpEndpoint& UdpClient() override { return Udp; }
  // On the worker thread.
  void Notify(uint32_t message, int32_t wParam, int32_t lParam) override;
  void ShowStatusText(const std::string& text) override;

 private:
  TProgressBoard& Board;
};

}  // namespace printset
