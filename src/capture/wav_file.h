#pragma once
// A PCM WAV file written as a stream: a header with sizes of 0 first, the samples as they come,
// and the real sizes once the length is known. Every write is checked, so a full disk is an error
// with a reason rather than a short file.

#include <cstdint>
#include <cstdio>
#include <string>

namespace demo {

class WavFile {
 public:
  static constexpr uint64_t MaxDataBytes = 0xFFFFFFFFull - 36;  // RIFF sizes are 32-bit

  WavFile() = default;
  ~WavFile();
  WavFile(const WavFile&) = delete;
  WavFile& operator=(const WavFile&) = delete;

  // False with the reason in error() when the file cannot be created.
  bool create(const std::string& path, uint32_t rate, uint16_t channels, uint16_t bitsPerSample);
  bool append(const uint8_t* bytes, size_t count);
  // Writes the final sizes and closes the file.
  bool finish();

  uint64_t dataBytes() const { return dataBytes_; }
  const std::string& error() const { return error_; }

 private:
  bool writeHeader();
  bool fail(const char* what);

  std::FILE* file_ = nullptr;
  std::string path_;
  uint32_t rate_ = 0;
  uint16_t channels_ = 0, bits_ = 0;
  uint64_t dataBytes_ = 0;
  std::string error_;
};

}  // namespace demo
