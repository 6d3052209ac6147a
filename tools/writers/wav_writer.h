#pragma once
// Writes PCM WAV files as a stream: the header is written first and its sizes are filled in by
// finish(), so long renders need not be held in memory.

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

namespace demo {

// The 44-byte RIFF/WAVE header of a PCM file with dataBytes bytes of samples.
std::vector<uint8_t> wavHeader(uint32_t dataBytes, uint32_t rate, uint16_t channels, uint16_t bitsPerSample);

class WavWriter {
 public:
  // Throws std::runtime_error when the file cannot be created.
  WavWriter(const std::filesystem::path& path, uint32_t rate, uint16_t channels, uint16_t bitsPerSample);
  WavWriter(const WavWriter&) = delete;
  WavWriter& operator=(const WavWriter&) = delete;

  void append(const uint8_t* bytes, size_t count);
  void append(const std::vector<uint8_t>& bytes) { append(bytes.data(), bytes.size()); }
  // Writes the final sizes and closes the file; throws std::runtime_error when writing failed.
  void finish();
  uint64_t dataBytes() const { return dataBytes_; }

 private:
  std::filesystem::path path_;
  std::ofstream file_;
  uint32_t rate_;
  uint16_t channels_, bits_;
  uint64_t dataBytes_ = 0;
};

}  // namespace demo
