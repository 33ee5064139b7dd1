#include "engine/HttpClient.h"

#include <cstring>

#include "toolkit/ByteBuffer.h"
#include "toolkit/Event.h"
#include "toolkit/Platform.h"

namespace {

// A host name holds no control byte and no blank; one that does could only
// smuggle bytes into the Host header.
bool IsPlainHost(const TextString& host) {
  for (const char* p = host.CStr(); *p; ++p) {
    unsigned char c = static_cast<unsigned char>(*p);
    if (c <= 0x20 || c == 0x7F) return false;
  }
  return true;
}

}  // namespace

bool HttpClient::Open(const char* url, int defaultPort) {
  if (!socket.Create(kInetFamily, true, 0)) return false;
  parts.path.Reserve(255);
  // host and path grow with the URL: nothing is cut and nothing overruns.
  SplitUrl(url, static_cast<int>(std::strlen(url)), defaultPort, parts);
  if (!IsUsablePort(parts.port) || !IsPlainHost(parts.host)) return false;
  std::uint32_t address = EventSocket::ParseAddress(parts.host.CStr());
  if (address == kAddressNone) {
    if (lookupEvent) lookupEvent->Set();
    address = EventSocket::LookUp(parts.host.CStr());
    if (lookupEvent) lookupEvent->Reset();
  }
  if (address == kAddressNone || Stopped()) return false;
  return socket.ConnectWithTimeout(kInetFamily, parts.port, address, kConnectTimeoutMs, stopEvent);
}

void HttpClient::Send(RequestForm form) {
  TextString request(511);
  BuildRequest(form, parts, request);
  socket.Send(request.CStr(), request.Length());
  socket.SetNonBlocking(true);
}

void HttpClient::SendRequest(bool post) { Send(post ? RequestForm::Post : RequestForm::Get); }

void HttpClient::SendIcyRequest() { Send(RequestForm::IcyGet); }

bool HttpClient::Stopped() { return stopEvent && stopEvent->IsSet(); }

DataWait HttpClient::WaitForData(Event* other, std::uint32_t ms) {
  // The other event first: a signal that came with the stop is still taken
  // and counted, and the stop is seen by the next wait.
  Event* events[2] = {other, stopEvent};
  Event** first = other ? events : events + 1;
  int count = (other ? 1 : 0) + (stopEvent ? 1 : 0);
  int woke = socket.Wait(first, count, ms);
  if (woke == kWaitSocket) return DataWait::Ready;
  if (woke == kWaitTimedOut) return DataWait::TimedOut;
  if (woke >= 0 && first[woke] == other) return DataWait::Other;
  return DataWait::Stopped;  // the stop event, or a wait that failed
}

bool HttpClient::AwaitData(std::uint32_t start, unsigned budgetMs) {
  // Time-outs are measured from the start of an operation and tested only
  // after a read that would block.
  std::uint32_t spent = platform::TickCount() - start;
  if (spent > budgetMs) return false;
  DataWait woke = WaitForData(nullptr, budgetMs - spent + 1);
  // Waking at the deadline is not yet past it: read once more, then give up.
  return woke == DataWait::Ready || woke == DataWait::TimedOut;
}

int HttpClient::ReceiveAll(char* buffer, int size) {
  if (size < 1) return -1;  // not even room for the NUL
  std::uint32_t start = platform::TickCount();
  int received = 0;
  for (;;) {
    if (received >= size - 1) break;  // full: keep what came, leave the rest unread
    int n = socket.Receive(buffer + received, size - 1 - received);
    if (n > 0) {
      received += n;
    } else if (n == 0) {
      break;
    } else if (!EventSocket::LastErrorWouldBlock() || !AwaitData(start, kReceiveAllTimeoutMs)) {
      return -1;
    }
  }
  buffer[received] = '\0';
  return received;
}

int HttpClient::ReceiveAllWithProgress(ByteBuffer& body, int chunkSize, ProgressSink* progress) {
  MemoryBlock chunk;
  if (chunkSize <= 0 || !chunk.Allocate(static_cast<std::uint32_t>(chunkSize), false)) return -1;
  std::uint32_t start = platform::TickCount();
  int total = 0;
  TextString text;
  for (;;) {
    int n = socket.Receive(chunk.data, chunkSize);
    if (n > 0) {
      if (!body.Append(chunk.data, static_cast<std::uint32_t>(n))) return -1;
      total += n;
      if (progress) {
        text.Format("\x8e\xf3\x90M\x92\x86 ... %dKB", (total + 1023) / 1024);  // 受信中 ... %dKB
        progress->ShowProgress(text.CStr());
      }
    } else if (n == 0) {
      // A NUL behind the body lets it be read as text; the total leaves it out.
      if (!body.AppendByte(0)) return -1;
      return total;
    } else if (!EventSocket::LastErrorWouldBlock() || !AwaitData(start, kReceiveAllTimeoutMs)) {
      return -1;
    }
  }
}

int HttpClient::ReceiveHeader(char* buffer, int size) {
  // Bounded: a server that sends part of a header and stalls must not hold
  // the caller forever.
  std::uint32_t start = platform::TickCount();
  int received = 0;
  for (;;) {
    if (received >= size - 1) return -1;
    int n = socket.Receive(buffer + received, size - 1 - received);
    if (n > 0) {
      // The empty line may straddle two reads: search from three bytes back.
      int from = received > 3 ? received - 3 : 0;
      received += n;
      buffer[received] = '\0';
      for (int i = from; i + 4 <= received; ++i) {
        if (std::memcmp(buffer + i, "\r\n\r\n", 4) == 0) {
          buffer[i] = '\0';
          return received;
        }
      }
    } else if (n == 0 || !EventSocket::LastErrorWouldBlock() || !AwaitData(start, kReceiveHeaderTimeoutMs)) {
      return -1;
    }
  }
}

int HttpClient::ReceiveSome(void* buffer, int size) {
  int n = socket.Receive(buffer, size);
  if (n > 0) return n;
  if (n == 0) return kReceiveClosed;
  return EventSocket::LastErrorWouldBlock() ? kReceiveWouldBlock : kReceiveError;
}

int HttpClient::ReceiveAtLeast(char* buffer, int minimum, int room) {
  std::uint32_t start = platform::TickCount();
  int received = 0;
  while (received < minimum) {
    if (received >= room) return kReceiveError;
    int n = socket.Receive(buffer + received, room - received);
    if (n > 0) {
      received += n;
    } else if (n == 0) {
      return kReceiveClosed;
    } else if (!EventSocket::LastErrorWouldBlock() || !AwaitData(start, kReceiveAtLeastTimeoutMs)) {
      return kReceiveError;
    }
  }
  return received;
}

void HttpClient::Close() {
  socket.Shutdown(kShutdownBoth);
  socket.Close();
}
