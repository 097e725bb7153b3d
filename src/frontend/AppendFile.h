// Whole lines added to the end of a file that other processes append to at the same
// time: the file is opened for appending and each text handed to the system in one
// write, so that the lines of two writers never mix.
#pragma once

#include <string>

namespace printset {

class TAppendFile {
 public:
  // Opens `path` for appending, made when missing; Ok() tells whether it opened.
  explicit TAppendFile(const std::string& path);
  ~TAppendFile();
  TAppendFile(const TAppendFile&) = delete;
  TAppendFile& operator=(const TAppendFile&) = delete;

  bool Ok() const { return Handle >= 0; }
  // Appends `text` whole in one write; false, with the system's reason in Error(), when
  // the file is not open or did not take all of it.
  bool Append(const std::string& text);
  const std::string& Error() const { return Failure; }

 private:
  int Handle = -1;
  std::string Failure;
};

}  // namespace printset
