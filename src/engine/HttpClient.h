// One TCP connection to one URL: an HTTP/1.0 GET or form POST, or the ICY GET
// that asks a SHOUTcast server for a stream with metadata, and the receive
// loops over the non-blocking socket, each with its own stop rule and budget.
#pragma once

#include <atomic>

#include "engine/EventSocket.h"
#include "toolkit/TextString.h"

class ByteBuffer;

struct StreamInfo {
  TextString name;
  TextString url;
  int format = 0;  // 1 audio/mpeg, 2 audio/aacp, 0 anything else
  int bitrate = 0;
  int metaInterval = 0;
};

// Receives the download progress text while a body comes in.
class ProgressSink {
 public:
  virtual void ShowProgress(const char* text) = 0;

 protected:
  ~ProgressSink() = default;
};

enum class RequestForm { Get, Post, IcyGet };

// ParseIcyResponse results.
constexpr int kIcyStream = 0;
constexpr int kIcyNotShoutcast = 2;
constexpr int kIcyServerFull = 3;
constexpr int kIcyRefused = 4;

// ReceiveSome results besides a byte count.
constexpr int kReceiveClosed = -1;
constexpr int kReceiveWouldBlock = -2;
constexpr int kReceiveError = -3;

constexpr unsigned kConnectTimeoutMs = 5000;
constexpr unsigned kReceiveAllTimeoutMs = 8000;
constexpr unsigned kReceiveHeaderTimeoutMs = 10000;
constexpr unsigned kReceiveAtLeastTimeoutMs = 10000;

class HttpClient {
 public:
  HttpClient() = default;
  HttpClient(const HttpClient&) = delete;
  HttpClient& operator=(const HttpClient&) = delete;

  static void SplitUrl(const char* url, int defaultPort, TextString& host, TextString& path, int& port);
  bool Open(const char* url, int defaultPort);
  void BuildRequest(RequestForm form, TextString& request) const;
  void SendRequest(bool post);
  void SendIcyRequest();
  int ReceiveAll(char* buffer, int size);
  int ReceiveAllWithProgress(ByteBuffer& body, int chunkSize, ProgressSink* progress);
  int ReceiveHeader(char* buffer, int size);
  int ReceiveSome(void* buffer, int size);
  int ReceiveAtLeast(char* buffer, int minimum, int room);
  void Close();

  // While the flag is non-zero, every receive loop gives up at its next wait
  // as if its time had run out: a stop does not wait out a 10 s budget.
  void SetAbortFlag(const std::atomic<int>* flag) { abortFlag = flag; }

  static int ParseIcyResponse(const char* text, StreamInfo& info);
  static bool FindHeaderValue(const char* text, const char* name, TextString* value);
  static bool FindHeaderNumber(const char* text, const char* name, int* value);

  const TextString& Host() const { return host; }
  const TextString& Path() const { return path; }
  int Port() const { return port; }

 private:
  void Send(RequestForm form);
  bool Aborted() const { return abortFlag && abortFlag->load(std::memory_order_relaxed) != 0; }

  EventSocket socket;
  TextString host;
  TextString path;
  int port = 0;
  const std::atomic<int>* abortFlag = nullptr;
};
