#include "engine/AcmCodec.h"

#include <cstring>

int AcmCodec::Open(const Mp3Format& source, int frameBytes, PcmFormat& pcm) {
  Close();
  if (frameBytes <= 0) return 0;
  mp3Format = MPEGLAYER3WAVEFORMAT{};
  mp3Format.wfx.wFormatTag = WAVE_FORMAT_MPEGLAYER3;
  mp3Format.wfx.nChannels = static_cast<WORD>(source.channels);
  mp3Format.wfx.nSamplesPerSec = static_cast<DWORD>(source.sampleRate);
  mp3Format.wfx.nAvgBytesPerSec = static_cast<DWORD>(source.avgBytesPerSec);
  mp3Format.wfx.nBlockAlign = 1;
  mp3Format.wfx.wBitsPerSample = 0;
  mp3Format.wfx.cbSize = MPEGLAYER3_WFX_EXTRA_BYTES;
  mp3Format.wID = MPEGLAYER3_ID_MPEG;
  mp3Format.fdwFlags = source.paddingOn ? MPEGLAYER3_FLAG_PADDING_ON : MPEGLAYER3_FLAG_PADDING_OFF;
  mp3Format.nBlockSize = static_cast<WORD>(source.blockSize);
  mp3Format.nFramesPerBlock = 1;
  mp3Format.nCodecDelay = 1393;

  // Only the tag is fixed; the codec fills in channels, rate and sample size.
  pcmFormat = WAVEFORMATEX{};
  pcmFormat.wFormatTag = WAVE_FORMAT_PCM;
  if (acmFormatSuggest(nullptr, &mp3Format.wfx, &pcmFormat, sizeof pcmFormat, ACM_FORMATSUGGESTF_WFORMATTAG) != 0) {
    return 0;
  }
  HACMSTREAM stream = nullptr;
  if (acmStreamOpen(&stream, nullptr, &mp3Format.wfx, &pcmFormat, nullptr, 0, 0, ACM_STREAMOPENF_NONREALTIME) != 0) {
    return 0;
  }
  acmStream.Reset(stream);
  inputBytes = static_cast<DWORD>(frameBytes);
  if (acmStreamSize(stream, inputBytes, &outputBytes, ACM_STREAMSIZEF_SOURCE) != 0 || outputBytes == 0) return 0;
  if (!frameIn.Allocate(inputBytes, false) || !pcmOut.Allocate(outputBytes, false)) return 0;

  acmHeader = ACMSTREAMHEADER{};
  acmHeader.cbStruct = sizeof acmHeader;
  acmHeader.pbSrc = static_cast<LPBYTE>(frameIn.data);
  acmHeader.cbSrcLength = inputBytes;
  acmHeader.pbDst = static_cast<LPBYTE>(pcmOut.data);
  acmHeader.cbDstLength = outputBytes;
  if (acmStreamPrepareHeader(stream, &acmHeader, 0) != 0) return 0;
  prepared = true;

  pcm.formatTag = pcmFormat.wFormatTag;
  pcm.channels = pcmFormat.nChannels;
  pcm.samplesPerSec = pcmFormat.nSamplesPerSec;
  pcm.avgBytesPerSec = pcmFormat.nAvgBytesPerSec;
  pcm.blockAlign = pcmFormat.nBlockAlign;
  pcm.bitsPerSample = pcmFormat.wBitsPerSample;
  return static_cast<int>(outputBytes);
}

int AcmCodec::Convert(const std::uint8_t* frame, int length, const std::uint8_t** pcm) {
  if (!prepared || length <= 0 || static_cast<DWORD>(length) > inputBytes) return -1;
  std::memcpy(frameIn.data, frame, static_cast<size_t>(length));
  acmHeader.cbSrcLength = static_cast<DWORD>(length);
  if (acmStreamConvert(acmStream.Get(), &acmHeader, 0) != 0) return -1;
  DWORD used = acmHeader.cbDstLengthUsed;
  if (used > outputBytes) return -1;
  *pcm = static_cast<const std::uint8_t*>(pcmOut.data);
  return static_cast<int>(used);
}

void AcmCodec::Close() {
  if (prepared) {
    // A header is unprepared with the lengths it was prepared with.
    acmHeader.cbSrcLength = inputBytes;
    acmHeader.cbDstLength = outputBytes;
    acmStreamUnprepareHeader(acmStream.Get(), &acmHeader, 0);
    prepared = false;
  }
  acmStream.Close();
  frameIn.Release();
  pcmOut.Release();
}
