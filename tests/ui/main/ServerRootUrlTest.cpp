#include "ui/main/ServerRootUrl.h"

#include <gtest/gtest.h>

#include "toolkit/TextString.h"

namespace {
std::string Root(const char* url) {
  TextString root;
  CutServerRootUrl(url, root);
  return root.CStr();
}
}  // namespace

TEST(ServerRootUrl, CutsBehindTheThirdSlash) {
  EXPECT_EQ("http://example.net:8000/", Root("http://example.net:8000/stream/live.mp3"));
  EXPECT_EQ("http://127.0.0.1:8000/", Root("http://127.0.0.1:8000/"));
  EXPECT_EQ("http://a/", Root("http://a/b/c/d"));
}

TEST(ServerRootUrl, FewerThanThreeSlashesKeepTheWholeUrl) {
  EXPECT_EQ("http://example.net:8000", Root("http://example.net:8000"));
  EXPECT_EQ("example.net/x", Root("example.net/x"));
  EXPECT_EQ("", Root(""));
  // The search starts at position 1: a leading slash is not counted.
  EXPECT_EQ("/a/b/c", Root("/a/b/c"));
  EXPECT_EQ("/a/b/c/", Root("/a/b/c/d"));
}

TEST(ServerRootUrl, WalksTheUrlByCharacters) {
  EXPECT_EQ("http://\x95\x5c/", Root("http://\x95\x5c/x")) << "a host of one double-byte character";
  // A lead byte takes the next byte along, as the system's CharNext does, so
  // the "/" right after 0x81 is not a separator.
  EXPECT_EQ("http://h\x81/x", Root("http://h\x81/x"));
}
