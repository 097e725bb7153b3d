// The [WINDOW] section of "config.ini": the PORT and BAUD RATE the window showed when it
// was last closed, so that the next start shows them again, and the folders the PROGRAM
// and ADD dialogs were last left in.
//   [WINDOW]  PORT=/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10K-if00-port0  BAUD=115200
//             IMAGES=/srv/firmware  PICTURES=/home/op/logos
#pragma once

#include <string>

#include "settings/ProfileFile.h"

namespace printset {

// Texts as the boxes hold them, without surrounding blanks; empty when the file has none.
struct TWindowSettings {
  std::string Port;
  std::string BaudRate;
  std::string ImageFolder;    // IMAGES: where PROGRAM's dialog was last left
  std::string PictureFolder;  // PICTURES: where ADD's dialog was last left
};

// The PORT, BAUD, IMAGES and PICTURES of [WINDOW], as written at the last close; empty
// when absent. Never fails.
TWindowSettings ReadWindowSettings(const TProfileFile& file);

// Writes PORT, BAUD, IMAGES and PICTURES; a key whose text is empty is left as it is. False when the file
// cannot be written or a text cannot stand in it (TProfileFile::LastError tells why).
bool WriteWindowSettings(TProfileFile& file, const TWindowSettings& settings);

}  // namespace printset
