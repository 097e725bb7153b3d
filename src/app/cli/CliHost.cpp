#include "CliHost.h"

#include <cstdio>

#include "engine/JobReason.h"
#include "engine/ResultCodes.h"
#include "link/PortNames.h"
#include "report/ProgressText.h"

namespace printset {

void TCliHost::PostMessage(uint32_t message, int32_t wParam, int32_t lParam) {
  if (message != kMessageProgress || !ShowProgress) return;
  if (const auto text = FormatProgress(wParam, lParam)) {
    std::fprintf(stderr, "\r%s ", text->c_str());
    std::fflush(stderr);
    ProgressShown = true;
  }
}

void TCliHost::ShowStatusText(const std::string& text) {
  if (!ShowProgress) return;
  std::fprintf(stderr, "%s%s\n", ProgressShown ? "\n" : "", text.c_str());
  ProgressShown = false;
}

int TCliHost::RunJobAndReport(TCommThread& thread, uint8_t jobCode) {
  if (!thread.StartJob(jobCode)) {
    std::printf("ERROR: a job is already running\n");
    return 70;
  }
  while (!thread.JobDone.Wait(1000)) {
  }
  if (ProgressShown) std::fprintf(stderr, "\n");
  ProgressShown = false;
  if (!thread.TraceSaveError.empty())
    std::fprintf(stderr, "warning: the trace could not be saved: %s\n", thread.TraceSaveError.c_str());
  const uint8_t code = thread.ResultCode;
  if (code == kResultOk) {
    std::printf("OK\n");
    return 0;
  }
  // The reason's first line follows "ERROR: "; what the worker knows beyond it is indented.
  std::string reason = JobFailureReason(thread, ResolvePortName(PortNameValue, Ports));
  for (size_t newline = reason.find('\n'); newline != std::string::npos; newline = reason.find('\n', newline + 3))
    reason.replace(newline, 1, "\n  ");
  std::printf("ERROR: %s\n", reason.c_str());
  std::fflush(stdout);
  return code;
}

}  // namespace printset
