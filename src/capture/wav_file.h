#pragma once
// A PCM WAV file written as a stream: a header with sizes of 0 first, the samples as they come,
// and the real sizes once the length is known. The file is written beside its final name and only
// renamed into place by a successful finish(), so it is complete or absent: a full disk, a failed
// write or a run that ends without finish() never leaves a header that promises what is not there.

#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>

#include "cli/output_file.h"

namespace demo {

class WavFile {
 public:
  static constexpr uint64_t MaxDataBytes = 0xFFFFFFFFull - 36;  // RIFF sizes are 32-bit

  WavFile() = default;
  ~WavFile();  // without a successful finish(), nothing remains on disk
  WavFile(const WavFile&) = delete;
  WavFile& operator=(const WavFile&) = delete;

  // False with the reason in error() when the file cannot be created.
  bool create(const std::string& path, uint32_t rate, uint16_t channels, uint16_t bitsPerSample);
  bool append(const uint8_t* bytes, size_t count);
  // Writes the final sizes, closes the file and puts it in place; false with the reason (and no
  // file) when any of that, or an earlier write, failed.
  bool finish();
  // Closes and removes what was written.
  void discard();

  uint64_t dataBytes() const { return dataBytes_; }
  const std::string& error() const { return error_; }

 private:
  bool writeHeader();
  bool fail(const char* what);

  std::FILE* file_ = nullptr;
  std::unique_ptr<cli::OutputFile> output_;
  std::string path_;
  uint32_t rate_ = 0;
  uint16_t channels_ = 0, bits_ = 0;
  uint64_t dataBytes_ = 0;
  bool failed_ = false;
  std::string error_;
};

}  // namespace demo
