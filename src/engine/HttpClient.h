// One TCP connection to one URL: an HTTP/1.0 GET or form POST, or the ICY GET
// that asks a SHOUTcast server for a stream with metadata, and the receive
// operations over the non-blocking socket, each with its own stop rule and
// budget. Waiting for data is a wait on the socket together with the stop
// event, never a poll. The text of URLs, requests and answers is HttpText's.
#pragma once

#include <cstdint>

#include "engine/EventSocket.h"
#include "engine/HttpText.h"
#include "toolkit/TextString.h"

class ByteBuffer;
class Event;

// Receives the download progress text while a body comes in.
class ProgressSink {
 public:
  virtual void ShowProgress(const char* text) = 0;

 protected:
  ~ProgressSink() = default;
};

// ReceiveSome results besides a byte count.
constexpr int kReceiveClosed = -1;
constexpr int kReceiveWouldBlock = -2;
constexpr int kReceiveError = -3;

// WaitForData results.
enum class DataWait { Ready, Stopped, Other, TimedOut };

constexpr unsigned kConnectTimeoutMs = 5000;
constexpr unsigned kReceiveAllTimeoutMs = 8000;
constexpr unsigned kReceiveHeaderTimeoutMs = 10000;
constexpr unsigned kReceiveAtLeastTimeoutMs = 10000;

class HttpClient {
 public:
  HttpClient() = default;
  HttpClient(const HttpClient&) = delete;
  HttpClient& operator=(const HttpClient&) = delete;

  // Creates the socket, splits the URL, resolves the host and connects
  // within 5000 ms. False on any failure, also for a port outside 1-65535
  // or a host holding a control byte or a blank.
  bool Open(const char* url, int defaultPort);
  void SendRequest(bool post);
  void SendIcyRequest();
  // Until the peer closes: returns the byte count (NUL behind), or -1 (error, stop, 8000 ms).
  int ReceiveAll(char* buffer, int size);
  // Until the peer closes: returns the byte count (a NUL appended), or -1 (error, stop, memory, 8000 ms).
  int ReceiveAllWithProgress(ByteBuffer& body, int chunkSize, ProgressSink* progress);
  // Returns all bytes received, header cut at its empty line by a NUL, or -1 (close, error, stop, full, 10000 ms).
  int ReceiveHeader(char* buffer, int size);
  // One read: returns the byte count, kReceiveClosed, kReceiveWouldBlock or kReceiveError.
  int ReceiveSome(void* buffer, int size);
  // Returns the byte count (minimum to room), kReceiveClosed, or kReceiveError (error, stop, 10000 ms).
  int ReceiveAtLeast(char* buffer, int minimum, int room);
  // After kReceiveWouldBlock: waits for data, the peer's close, the stop
  // event, or other (may be null), at most ms (kWaitForever: no limit).
  DataWait WaitForData(Event* other, std::uint32_t ms);
  void Close();

  // Set (manual reset) by the owner to end every wait of this client at
  // once, as if its time had run out; a connect under way fails.
  void SetStopEvent(Event* stop) { stopEvent = stop; }
  // Set while the host name is looked up, a call that nothing can cancel
  // (null: not told).
  void SetLookupEvent(Event* lookup) { lookupEvent = lookup; }

  const UrlParts& Url() const { return parts; }

 private:
  void Send(RequestForm form);
  bool Stopped();
  // After a read that would block: false when the operation's budget (from
  // start) is spent or a stop came, true when there may be something to read.
  bool AwaitData(std::uint32_t start, unsigned budgetMs);

  EventSocket socket;
  UrlParts parts;
  Event* stopEvent = nullptr;
  Event* lookupEvent = nullptr;
};
