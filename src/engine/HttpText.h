// The text of HTTP and ICY: a URL split into host, port and path, the request
// built from them, and the server's answer header read into a StreamInfo.
// Pure functions over (bytes, length) that the caller owns; no socket here.
#pragma once

#include "toolkit/TextString.h"

// StreamInfo::format: the answer's content type.
enum StreamFormat : int {
  kStreamOther = 0,    // anything else
  kStreamMpeg = 1,     // exactly "audio/mpeg", or no content type at all
  kStreamAacPlus = 2,  // exactly "audio/aacp"
};

struct StreamInfo {
  TextString name;
  TextString url;
  StreamFormat format = kStreamOther;
  int bitrate = 0;
  int metaInterval = 0;
};

// ParseIcyResponse results.
constexpr int kIcyStream = 0;        // ICY 200: a stream follows, info filled
constexpr int kIcyNotShoutcast = 2;  // neither "ICY" nor "HTTP"
constexpr int kIcyServerFull = 3;    // ICY 400, or HTTP 302
constexpr int kIcyRefused = 4;       // any other status

struct UrlParts {
  TextString host;
  TextString path;  // behind the first '/' after the host, query included
  int port = 0;
};

// An optional "http://" (lower case only), the host up to the first NUL, '/'
// or ':', after ':' a decimal port read as atoi reads it (clamped to the int
// range), else defaultPort; the path behind the next '/'. Never fails.
void SplitUrl(const char* url, int length, int defaultPort, UrlParts& parts);

// TCP ports are 1 to 65535; anything else is refused, never wrapped.
inline bool IsUsablePort(int port) { return port >= 1 && port <= 65535; }

enum class RequestForm { Get, Post, IcyGet };

// The whole request for parts (the host alone in Host:, never the port).
// Bytes of the path below 0x21 and 0x7F go out as %XX, so nothing a URL
// holds can end the request line or add a header.
void BuildRequest(RequestForm form, const UrlParts& parts, TextString& request);

// Returns kIcyStream (info filled), kIcyNotShoutcast, kIcyServerFull or
// kIcyRefused for the answer header text[0, length).
int ParseIcyResponse(const char* text, int length, StreamInfo& info);

// The first occurrence of name anywhere in text[0, length) (case-sensitive),
// then blanks (0x20) skipped, the value up to CR or the end. Returns whether
// name occurs; value may be null.
bool FindHeaderValue(const char* text, int length, const char* name, TextString* value);
// The same value read as atoi reads it.
bool FindHeaderNumber(const char* text, int length, const char* name, int* value);
