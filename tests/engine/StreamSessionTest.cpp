#include "engine/StreamSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>
#include <thread>
#include <string>
#include <vector>

#include "engine/FakeCodec.h"
#include "engine/Mp3Frame.h"
#include "engine/StreamDecoder.h"
#include "support/LoopbackServer.h"
#include "support/Media.h"
#include "toolkit/Platform.h"

namespace {

using Texts = std::vector<std::string>;

class Recorder : public SessionEvents {
 public:
  void ShowStatus(const char* text, bool error) override {
    std::lock_guard<std::mutex> lock(mutex);
    texts.push_back(std::string(error ? "!" : "") + text);
  }
  std::int64_t PlayedBytes() override { return played; }
  bool BlockFinished(int k) override { return (finished.load() >> k) & 1; }
  Texts Texts_() {
    std::lock_guard<std::mutex> lock(mutex);
    return texts;
  }
  bool Shown(const std::string& text) {
    Texts all = Texts_();
    return std::find(all.begin(), all.end(), text) != all.end();
  }
  // The device: its position, and the blocks it is done with (bit k).
  std::atomic<std::int64_t> played{-1};
  std::atomic<std::uint32_t> finished{0};

 private:
  std::mutex mutex;
  Texts texts;
};

std::string IcyHead(int metaint, const std::string& contentType = "audio/mpeg") {
  std::string head = "ICY 200 OK\r\nicy-name:Test\r\nicy-url:http://example/\r\nicy-br:128\r\n";
  if (!contentType.empty()) head += "content-type:" + contentType + "\r\n";
  if (metaint) head += "icy-metaint:" + std::to_string(metaint) + "\r\n";
  return head + "\r\n";
}

// The audio with a metadata point after every metaint bytes; a title goes
// out at the point that its audio offset names, the other points are empty.
std::string Interleave(const std::vector<std::uint8_t>& audio, int metaint,
                       const std::vector<std::pair<size_t, std::string>>& titles) {
  std::string out;
  for (size_t at = 0; at < audio.size(); at += static_cast<size_t>(metaint)) {
    size_t n = std::min(static_cast<size_t>(metaint), audio.size() - at);
    out.append(reinterpret_cast<const char*>(audio.data() + at), n);
    if (at + n == audio.size()) break;
    std::string block;
    for (const auto& title : titles) {
      if (title.first == at + n) block = "StreamTitle='" + title.second + "';";
    }
    size_t units = (block.size() + 15) / 16;
    block.resize(units * 16, '\0');
    out += static_cast<char>(units);
    out += block;
  }
  return out;
}

// Serves one answer per connection, then waits for the client to close.
LoopbackServer::Script Answer(const std::string& bytes) {
  return [bytes](ServerConnection& c) {
    c.ReadRequest();
    c.Send(bytes);
    c.WaitForClose(15000);
  };
}

// Sends the answer and closes, as a web server does.
LoopbackServer::Script AnswerAndClose(const std::string& bytes) {
  return [bytes](ServerConnection& c) {
    c.ReadRequest();
    c.Send(bytes);
  };
}

struct Session {
  Recorder events;
  StreamSession session{events};
  Session() { EXPECT_TRUE(session.Allocate()); }
  bool Connect(const std::string& url) {
    session.Begin(url.c_str());
    return session.ConnectAny();
  }
};

// A decoder over a FakeCodec for a connected session, and a block to fill.
struct Decoding {
  FakeCodec codec;
  StreamDecoder decoder{codec};
  std::vector<std::uint8_t> block;
  bool Start(StreamSession& session) {
    if (!session.InitDecoder(decoder, 2)) return false;
    block.resize(static_cast<size_t>(decoder.BlockBytes()));
    return true;
  }
  bool Read(StreamSession& session, int k, bool watchRing) { return session.ReadBlock(decoder, k, block.data(), watchRing); }
};

std::string Pls(const std::vector<std::string>& files, const char* count = nullptr) {
  std::string body = "[playlist]\r\n";
  body += "numberofentries=" + (count ? std::string(count) : std::to_string(files.size())) + "\r\n";
  for (size_t i = 0; i < files.size(); ++i) body += "File" + std::to_string(i + 1) + "=" + files[i] + "\r\n";
  body += "Version=2\r\n";
  return "HTTP/1.0 200 OK\r\nContent-Type: audio/x-scpls\r\n\r\n" + body;
}

// Where each frame of a file of back-to-back MP3 frames begins.
std::vector<size_t> FrameStarts(const std::vector<std::uint8_t>& mp3) {
  std::vector<size_t> starts;
  Mp3Header header;
  for (size_t at = 0; at + 4 <= mp3.size() && ParseMp3Header(mp3.data() + at, &header); at += header.frameLength) {
    starts.push_back(at);
  }
  return starts;
}

}  // namespace

