#include "frontend/TransferRequests.h"

#include <filesystem>
#include <memory>
#include <system_error>

#include "base/FileIo.h"
#include "engine/FirmwareImage.h"
#include "engine/TransferLimits.h"
#include "frontend/RequestMaker.h"

namespace printset {

namespace {

constexpr const char* kInvalidFileText = "Invalid file";
constexpr const char* kIncompleteFirmwareWarning = "the firmware is then incomplete: program the image again";

std::string BaseName(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The file at `path`, whole, or why it cannot be sent.
TChecked<TSharedBytes> ReadInput(const std::string& path, uint64_t maxSize) {
  std::vector<uint8_t> bytes;
  std::string reason;
  if (!ReadFileBounded(path, maxSize, bytes, reason)) return TRefusal{TRefusalKind::Unreadable, path + ": " + reason, {}};
  return TSharedBytes(std::make_shared<const std::vector<uint8_t>>(std::move(bytes)));
}

}  // namespace

std::string ImageDialogFolder(const std::string& lastFolder, const std::string& configFolder) {
  std::error_code error;
  return !lastFolder.empty() && std::filesystem::is_directory(lastFolder, error) ? lastFolder : configFolder;
}

TChecked<TRequest> ProgramRequest(const std::string& path) {
  const TChecked<TSharedBytes> image = ReadInput(path, kMaxFirmwareFileSize);
  if (!image) return image.Refusal();
  const std::vector<uint8_t>& bytes = **image;
  if (!IsValidFirmwareImage(bytes.data(), bytes.size()))
    return TRefusal{TRefusalKind::InvalidImage, kInvalidFileText,
                    path + " is not a valid firmware image (at least 256 bytes, length word at offset 4 equal to "
                           "the file size, 32-bit word sum 0)"};
  return TRequestMaker::Make("program", TJob::ProgramFirmware(*image), bytes.size(), kIncompleteFirmwareWarning,
                             {RecordInput(path, bytes)});
}

TChecked<TRequest> DownloadRequest(const std::vector<TDownloadSpec>& files) {
  if (files.empty()) return TRefusal{TRefusalKind::Usage, "download needs at least one file", {}};
  std::vector<TDownloadEntry> entries;
  std::vector<TRecordInput> inputs;
  uint64_t total = 0;
  for (const TDownloadSpec& spec : files) {
    const TChecked<TSharedBytes> file = ReadInput(spec.Path, kMaxDownloadFileSize);
    if (!file) return file.Refusal();
    total += (*file)->size();
    inputs.push_back(RecordInput(spec.Path, **file));
    entries.push_back({spec.Path, BaseName(spec.Path), spec.Command, spec.Base, *file});
  }
  return TRequestMaker::Make("download", TJob::DownloadFiles(std::move(entries)), total, {}, std::move(inputs));
}

}  // namespace printset
