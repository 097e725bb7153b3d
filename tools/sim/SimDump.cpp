#include "sim/SimDump.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

namespace printset {

namespace {

bool WriteFile(const std::filesystem::path& path, const void* bytes, size_t count, std::string* error) {
  std::FILE* file = std::fopen(path.c_str(), "wb");
  bool ok = file != nullptr;
  if (ok) ok = std::fwrite(bytes, 1, count, file) == count;
  if (file && std::fclose(file) != 0) ok = false;
  if (!ok && error) *error = path.string() + ": " + std::strerror(errno);
  return ok;
}

}  // namespace

bool WriteSimDump(const TSimPrinter& printer, const std::string& folder, std::string* error) {
  namespace fs = std::filesystem;
  const fs::path base(folder);
  std::string log;
  for (const auto& line : printer.Log()) log += line + "\n";
  bool ok = WriteFile(base / "requests.log", log.data(), log.size(), error);
  const auto params = printer.ParameterBlock();
  ok = WriteFile(base / "params.bin", params.data(), params.size(), error) && ok;
  const auto firmware = printer.FirmwareImage();
  ok = WriteFile(base / "firmware.bin", firmware.data(), firmware.size(), error) && ok;

  // Regions merge as blocks arrive, so files of an earlier dump may name regions that no
  // longer stand on their own.
  std::error_code ignored;
  for (const auto& entry : fs::directory_iterator(base, ignored)) {
    const std::string name = entry.path().filename().string();
    if (name.rfind("download-", 0) == 0 && entry.path().extension() == ".bin") fs::remove(entry.path(), ignored);
  }
  for (const auto& region : printer.DownloadRegions()) {
    char name[32];
    std::snprintf(name, sizeof name, "download-%08llX.bin", static_cast<unsigned long long>(region.Address));
    ok = WriteFile(base / name, region.Bytes.data(), region.Bytes.size(), error) && ok;
  }
  return ok;
}

}  // namespace printset
