// The platform's MPEG Layer-3 codec behind the Audio Compression Manager,
// fed one whole frame at a time. Windows only.
#pragma once

#include <windows.h>
#include <mmsystem.h>
#include <mmreg.h>
#include <msacm.h>

#include "engine/FrameCodec.h"
#include "toolkit/ByteBuffer.h"
#include "toolkit/UniqueHandle.h"

struct AcmStreamTraits {
  using Handle = HACMSTREAM;
  static Handle Invalid() { return nullptr; }
  static int Close(Handle h) { return static_cast<int>(acmStreamClose(h, 0)); }
};

class AcmCodec final : public FrameCodec {
 public:
  AcmCodec() = default;
  ~AcmCodec() { Close(); }
  AcmCodec(const AcmCodec&) = delete;
  AcmCodec& operator=(const AcmCodec&) = delete;

  int Open(const Mp3Format& source, int inputBytes, PcmFormat& pcm) override;
  int Convert(const std::uint8_t* frame, int length, const std::uint8_t** pcm) override;
  void Close() override;

  // What the ACM answered, for tests and diagnostics.
  const WAVEFORMATEX& SuggestedFormat() const { return pcmFormat; }
  DWORD OutputBytes() const { return outputBytes; }

 private:
  UniqueHandle<AcmStreamTraits> acmStream;
  ACMSTREAMHEADER acmHeader{};
  bool prepared = false;
  MPEGLAYER3WAVEFORMAT mp3Format{};
  WAVEFORMATEX pcmFormat{};
  MemoryBlock frameIn;
  MemoryBlock pcmOut;
  DWORD inputBytes = 0;
  DWORD outputBytes = 0;
};
