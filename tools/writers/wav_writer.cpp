#include "writers/wav_writer.h"

#include <stdexcept>

namespace demo {
namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void put32(std::vector<uint8_t>& out, uint32_t v) {
  put16(out, v);
  put16(out, v >> 16);
}

void putTag(std::vector<uint8_t>& out, const char* tag) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

}  // namespace

std::vector<uint8_t> wavHeader(uint32_t dataBytes, uint32_t rate, uint16_t channels, uint16_t bitsPerSample) {
  const uint32_t blockAlign = channels * bitsPerSample / 8u;
  std::vector<uint8_t> h;
  putTag(h, "RIFF");
  put32(h, 36 + dataBytes);
  putTag(h, "WAVE");
  putTag(h, "fmt ");
  put32(h, 16);
  put16(h, 1);  // PCM
  put16(h, channels);
  put32(h, rate);
  put32(h, rate * blockAlign);
  put16(h, blockAlign);
  put16(h, bitsPerSample);
  putTag(h, "data");
  put32(h, dataBytes);
  return h;
}

WavWriter::WavWriter(const std::filesystem::path& path, uint32_t rate, uint16_t channels, uint16_t bitsPerSample)
    : path_(path), file_(path, std::ios::binary), rate_(rate), channels_(channels), bits_(bitsPerSample) {
  if (!file_) throw std::runtime_error("cannot create " + path.string());
  const std::vector<uint8_t> header = wavHeader(0, rate_, channels_, bits_);
  file_.write(reinterpret_cast<const char*>(header.data()), static_cast<std::streamsize>(header.size()));
}

void WavWriter::append(const uint8_t* bytes, size_t count) {
  file_.write(reinterpret_cast<const char*>(bytes), static_cast<std::streamsize>(count));
  dataBytes_ += count;
}

void WavWriter::finish() {
  if (dataBytes_ > 0xFFFFFFFFull - 36) throw std::runtime_error(path_.string() + ": too long for a WAV file");
  const std::vector<uint8_t> header = wavHeader(static_cast<uint32_t>(dataBytes_), rate_, channels_, bits_);
  file_.seekp(0);
  file_.write(reinterpret_cast<const char*>(header.data()), static_cast<std::streamsize>(header.size()));
  file_.close();
  if (!file_) throw std::runtime_error("cannot write " + path_.string());
}

}  // namespace demo
