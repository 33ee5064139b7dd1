#include "engine/HttpText.h"

#include <climits>
#include <cstring>


namespace {

// A decimal number in [p, end) as atoi reads one (leading white space, a
// sign, digits up to the first non-digit, 0 without digits), clamped to the
// int range instead of wrapping: 65537 stays 65537, 2^32 + 80 is no 80.
int ReadNumber(const char* p, const char* end) {
  while (p < end && (*p == ' ' || (*p >= '\t' && *p <= '\r'))) ++p;
  bool negative = false;
  if (p < end && (*p == '+' || *p == '-')) negative = (*p++ == '-');
  long long value = 0;
  while (p < end && *p >= '0' && *p <= '9') {
    if (value <= INT_MAX) value = value * 10 + (*p - '0');
    ++p;
  }
  if (negative) value = -value;
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

// The number at a fixed offset of a status line; a line too short to reach
// the offset has none.
int NumberAt(const char* text, int length, int offset) {
  return length >= offset ? ReadNumber(text + offset, text + length) : 0;
}

bool StartsWith(const char* text, int length, const char* prefix) {
  int n = static_cast<int>(std::strlen(prefix));
  return length >= n && std::memcmp(text, prefix, static_cast<size_t>(n)) == 0;
}

// Appends text[0, length), each byte that could end or split a request line
// (controls, space, DEL) as %XX.
void AppendEscaped(TextString& out, const char* text, int length) {
  static const char kHex[] = "0123456789ABCDEF";
  for (int i = 0; i < length; ++i) {
    unsigned char c = static_cast<unsigned char>(text[i]);
    if (c <= 0x20 || c == 0x7F) {
      char escaped[3] = {'%', kHex[c >> 4], kHex[c & 15]};
      out.Append(escaped, 3);
    } else {
      out.AppendChar(static_cast<char>(c));
    }
  }
}

}  // namespace

void SplitUrl(const char* url, int length, int defaultPort, UrlParts& parts) {
  const char* end = url + (length > 0 ? length : 0);
  const char* p = url;
  if (StartsWith(p, static_cast<int>(end - p), "http://")) p += 7;
  const char* stop = p;
  while (stop < end && *stop && *stop != '/' && *stop != ':') ++stop;
  parts.host.Assign(p, static_cast<int>(stop - p));
  parts.port = (stop < end && *stop == ':') ? ReadNumber(stop + 1, end) : defaultPort;
  const char* slash = stop;
  while (slash < end && *slash && *slash != '/') ++slash;
  if (slash < end && *slash == '/') {
    const char* pathEnd = slash + 1;
    while (pathEnd < end && *pathEnd) ++pathEnd;
    parts.path.Assign(slash + 1, static_cast<int>(pathEnd - (slash + 1)));
  } else {
    parts.path.Clear();
  }
}

void BuildRequest(RequestForm form, const UrlParts& parts, TextString& request) {
  request.Reserve(511);
  const char* path = parts.path.CStr();
  int pathLength = parts.path.Length();
  switch (form) {
    case RequestForm::Get:
    case RequestForm::IcyGet:
      request.Assign("GET /");
      AppendEscaped(request, path, pathLength);
      request.Append(" HTTP/1.0\r\nHost: ");
      request.Append(parts.host.CStr());
      request.Append(form == RequestForm::Get ? "\r\nUser-Agent: Mozilla\r\n\r\n"
                                              : "\r\nUser-Agent: Korimba\r\nAccept: */*\r\nIcy-MetaData:1\r\n\r\n");
      break;
    case RequestForm::Post: {
      int question = parts.path.Find(0, '?');
      int targetLength = question >= 0 ? question : pathLength;
      const char* body = question >= 0 ? path + question + 1 : "";
      request.Assign("POST /");
      AppendEscaped(request, path, targetLength);
      request.AppendFormat(
          " HTTP/1.0\r\nContent-Type: application/x-www-form-urlencoded\r\nUser-Agent: Mozilla\r\n"
          "Host: %s\r\nContent-Length: %d\r\n\r\n%s",
          parts.host.CStr(), static_cast<int>(std::strlen(body)), body);
      break;
    }
  }
}

bool FindHeaderValue(const char* text, int length, const char* name, TextString* value) {
  int nameLength = static_cast<int>(std::strlen(name));
  if (nameLength == 0) return false;
  for (int i = 0; i + nameLength <= length; ++i) {
    if (std::memcmp(text + i, name, static_cast<size_t>(nameLength)) != 0) continue;
    const char* end = text + length;
    const char* p = text + i + nameLength;
    while (p < end && *p == ' ') ++p;
    const char* stop = p;
    while (stop < end && *stop != '\r') ++stop;
    if (value) value->Assign(p, static_cast<int>(stop - p));
    return true;
  }
  return false;
}

bool FindHeaderNumber(const char* text, int length, const char* name, int* value) {
  TextString found;
  if (!FindHeaderValue(text, length, name, &found)) return false;
  *value = ReadNumber(found.CStr(), found.CStr() + found.Length());
  return true;
}

int ParseIcyResponse(const char* text, int length, StreamInfo& info) {
  int status;
  if (StartsWith(text, length, "ICY")) {
    status = NumberAt(text, length, 4);
  } else if (StartsWith(text, length, "HTTP")) {
    // An HTTP answer never carries a stream; 302 is how full servers redirect.
    return NumberAt(text, length, 9) == 302 ? kIcyServerFull : kIcyRefused;
  } else {
    return kIcyNotShoutcast;
  }
  if (status == 400) return kIcyServerFull;
  if (status != 200) return kIcyRefused;

  if (!FindHeaderValue(text, length, "icy-name:", &info.name)) info.name.Clear();
  if (!FindHeaderValue(text, length, "icy-url:", &info.url)) info.url.Clear();
  TextString contentType;
  if (!FindHeaderValue(text, length, "content-type:", &contentType)) contentType.Assign("audio/mpeg");
  if (std::strcmp(contentType.CStr(), "audio/mpeg") == 0) {
    info.format = kStreamMpeg;
  } else if (std::strcmp(contentType.CStr(), "audio/aacp") == 0) {
    info.format = kStreamAacPlus;
  } else {
    info.format = kStreamOther;
  }
  FindHeaderNumber(text, length, "icy-br:", &info.bitrate);
  if (!FindHeaderNumber(text, length, "icy-metaint:", &info.metaInterval)) info.metaInterval = 0;
  return kIcyStream;
}
