#include "settings/WindowSettings.h"

#include "base/Text.h"

namespace printset {

namespace {
constexpr const char* kWindowSection = "WINDOW";
constexpr const char* kPortKey = "PORT";
constexpr const char* kBaudKey = "BAUD";
constexpr const char* kImageFolderKey = "IMAGES";
constexpr const char* kPictureFolderKey = "PICTURES";
}  // namespace

TWindowSettings ReadWindowSettings(const TProfileFile& file) {
  TWindowSettings settings;
  settings.Port = file.ReadString(kWindowSection, kPortKey).value_or("");
  settings.BaudRate = file.ReadString(kWindowSection, kBaudKey).value_or("");
  settings.ImageFolder = file.ReadString(kWindowSection, kImageFolderKey).value_or("");
  settings.PictureFolder = file.ReadString(kWindowSection, kPictureFolderKey).value_or("");
  return settings;
}

bool WriteWindowSettings(TProfileFile& file, const TWindowSettings& settings) {
  const std::string port = Trim(settings.Port);
  const std::string baudRate = Trim(settings.BaudRate);
  return (port.empty() || file.WriteString(kWindowSection, kPortKey, port)) &&
         (baudRate.empty() || file.WriteString(kWindowSection, kBaudKey, baudRate)) &&
         (settings.ImageFolder.empty() || file.WriteString(kWindowSection, kImageFolderKey, settings.ImageFolder)) &&
         (settings.PictureFolder.empty() ||
          file.WriteString(kWindowSection, kPictureFolderKey, settings.PictureFolder));
}

}  // namespace printset
