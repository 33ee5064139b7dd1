#include "engine/HttpClient.h"

#include <cstring>

#include "toolkit/ByteBuffer.h"
#include "toolkit/Numbers.h"
#include "toolkit/Platform.h"

namespace {

// Time-outs are measured from the start of an operation and tested only
// after a read that would block.
bool Expired(std::uint32_t start, unsigned budgetMs) { return platform::TickCount() - start > budgetMs; }

// The number at a fixed offset of a status line; a line too short to reach
// the offset has none.
int NumberAt(const char* text, size_t offset) {
  return std::strlen(text) >= offset ? ReadDecimal(text + offset) : 0;
}

}  // namespace

void HttpClient::SplitUrl(const char* url, int defaultPort, TextString& host, TextString& path, int& port) {
  const char* p = url;
  if (std::strncmp(p, "http://", 7) == 0) p += 7;
  const char* stop = p;
  while (*stop && *stop != '/' && *stop != ':') ++stop;
  host.Assign(p, static_cast<int>(stop - p));
  port = (*stop == ':') ? ReadDecimal(stop + 1) : defaultPort;
  const char* slash = std::strchr(stop, '/');
  path.Assign(slash ? slash + 1 : "");
}

bool HttpClient::Open(const char* url, int defaultPort) {
  if (!socket.Create(kInetFamily, true, 0)) return false;
  path.Reserve(255);
  // host and path grow with the URL: nothing is cut and nothing overruns.
  SplitUrl(url, defaultPort, host, path, port);
  std::uint32_t address = EventSocket::Resolve(host.CStr());
  if (address == kAddressNone) return false;
  return socket.ConnectWithTimeout(kInetFamily, port, address, kConnectTimeoutMs);
}

void HttpClient::BuildRequest(RequestForm form, TextString& request) const {
  request.Reserve(511);
  switch (form) {
    case RequestForm::Get:
      request.Format("GET /%s HTTP/1.0\r\nHost: %s\r\nUser-Agent: Mozilla\r\n\r\n", path.CStr(), host.CStr());
      break;
    case RequestForm::Post: {
      int question = path.Find(0, '?');
      TextString target, body;
      path.Substring(target, 0, question);
      if (question >= 0) path.Substring(body, question + 1, -1);
      request.Format(
          "POST /%s HTTP/1.0\r\nContent-Type: application/x-www-form-urlencoded\r\nUser-Agent: Mozilla\r\n"
          "Host: %s\r\nContent-Length: %d\r\n\r\n%s",
          target.CStr(), host.CStr(), body.Length(), body.CStr());
      break;
    }
    case RequestForm::IcyGet:
      request.Format("GET /%s HTTP/1.0\r\nHost: %s\r\nUser-Agent: Korimba\r\nAccept: */*\r\nIcy-MetaData:1\r\n\r\n",
                     path.CStr(), host.CStr());
      break;
  }
}

void HttpClient::Send(RequestForm form) {
  TextString request(511);
  BuildRequest(form, request);
  socket.Send(request.CStr(), request.Length());
  socket.SetNonBlocking(true);
}

void HttpClient::SendRequest(bool post) { Send(post ? RequestForm::Post : RequestForm::Get); }

void HttpClient::SendIcyRequest() { Send(RequestForm::IcyGet); }

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
    } else if (EventSocket::LastErrorWouldBlock()) {
      if (Aborted() || Expired(start, kReceiveAllTimeoutMs)) return -1;
      platform::SleepMs(1);
    } else {
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
    } else if (EventSocket::LastErrorWouldBlock()) {
      if (Aborted() || Expired(start, kReceiveAllTimeoutMs)) return -1;
      platform::SleepMs(1);
    } else {
      return -1;
    }
  }
}

int HttpClient::ReceiveHeader(char* buffer, int size) {
  // Bounded: a server that sends part of a header and stalls must neither
  // hold the caller forever nor spin a core.
  std::uint32_t start = platform::TickCount();
  int received = 0;
  for (;;) {
    if (received >= size - 1) return -1;
    int n = socket.Receive(buffer + received, size - 1 - received);
    if (n > 0) {
      received += n;
      buffer[received] = '\0';
      for (int i = 0; i + 4 <= received; ++i) {
        if (std::memcmp(buffer + i, "\r\n\r\n", 4) == 0) {
          buffer[i] = '\0';
          return received;
        }
      }
    } else if (n == 0) {
      return -1;
    } else if (EventSocket::LastErrorWouldBlock()) {
      if (Aborted() || Expired(start, kReceiveHeaderTimeoutMs)) return -1;
      platform::SleepMs(1);
    } else {
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
    } else if (EventSocket::LastErrorWouldBlock()) {
      if (Aborted() || Expired(start, kReceiveAtLeastTimeoutMs)) return kReceiveError;
      platform::SleepMs(1);
    } else {
      return kReceiveError;
    }
  }
  return received;
}

void HttpClient::Close() {
  socket.Shutdown(kShutdownBoth);
  socket.Close();
}

bool HttpClient::FindHeaderValue(const char* text, const char* name, TextString* value) {
  const char* found = std::strstr(text, name);
  if (!found) return false;
  const char* p = found + std::strlen(name);
  while (*p == ' ') ++p;
  const char* end = p;
  while (*end && *end != '\r') ++end;
  if (value) value->Assign(p, static_cast<int>(end - p));
  return true;
}

bool HttpClient::FindHeaderNumber(const char* text, const char* name, int* value) {
  TextString found;
  if (!FindHeaderValue(text, name, &found)) return false;
  *value = ReadDecimal(found.CStr());
  return true;
}

int HttpClient::ParseIcyResponse(const char* text, StreamInfo& info) {
  int status;
  if (std::strncmp(text, "ICY", 3) == 0) {
    status = NumberAt(text, 4);
  } else if (std::strncmp(text, "HTTP", 4) == 0) {
    // An HTTP answer never carries a stream; 302 is how full servers redirect.
    return NumberAt(text, 9) == 302 ? kIcyServerFull : kIcyRefused;
  } else {
    return kIcyNotShoutcast;
  }
  if (status == 400) return kIcyServerFull;
  if (status != 200) return kIcyRefused;

  if (!FindHeaderValue(text, "icy-name:", &info.name)) info.name.Clear();
  if (!FindHeaderValue(text, "icy-url:", &info.url)) info.url.Clear();
  TextString contentType;
  if (!FindHeaderValue(text, "content-type:", &contentType)) contentType.Assign("audio/mpeg");
  if (std::strcmp(contentType.CStr(), "audio/mpeg") == 0) {
    info.format = 1;
  } else if (std::strcmp(contentType.CStr(), "audio/aacp") == 0) {
    info.format = 2;
  } else {
    info.format = 0;
  }
  FindHeaderNumber(text, "icy-br:", &info.bitrate);
  if (!FindHeaderNumber(text, "icy-metaint:", &info.metaInterval)) info.metaInterval = 0;
  return kIcyStream;
}