TEST(StreamSession, ReportsEachRefusalWithItsText) {
  struct Case {
    std::string answer;
    const char* text;
  } cases[] = {
      {"ICY 400 Server Full\r\n\r\n", "!Listener Max"},
      {"HTTP/1.1 302 Found\r\nLocation: http://x/\r\n\r\n", "!Listener Max"},
      {"HTTP/1.0 200 OK\r\nContent-Type: audio/mpeg\r\n\r\n", "!Can't use server"},
      {"ICY 401 Unauthorized\r\n\r\n", "!Can't use server"},
      {"<html><body>hello</body></html>\r\n\r\n", "!Not shoutcast server"},
      {IcyHead(0, "audio/aacp"), "!Not supported format"},
      {"ICY 200 OK\r\nno end of header", "!Recv error"},
  };
  for (const Case& c : cases) {
    LoopbackServer server(Answer(c.answer));
    Session s;
    EXPECT_FALSE(s.Connect(server.Url("/live")));
    EXPECT_EQ((Texts{"Connect ...", c.text}), s.events.Texts_()) << c.answer;
  }
}

TEST(StreamSession, ConnectErrorWhenNobodyListensOrThePortIsOutOfRange) {
  Session s;
  EXPECT_FALSE(s.Connect("http://127.0.0.1:" + std::to_string(LoopbackServer::ClosedPort()) + "/"));
  EXPECT_EQ((Texts{"Connect ...", "!Connect error"}), s.events.Texts_());
  // 65536 + N would reach port N if it wrapped.
  LoopbackServer server(Answer(IcyHead(0) + std::string(8000, 'a')));
  Session wrapped;
  EXPECT_FALSE(wrapped.Connect("http://127.0.0.1:" + std::to_string(65536 + server.Port()) + "/"));
  EXPECT_EQ((Texts{"Connect ...", "!Connect error"}), wrapped.events.Texts_());
}

TEST(StreamSession, ConnectsAndReadsTheStreamInfo) {
  std::vector<std::uint8_t> audio(20000);
  for (size_t i = 0; i < audio.size(); ++i) audio[i] = static_cast<std::uint8_t>(i * 13 % 256);
  // The header and the first body bytes come in one piece.
  LoopbackServer server(Answer(IcyHead(1000) + Interleave(audio, 1000, {{1000, "First"}})));
  Session s;
  ASSERT_TRUE(s.Connect(server.Url("/live")));
  EXPECT_EQ((Texts{"Connect ..."}), s.events.Texts_());
  EXPECT_STREQ(server.Url("/live").c_str(), s.session.ConnectedUrl());
  EXPECT_EQ(kStreamMpeg, s.session.Info().format);
  EXPECT_EQ(1000, s.session.Info().metaInterval);
  EXPECT_STREQ("Test", s.session.Info().name.CStr());
}

