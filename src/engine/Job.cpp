#include "engine/Job.h"

#include <utility>

namespace printset {

TJob TJob::At(TLinkTarget target) const {
  TJob job = *this;
  job.Printer = std::move(target);
  return job;
}

TJob TJob::SetParameters(std::vector<uint8_t> block, uint16_t command, uint32_t argument) {
  TJob job;
  job.JobCode = JobSetParameters;
  job.Data = std::move(block);
  job.RequestCommand = command;
  job.RequestArgument = argument;
  return job;
}

TJob TJob::SetParametersKeepingRate(std::vector<uint8_t> block, uint16_t command, uint32_t argument) {
  TJob job = SetParameters(std::move(block), command, argument);
  job.FoundRateInBlock = true;
  return job;
}

TJob TJob::DownloadFiles(std::vector<TDownloadEntry> entries) {
  TJob job;
  job.JobCode = JobDownloadFiles;
  job.Downloads = std::move(entries);
  return job;
}

TJob TJob::IdentifyPrinter() {
  TJob job;
  job.JobCode = JobIdentifyPrinter;
  return job;
}

TJob TJob::ProgramFirmware(TSharedBytes image) {
  TJob job;
  job.JobCode = JobProgramFirmware;
  job.Firmware = image ? std::move(image) : std::make_shared<const std::vector<uint8_t>>();
  return job;
}

}  // namespace printset
