// Files for the code under test that reads and writes paths rather than bytes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace printset {

// `name` inside a folder of this process's own, made on first use and removed with
// everything in it when the process exits normally; aborts when it cannot be made.
std::string ScratchPath(const std::string& name);

// Replaces the file at `path` with the bytes; aborts when that fails, since a target
// that cannot set up its input would otherwise test nothing.
void WriteScratchFile(const std::string& path, const uint8_t* bytes, size_t size);

}  // namespace printset