TEST(StreamSession, PlaylistFallsThroughDeadEntries) {
  LoopbackServer stream(Answer(IcyHead(0) + std::string(8000, 'a')));
  std::string dead = "http://127.0.0.1:" + std::to_string(LoopbackServer::ClosedPort()) + "/dead";
  std::string alive = stream.Url("/live");
  LoopbackServer playlist(AnswerAndClose(Pls({dead, alive})));
  Session s;
  ASSERT_TRUE(s.Connect(playlist.Url("/list.pls")));
  EXPECT_EQ((Texts{"Recv pls ...", "Connect ...", "!Connect error", "Connect ..."}), s.events.Texts_());
  EXPECT_EQ(alive, s.session.ConnectedUrl()) << "the entry that answered is reported";
}

TEST(StreamSession, PlaylistEntryEndsAtALineBreakTheReaderKeeps) {
  // The reader steps over a double-byte character whole, so a CR behind a
  // lead byte stays inside the value: the URL still ends there.
  std::mutex mutex;
  std::string request;
  LoopbackServer stream([&](ServerConnection& c) {
    std::string got = c.ReadRequest();
    {
      std::lock_guard<std::mutex> lock(mutex);
      request = got;
    }
    c.Send(IcyHead(0) + std::string(8000, 'a'));
    c.WaitForClose(15000);
  });
  LoopbackServer playlist(AnswerAndClose(Pls({stream.Url("live") + "\x81\rX-Injected: 1"})));
  Session s;
  ASSERT_TRUE(s.Connect(playlist.Url("/list.pls")));
  EXPECT_EQ(stream.Url("live") + "\x81", s.session.ConnectedUrl());
  std::lock_guard<std::mutex> lock(mutex);
  EXPECT_EQ(0u, request.find("GET /live\x81 HTTP/1.0\r\n")) << request;
  EXPECT_EQ(std::string::npos, request.find("Injected")) << request;
}

TEST(StreamSession, PlaylistFailuresAndSilentEnds) {
  {
    LoopbackServer playlist(AnswerAndClose("HTTP/1.0 404 Not Found\r\n\r\n"));
    Session s;
    EXPECT_FALSE(s.Connect(playlist.Url("/gone.pls")));
    EXPECT_EQ((Texts{"Recv pls ...", "!Recv error"}), s.events.Texts_());
  }
  {
    LoopbackServer playlist(AnswerAndClose("HTTP/1.0 200 OK\r\n\r\n[playlist]\r\nFile1=http://x/\r\n"));
    Session s;
    EXPECT_FALSE(s.Connect(playlist.Url("/none.pls")));
    EXPECT_EQ((Texts{"Recv pls ...", "!pls none"}), s.events.Texts_());
  }
  {
    LoopbackServer stream(Answer(IcyHead(0) + std::string(8000, 'a')));
    LoopbackServer playlist(AnswerAndClose(Pls({"", stream.Url("/live")})));
    Session s;
    EXPECT_FALSE(s.Connect(playlist.Url("/empty.pls")));
    EXPECT_EQ((Texts{"Recv pls ..."}), s.events.Texts_()) << "an empty File1 ends without a text";
  }
  {
    LoopbackServer playlist(AnswerAndClose("HTTP/1.0 200 OK\r\n\r\n"));
    Session s;
    EXPECT_FALSE(s.Connect(playlist.Url("/blank.pls")));
    EXPECT_EQ((Texts{"Recv pls ..."}), s.events.Texts_());
  }
}

TEST(StreamSession, PlaylistTriesAtMostFourEntries) {
  std::atomic<int> connections{0};
  LoopbackServer refusing([&](ServerConnection& c) {
    ++connections;
    c.ReadRequest();
    c.Send("ICY 400 Full\r\n\r\n");
    c.WaitForClose(5000);
  });
  std::string url = refusing.Url("/x");
  LoopbackServer playlist(AnswerAndClose(Pls({url, url, url, url, url, url})));
  Session s;
  EXPECT_FALSE(s.Connect(playlist.Url("/six.pls")));
  EXPECT_EQ(4, connections.load());
  EXPECT_EQ("!Listener Max", s.events.Texts_().back());
}

