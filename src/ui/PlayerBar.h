// What a side window may ask of the player bar: play a station, and what
// plays now (for "add the station now playing"). MainWindow implements it;
// start-up hands it to the side windows, which never include the bar's own
// headers. Main thread only.
#pragma once

struct StreamInfo;

// Play sources.
constexpr int kPlayLastUrl = 0;    // the LastURL setting
constexpr int kPlayClipboard = 1;  // the text on the clipboard
constexpr int kPlayGivenUrl = 2;   // the URL passed along

class PlayerBar {
 public:
  // Stops what plays and plays the source's URL; an empty one plays nothing.
  virtual void Play(int source, const char* url) = 0;
  // The player's state: kPlayerIdle, kPlayerPlaying or kPlayerConnecting.
  virtual int PlayerState() const = 0;
  // The connected stream's name, station page and bit rate; null before a
  // stream has started.
  virtual const StreamInfo* PlayingStream() const = 0;
  // The URL that connected last (the LastURL setting).
  virtual const char* LastUrl() const = 0;

 protected:
  ~PlayerBar() = default;
};
