// The two hosts of the station directory that the search window talks to,
// both over plain HTTP on port 80: the web site whose search page answers
// "/search-ajax/" queries, and the tune-in service that answers a station id
// with a PLS playlist. Kept here alone so that README.md can name every host
// the program contacts from one place.
#pragma once

constexpr char kDirectoryHost[] = "www.shoutcast.com";
constexpr char kTuneInHost[] = "yp.shoutcast.com";
