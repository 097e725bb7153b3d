// Small file helpers shared by the tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace printset {

void WriteTextFile(const std::string& path, const std::string& content);
std::string ReadTextFile(const std::string& path);
void WriteBytesFile(const std::string& path, const std::vector<uint8_t>& bytes);

// Bytes that differ from position to position, so that a misplaced block shows.
std::vector<uint8_t> PatternBytes(size_t size, uint8_t seed = 1);

// A valid firmware image of `size` bytes: its length at offset 4, and its first word
// chosen so that the 32-bit sum of all whole words is 0.
std::vector<uint8_t> ValidFirmwareImage(size_t size, uint8_t seed = 11);

}  // namespace printset