TEST(StreamSession, ReadsBlocksAndShowsEachTitleWithItsAudio) {
  std::vector<std::uint8_t> mp3 = ReadMedia("tone1k_44k_stereo_128.mp3");
  ASSERT_FALSE(mp3.empty());
  // A tiny interval: reads keep ending inside metadata blocks, so audio piles
  // up in the decode buffer between decodes.
  std::string body = Interleave(mp3, 16, {{16, "Joined"}, {32000, "Tone"}});
  LoopbackServer server([&](ServerConnection& c) {
    c.ReadRequest();
    c.Send(IcyHead(16));
    for (size_t at = 0; at < body.size(); at += 7001) {
      c.Send(body.substr(at, 7001));
      c.SleepMs(1);
    }
  });
  Session s;
  ASSERT_TRUE(s.Connect(server.Url("/live")));
  Decoding d;
  ASSERT_TRUE(d.Start(s.session));
  EXPECT_EQ(128, s.session.Info().bitrate);
  const StreamDecoder& decoder = d.decoder;
  const std::vector<std::uint8_t>& block = d.block;
  int blocks = 0;
  int joinedBlock = -1, toneBlock = -1;
  s.events.played = 0;
  while (d.Read(s.session, blocks % 3, true)) {
    // Frame n's PCM starts with byte n: no frame lost or doubled, no
    // metadata byte taken for audio.
    for (int i = 0; i < decoder.BlockBytes(); i += 997) {
      long long at = static_cast<long long>(blocks) * decoder.BlockBytes() + i;
      ASSERT_EQ(static_cast<std::uint8_t>(at / 4608 + at % 4608), block[static_cast<size_t>(i)]) << at;
    }
    // The block sounds: its title shows once the device reaches its sample.
    s.session.ShowPendingTitle(blocks % 3);
    s.events.played = static_cast<std::int64_t>(blocks + 1) * decoder.BlockBytes();
    s.session.ShowDueTitle();
    Texts texts = s.events.Texts_();
    if (joinedBlock < 0 && texts.back() == "Joined") joinedBlock = blocks;
    if (toneBlock < 0 && texts.back() == "Tone") toneBlock = blocks;
    ++blocks;
  }
  EXPECT_EQ(d.codec.converted * 4608 / decoder.BlockBytes(), blocks);
  EXPECT_GE(blocks, 8);
  // The station's first title holds from the first sample; audio byte 32000
  // is 2 s into the stream: the fifth half-second block, although the whole
  // stream arrived within the first block's receives.
  EXPECT_EQ(0, joinedBlock);
  EXPECT_EQ(4, toneBlock);
  EXPECT_EQ("!Disconnect", s.events.Texts_().back());
}

TEST(StreamSession, TitleWaitsForTheDeviceToPlayItsFirstSample) {
  std::vector<std::uint8_t> mp3 = ReadMedia("tone1k_44k_stereo_128.mp3");
  ASSERT_FALSE(mp3.empty());
  std::vector<size_t> frames = FrameStarts(mp3);
  ASSERT_GT(frames.size(), 60u);
  // A metadata point at the start of frame 20, the next one 20 frames on (a
  // frame's length varies by its padding byte): "Two" comes with the first
  // frame that begins at or after it, and its PCM with that frame's.
  int metaint = static_cast<int>(frames[20]);
  size_t two = 0;
  while (frames[two] < 2 * frames[20]) ++two;
  LoopbackServer server(Answer(IcyHead(metaint) + Interleave(mp3, metaint, {{frames[20], "One"}, {2 * frames[20], "Two"}})));
  Session s;
  ASSERT_TRUE(s.Connect(server.Url("/live")));
  Decoding d;
  ASSERT_TRUE(d.Start(s.session));
  for (int k = 0; k < 3; ++k) ASSERT_TRUE(d.Read(s.session, k, false));
  s.session.ShowFirstTitle();
  EXPECT_EQ("One", s.events.Texts_().back()) << "the first title holds from the start";

  const std::int64_t sample = static_cast<std::int64_t>(two) * 4608;
  ASSERT_EQ(2, sample / d.decoder.BlockBytes()) << "the test wants Two in block 2";
  const std::int64_t perSecond = d.decoder.Format().avgBytesPerSec;
  s.events.played = 0;
  EXPECT_FALSE(s.session.ShowPendingTitle(0));
  EXPECT_FALSE(s.session.ShowPendingTitle(1));
  ASSERT_TRUE(s.session.ShowPendingTitle(2));
  EXPECT_EQ("One", s.events.Texts_().back()) << "not before its sample plays";
  s.events.played = sample - perSecond / 10;
  std::uint32_t wait = s.session.ShowDueTitle();
  EXPECT_GE(wait, 99u);
  EXPECT_LE(wait, 101u) << "the wait ends when the sample is due";
  s.events.played = sample - 1;
  EXPECT_EQ(1u, s.session.ShowDueTitle());
  EXPECT_EQ("One", s.events.Texts_().back());
  s.events.played = sample;
  EXPECT_EQ(kNoTitleDue, s.session.ShowDueTitle());
  EXPECT_EQ("Two", s.events.Texts_().back());
}

