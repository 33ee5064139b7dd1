#include <windows.h>
#include <mmsystem.h>

#include <cstdlib>
#include <cstring>

#include "engine/WaveRing.h"

namespace {

// Runs on a thread of the wave system: it only signals the play thread.
void CALLBACK BlockDone(HWAVEOUT, UINT message, DWORD_PTR instance, DWORD_PTR, DWORD_PTR) {
  if (message == WOM_DONE) SetEvent(reinterpret_cast<HANDLE>(instance));
}

}  // namespace

WaveRing::~WaveRing() { Close(); }

bool WaveRing::Open(void* const* eventArray, const PcmFormat& format, int bytes, int blocks) {
  Close();
  if (bytes <= 0 || blocks <= 0) return false;
  events = eventArray;
  count = blocks;
  blockBytes = bytes;
  sampleKind = SampleKindFor(format);
  blockAlign = format.blockAlign;

  headers = static_cast<WAVEHDR*>(std::calloc(static_cast<size_t>(count), sizeof(WAVEHDR)));
  buffers = static_cast<std::uint8_t**>(std::calloc(static_cast<size_t>(count), sizeof(std::uint8_t*)));
  if (!headers || !buffers) {
    Close();
    return false;
  }
  for (int k = 0; k < count; ++k) {
    buffers[k] = static_cast<std::uint8_t*>(std::malloc(static_cast<size_t>(blockBytes)));
    if (!buffers[k]) {
      Close();
      return false;
    }
    headers[k].lpData = reinterpret_cast<LPSTR>(buffers[k]);
    headers[k].dwBufferLength = static_cast<DWORD>(blockBytes);
  }

  WAVEFORMATEX wfx{};
  wfx.wFormatTag = format.formatTag;
  wfx.nChannels = format.channels;
  wfx.nSamplesPerSec = format.samplesPerSec;
  wfx.nAvgBytesPerSec = format.avgBytesPerSec;
  wfx.nBlockAlign = format.blockAlign;
  wfx.wBitsPerSample = format.bitsPerSample;
  HWAVEOUT opened = nullptr;
  if (waveOutOpen(&opened, WAVE_MAPPER, &wfx, reinterpret_cast<DWORD_PTR>(&BlockDone),
                  reinterpret_cast<DWORD_PTR>(events[0]), CALLBACK_FUNCTION) != MMSYSERR_NOERROR) {
    Close();
    return false;
  }
  device.store(opened);
  queuedBytes = 0;
  // The level set while no device was open reaches this one too (Wine does
  // not take the null handle for the first device).
  if (hardwareVolume.load()) SetVolume(volume.load());
  return true;
}

std::uint32_t WaveRing::DeviceVolume() const {
  DWORD level = 0;
  return waveOutGetVolume(device.load(), &level) == MMSYSERR_NOERROR ? level : 0xFFFFFFFFu;
}

std::int64_t WaveRing::PlayedBytes() {
  HWAVEOUT out = device.load();
  MMTIME time{};
  time.wType = TIME_BYTES;
  if (!out || waveOutGetPosition(out, &time, sizeof time) != MMSYSERR_NOERROR) return -1;
  std::uint32_t position;
  if (time.wType == TIME_BYTES) {
    position = time.u.cb;
  } else if (time.wType == TIME_SAMPLES && blockAlign > 0) {
    position = time.u.sample * blockAlign;
  } else {
    return -1;
  }
  return UnwrapPosition(position, queuedBytes);
}

bool WaveRing::Write(int k) {
  HWAVEOUT out = device.load();
  if (!out || k < 0 || k >= count) return false;
  // dwUser marks a block the device holds; Finished reads it.
  headers[k].dwUser = 0;
  waveOutUnprepareHeader(out, &headers[k], sizeof(WAVEHDR));
  if (waveOutPrepareHeader(out, &headers[k], sizeof(WAVEHDR)) != MMSYSERR_NOERROR) return false;
  headers[k].dwUser = 1;
  if (waveOutWrite(out, &headers[k], sizeof(WAVEHDR)) != MMSYSERR_NOERROR) {
    headers[k].dwUser = 0;
    return false;
  }
  queuedBytes += blockBytes;
  return true;
}

bool WaveRing::Finished(int k) const {
  if (!headers || k < 0 || k >= count) return true;
  // The wave system's thread sets the flag: read it afresh.
  DWORD flags = static_cast<const volatile DWORD&>(headers[k].dwFlags);
  return headers[k].dwUser == 0 || (flags & WHDR_DONE) != 0;
}

void WaveRing::SetVolume(int v) {
  if (v < 0) v = 0;
  if (v > kFullVolume) v = kFullVolume;
  volume.store(v);
  if (hardwareVolume.load()) {
    DWORD level = (static_cast<DWORD>(v) * 0xFFFFu) >> 8;
    // With no device open the null handle addresses the first device, so
    // the level is in place before any playback.
    waveOutSetVolume(device.load(), level | (level << 16));
  }
}

void WaveRing::CutOff() {
  HWAVEOUT out = device.load();
  if (out) waveOutReset(out);
}

void WaveRing::Close() {
  HWAVEOUT out = device.exchange(nullptr);
  if (out) {
    waveOutReset(out);
    for (int k = 0; k < count; ++k) waveOutUnprepareHeader(out, &headers[k], sizeof(WAVEHDR));
    waveOutClose(out);
  }
  if (buffers) {
    for (int k = 0; k < count; ++k) std::free(buffers[k]);
  }
  std::free(buffers);
  std::free(headers);
  buffers = nullptr;
  headers = nullptr;
  count = 0;
}
