#include "platform/win32/wave_out_device.h"

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <mmsystem.h>

namespace demo {

struct WaveOutDevice::Native {
  HWAVEOUT device = nullptr;
  WAVEHDR ring{};
};

WaveOutDevice::WaveOutDevice() : native_(std::make_unique<Native>()) {}

WaveOutDevice::~WaveOutDevice() { close(); }

bool WaveOutDevice::open(int rate, int channels, int bitsPerSample) {
  close();
  WAVEFORMATEX format{};
  format.wFormatTag = WAVE_FORMAT_PCM;
  format.nChannels = static_cast<WORD>(channels);
  format.nSamplesPerSec = static_cast<DWORD>(rate);
  format.nBlockAlign = static_cast<WORD>(channels * bitsPerSample / 8);
  format.nAvgBytesPerSec = format.nSamplesPerSec * format.nBlockAlign;
  format.wBitsPerSample = static_cast<WORD>(bitsPerSample);
  format.cbSize = 0;
  if (waveOutOpen(&native_->device, WAVE_MAPPER, &format, 0, 0, CALLBACK_NULL) == MMSYSERR_NOERROR) return true;
  native_->device = nullptr;
  return false;
}

void WaveOutDevice::prepare(const void* ring, size_t bytes) {
  if (!native_->device) return;
  WAVEHDR& header = native_->ring;
  header = WAVEHDR{};
  header.lpData = static_cast<LPSTR>(const_cast<void*>(ring));
  header.dwBufferLength = static_cast<DWORD>(bytes);
  header.dwFlags = WHDR_BEGINLOOP | WHDR_ENDLOOP;
  header.dwLoops = 0xFFFFFFFFu;
  waveOutPrepareHeader(native_->device, &header, sizeof header);
}

void WaveOutDevice::write() {
  if (native_->device) waveOutWrite(native_->device, &native_->ring, sizeof native_->ring);
}

uint32_t WaveOutDevice::positionBytes() {
  if (!native_->device) return 0;
  MMTIME time{};
  time.wType = TIME_BYTES;
  if (waveOutGetPosition(native_->device, &time, sizeof time) != MMSYSERR_NOERROR || time.wType != TIME_BYTES)
    return 0;
  return time.u.cb;
}

void WaveOutDevice::unprepare() {
  if (!native_->device || !(native_->ring.dwFlags & WHDR_PREPARED)) return;
  if (waveOutUnprepareHeader(native_->device, &native_->ring, sizeof native_->ring) == WAVERR_STILLPLAYING) {
    // The owner frees the ring next: the device must stop reading it first.
    waveOutReset(native_->device);
    waveOutUnprepareHeader(native_->device, &native_->ring, sizeof native_->ring);
  }
}

void WaveOutDevice::reset() {
  if (native_->device) waveOutReset(native_->device);
}

void WaveOutDevice::close() {
  if (!native_->device) return;
  // Closing with a header still queued fails (WAVERR_STILLPLAYING): stop and let go of it first.
  waveOutReset(native_->device);
  unprepare();
  waveOutClose(native_->device);
  native_->device = nullptr;
}

}  // namespace demo
