// Reading the files an operator names, and writing the files the program keeps.
// Failure convention: false with a reason in the system's words; nothing is thrown.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace printset {

// Reads the whole regular file at `path` (a link to one counts) into `bytes`, refusing it
// once it turns out to hold more than `maxSize` bytes. The limit is checked while reading,
// so a file that reports a false size (/proc, a file still growing) cannot run away.
// A FIFO, device, socket or folder is refused without reading anything from it. False
// with `reason` set, e.g. "No such file or directory", "a FIFO, not a regular file",
// "more than the 16777216 bytes allowed"; `bytes` is then empty.
bool ReadFileBounded(const std::string& path, uint64_t maxSize, std::vector<uint8_t>& bytes, std::string& reason);

// Whether `path` names a regular file (a link to one counts).
bool IsRegularFile(const std::string& path);  // never fails

// Whether `path` is a regular file (a link to one counts) that this process can open for
// reading, judged as ReadFileBounded judges it but without reading; false with `reason`.
bool CheckReadableFile(const std::string& path, std::string& reason);

// Replaces the file at `path` with `size` bytes as one step: they go to a new file with a
// unique name beside it, which then takes the file's name, so that readers and other
// writers only ever see the old content or the whole new one (the last writer wins).
// A link at `path` is kept and the file it points to is replaced; an existing file's
// permissions carry over. False with `error` set when that fails; the old file is then
// unchanged and no temporary file is left.
bool WriteFileAtomically(const std::string& path, const void* data, size_t size, std::string& error);

}  // namespace printset
