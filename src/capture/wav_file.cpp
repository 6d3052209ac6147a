#include "capture/wav_file.h"

#include <cerrno>
#include <cstring>

namespace demo {
namespace {

constexpr size_t HeaderBytes = 44;

void put16(uint8_t* p, uint32_t v) {
  p[0] = static_cast<uint8_t>(v);
  p[1] = static_cast<uint8_t>(v >> 8);
}

void put32(uint8_t* p, uint32_t v) {
  put16(p, v);
  put16(p + 2, v >> 16);
}

}  // namespace

WavFile::~WavFile() { discard(); }

bool WavFile::create(const std::string& path, uint32_t rate, uint16_t channels, uint16_t bitsPerSample) {
  discard();
  path_ = path;
  rate_ = rate;
  channels_ = channels;
  bits_ = bitsPerSample;
  dataBytes_ = 0;
  failed_ = false;
  error_.clear();
  output_ = std::make_unique<cli::OutputFile>(path);
  file_ = std::fopen(output_->temporary().string().c_str(), "wb");
  if (!file_) return fail("cannot create");
  return writeHeader();
}

void WavFile::discard() {
  if (file_) std::fclose(file_);
  file_ = nullptr;
  output_.reset();
}

bool WavFile::writeHeader() {
  const uint32_t blockAlign = channels_ * bits_ / 8u;
  const auto data = static_cast<uint32_t>(dataBytes_);
  uint8_t h[HeaderBytes];
  std::memcpy(h, "RIFF", 4);
  put32(h + 4, 36 + data);
  std::memcpy(h + 8, "WAVEfmt ", 8);
  put32(h + 16, 16);
  put16(h + 20, 1);  // PCM
  put16(h + 22, channels_);
  put32(h + 24, rate_);
  put32(h + 28, rate_ * blockAlign);
  put16(h + 32, blockAlign);
  put16(h + 34, bits_);
  std::memcpy(h + 36, "data", 4);
  put32(h + 40, data);
  if (std::fwrite(h, 1, HeaderBytes, file_) != HeaderBytes) return fail("cannot write");
  return true;
}

bool WavFile::append(const uint8_t* bytes, size_t count) {
  if (!file_ || failed_) return false;
  if (dataBytes_ + count > MaxDataBytes) {
    failed_ = true;
    error_ = path_ + ": too long for a WAV file (4 GiB of samples)";
    return false;
  }
  if (count && std::fwrite(bytes, 1, count, file_) != count) return fail("cannot write");
  dataBytes_ += count;
  return true;
}

bool WavFile::finish() {
  if (!file_) return false;
  const bool written = !failed_ && (std::fseek(file_, 0, SEEK_SET) == 0 ? writeHeader() : fail("cannot write"));
  std::FILE* file = file_;
  file_ = nullptr;
  // Buffered bytes reach the disk only here: a full disk may show up at this point first.
  if (std::fclose(file) != 0 && written) fail("cannot write");
  if (failed_ || !written) {
    output_.reset();  // removes the incomplete file
    return false;
  }
  std::string error;
  if (!output_->commit(error)) {
    failed_ = true;
    error_ = error;
    return false;
  }
  output_.reset();
  return true;
}

bool WavFile::fail(const char* what) {
  failed_ = true;
  if (error_.empty()) error_ = path_ + ": " + what + ": " + std::strerror(errno);
  return false;
}

}  // namespace demo