TEST(StreamSession, TheRingKeepsTimeWhileTheNetworkPauses) {
  std::vector<std::uint8_t> mp3 = ReadMedia("tone1k_44k_stereo_128.mp3");
  ASSERT_FALSE(mp3.empty());
  std::vector<size_t> frames = FrameStarts(mp3);
  ASSERT_GT(frames.size(), 100u);
  // Metadata points every 20 frames, a block every 19.1: "Two" comes with
  // the audio of block 2, "Three" 67 ms or so into block 3.
  int metaint = static_cast<int>(frames[20]);
  std::string body =
      Interleave(mp3, metaint, {{frames[20], "One"}, {2 * frames[20], "Two"}, {3 * frames[20], "Three"}});
  // The station sends what fills a ring of three blocks (58 frames) and a
  // little more, and then pauses until the test lets it go on.
  size_t pauseAt = frames[62];
  std::atomic<bool> goOn{false};
  LoopbackServer server([&](ServerConnection& c) {
    c.ReadRequest();
    c.Send(IcyHead(metaint) + body.substr(0, pauseAt));
    for (int waited = 0; !goOn && waited < 15000; waited += 5) c.SleepMs(5);
    c.Send(body.substr(pauseAt));
    c.WaitForClose(15000);
  });
  Session s;
  ASSERT_TRUE(s.Connect(server.Url("/live")));
  Decoding d;
  ASSERT_TRUE(d.Start(s.session));
  for (int k = 0; k < 3; ++k) ASSERT_TRUE(d.Read(s.session, k, false));
  s.session.ShowFirstTitle();
  const std::int64_t blockBytes = d.decoder.BlockBytes();
  s.session.StartRing(3);  // a device that cannot tell its position
  EXPECT_EQ(-1, s.session.BlockToRefill()) << "nothing has played yet";

  // Block 0 has played; its refill waits for the paused station, and block 1
  // ends meanwhile: block 2 sounds now, and so does its title.
  s.events.finished = 1;
  ASSERT_EQ(0, s.session.BlockToRefill());
  bool shownInThePause = false;
  std::thread device([&] {
    s.events.finished |= 2;
    s.session.BlockDoneEvent().Set();
    std::uint32_t start = platform::TickCount();
    while (!s.events.Shown("Two") && platform::TickCount() - start < 5000) platform::SleepMs(5);
    shownInThePause = s.events.Shown("Two");
    goOn = true;
  });
  bool read = d.Read(s.session, 0, true);
  device.join();
  ASSERT_TRUE(read);
  EXPECT_TRUE(shownInThePause) << "the title waited for the network";
  s.events.finished &= ~1u;  // block 0 is queued again
  s.session.BlockRequeued();

  // A device that tells its position: "Three" waits for its sample, not
  // for block 2 to be reported done.
  s.events.played = 3 * blockBytes;
  std::uint32_t wait = s.session.ShowDueTitle();
  EXPECT_FALSE(s.events.Shown("Three"));
  EXPECT_GE(wait, 60u);
  EXPECT_LE(wait, 100u) << "until its first sample";
  s.events.played = 3 * blockBytes + blockBytes / 2;
  EXPECT_EQ(kNoTitleDue, s.session.ShowDueTitle());
  EXPECT_EQ((Texts{"Connect ...", "One", "Two", "Three"}), s.events.Texts_());

  // Block 2 finished too, with no signal of its own: each finished block is
  // refilled in turn, and the ring is whole again.
  s.events.finished |= 4;
  std::vector<int> refilled;
  for (int k = s.session.BlockToRefill(); k >= 0 && refilled.size() < 5; k = s.session.BlockToRefill()) {
    refilled.push_back(k);
    ASSERT_TRUE(d.Read(s.session, k, true));
    s.events.finished &= ~(1u << k);
    s.session.BlockRequeued();
  }
  EXPECT_EQ((std::vector<int>{1, 2}), refilled);
}

