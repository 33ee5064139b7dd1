// The body of the search window's fetches, without the dialog: connect, send
// a GET or a form POST, receive the whole answer with progress, and check
// that it is an HTTP 200 answer. Every progress and failure text goes to the
// sink; the dialog runs this on its worker thread, shows the texts, waits a
// second after a failure and ends.
#pragma once

#include <cstdint>

#include "engine/HttpClient.h"
#include "toolkit/ByteBuffer.h"
#include "toolkit/TextString.h"

enum FetchMethod { kFetchGet = 0, kFetchPost = 1 };

// No cancel exists, so the fetch bounds itself: the whole fetch ends after
// deadlineMs even while data flows (a stall ends earlier, by the client's
// own receive budget), and an answer longer than answerCeiling bytes is
// given up. Both fail as a receive failure.
struct FetchLimits {
  std::uint32_t deadlineMs;
  std::uint32_t answerCeiling;
};
// Past the connect time-out and the receive budget together, so no answer
// that comes with pauses is cut earlier than the receive budget cuts it.
constexpr std::uint32_t kFetchDeadlineMs = 15000;
// A result page of the most stations one may ask for is a few hundred KB.
constexpr FetchLimits kDirectoryFetchLimits = {kFetchDeadlineMs, 4u * 1024 * 1024};
// A tune-in playlist is a few lines.
constexpr FetchLimits kTuneInFetchLimits = {kFetchDeadlineMs, 64u * 1024};

// True when the answer begins "HTTP" and its status, read at offset 9, is
// 200; otherwise failure holds the text to show.
bool CheckAnswer(const std::uint8_t* answer, std::uint32_t length, TextString& failure);

// Fetches url into buffer (initialised by the caller). Returns the bytes
// received for a 200 answer (the buffer then holds them and a NUL), or -1
// after the failure text went to the sink. The connection is closed either
// way.
int RunFetch(const char* url, ByteBuffer& buffer, FetchMethod method, const FetchLimits& limits, ProgressSink& sink);
