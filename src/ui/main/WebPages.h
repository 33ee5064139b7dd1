// The web pages the bar opens: the station directory's site (context menu)
// and the program's home page (about box).
#pragma once

constexpr char kDirectoryPageUrl[] = "https://directory.shoutcast.com/";
constexpr char kHomePageUrl[] = "https://velmorin.example/";
