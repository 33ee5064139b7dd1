// The web pages the bar opens itself.
#pragma once

// The station directory's site (context menu) and the program's home page
// (about box).
constexpr char kDirectoryPageUrl[] = "https://directory.shoutcast.com/";
constexpr char kHomePageUrl[] = "https://velmorin.example/";