TEST(StreamSession, StopWhileDataIsShortEndsWithoutText) {
  std::vector<std::uint8_t> mp3 = ReadMedia("tone1k_44k_stereo_128.mp3");
  ASSERT_FALSE(mp3.empty());
  LoopbackServer server([&](ServerConnection& c) {
    c.ReadRequest();
    c.Send(IcyHead(0) + std::string(reinterpret_cast<const char*>(mp3.data()), 12000));
    c.WaitForClose(15000);
  });
  Session s;
  ASSERT_TRUE(s.Connect(server.Url("/live")));
  Decoding d;
  ASSERT_TRUE(d.Start(s.session));
  // 12000 bytes hold one block and a half; the second waits for data that
  // never comes, and meets a finished block and the stop.
  ASSERT_TRUE(d.Read(s.session, 0, true));
  s.session.BlockDoneEvent().Set();
  std::thread stopper([&] {
    platform::SleepMs(200);
    s.session.RequestStop();
  });
  std::uint32_t start = platform::TickCount();
  EXPECT_FALSE(d.Read(s.session, 1, true));
  std::uint32_t took = platform::TickCount() - start;
  stopper.join();
  EXPECT_GE(took, 150u) << "it waited for the data";
  EXPECT_LT(took, 2000u) << "the stop ends the wait";
  EXPECT_FALSE(s.session.BlockDoneEvent().IsSet()) << "the block-done signal was taken";
  EXPECT_EQ((Texts{"Connect ..."}), s.events.Texts_());
  s.session.Status("Late", true);
  EXPECT_EQ(1u, s.events.Texts_().size()) << "a stopped session sends no text";
}

TEST(StreamSession, StopCutsTheTenSecondWaitForFirstBytesShort) {
  LoopbackServer server([](ServerConnection& c) {
    c.ReadRequest();
    c.Send(IcyHead(0));
    c.WaitForClose(15000);
  });
  Session s;
  std::thread stopper([&] {
    platform::SleepMs(300);
    s.session.RequestStop();
  });
  std::uint32_t start = platform::TickCount();
  EXPECT_FALSE(s.Connect(server.Url("/live")));
  stopper.join();
  EXPECT_LT(platform::TickCount() - start, 3000u);
  EXPECT_EQ((Texts{"Connect ..."}), s.events.Texts_());
}

TEST(StreamSession, RecvErrorWhenTheServerStallsAfterTheHeader) {
  LoopbackServer server([](ServerConnection& c) {
    c.ReadRequest();
    c.Send(IcyHead(8192) + std::string(100, 'x'));
    c.WaitForClose(15000);
  });
  Session s;
  std::uint32_t start = platform::TickCount();
  EXPECT_FALSE(s.Connect(server.Url("/live")));
  std::uint32_t took = platform::TickCount() - start;
  EXPECT_GE(took, 10000u);
  EXPECT_LT(took, 12000u);
  EXPECT_EQ((Texts{"Connect ...", "!Recv error"}), s.events.Texts_());
}
