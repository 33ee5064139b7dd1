// The web pages the bar opens, and the test that a text handed to the shell
// from elsewhere (a stream's header, a playlist) is a web address and not a
// program or document path.
#pragma once

// The station directory's site (context menu) and the program's home page
// (about box).
constexpr char kDirectoryPageUrl[] = "https://directory.shoutcast.com/";
constexpr char kHomePageUrl[] = "https://velmorin.example/";

// True for "http://" or "https://" (any letter case) followed by at least
// one character.
bool IsWebAddress(const char* text);
