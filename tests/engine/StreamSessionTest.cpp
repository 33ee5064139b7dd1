#include "engine/StreamSession.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <thread>
#include <string>
#include <vector>

#include "engine/FakeCodec.h"
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
  bool PollBlockDone() override { return blockDone.exchange(false); }
  Texts Texts_() {
    std::lock_guard<std::mutex> lock(mutex);
    return texts;
  }
  std::atomic<bool> blockDone{false};

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

std::string Interleave(const std::vector<std::uint8_t>& audio, int metaint, const std::string& title, size_t titleAt) {
  std::string out;
  for (size_t at = 0; at < audio.size(); at += static_cast<size_t>(metaint)) {
    size_t n = std::min(static_cast<size_t>(metaint), audio.size() - at);
    out.append(reinterpret_cast<const char*>(audio.data() + at), n);
    if (at + n < audio.size()) {
      if (at + n == titleAt) {
        std::string block = "StreamTitle='" + title + "';";
        size_t units = (block.size() + 15) / 16;
        block.resize(units * 16, '\0');
        out += static_cast<char>(units);
        out += block;
      } else {
        out += '\0';
      }
    }
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

std::string Pls(const std::vector<std::string>& files, const char* count = nullptr) {
  std::string body = "[playlist]\r\n";
  body += "numberofentries=" + (count ? std::string(count) : std::to_string(files.size())) + "\r\n";
  for (size_t i = 0; i < files.size(); ++i) body += "File" + std::to_string(i + 1) + "=" + files[i] + "\r\n";
  body += "Version=2\r\n";
  return "HTTP/1.0 200 OK\r\nContent-Type: audio/x-scpls\r\n\r\n" + body;
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

TEST(StreamSession, ConnectErrorWhenNobodyListens) {
  Session s;
  EXPECT_FALSE(s.Connect("http://127.0.0.1:" + std::to_string(LoopbackServer::ClosedPort()) + "/"));
  EXPECT_EQ((Texts{"Connect ...", "!Connect error"}), s.events.Texts_());
}

TEST(StreamSession, PrimesTheDecodeBufferWithTheFirstAudio) {
  std::vector<std::uint8_t> audio(20000);
  for (size_t i = 0; i < audio.size(); ++i) audio[i] = static_cast<std::uint8_t>(i * 13 % 256);
  // The header and the first body bytes come in one piece.
  LoopbackServer server(Answer(IcyHead(1000) + Interleave(audio, 1000, "First", 1000)));
  Session s;
  ASSERT_TRUE(s.Connect(server.Url("/live")));
  EXPECT_EQ((Texts{"Connect ..."}), s.events.Texts_());
  EXPECT_STREQ(server.Url("/live").c_str(), s.session.ConnectedUrl());
  EXPECT_EQ(1, s.session.streamInfo.format);
  EXPECT_EQ(1000, s.session.streamInfo.metaInterval);
  EXPECT_STREQ("Test", s.session.streamInfo.name.CStr());
  const StreamBuffers& b = s.session.buffers;
  ASSERT_GE(b.decodeEnd, 4096 * 1000 / 1017);
  EXPECT_EQ(0, std::memcmp(b.decode, audio.data(), static_cast<size_t>(b.decodeEnd))) << "no metadata byte in the audio";
  // The title waits for the block that its audio (from byte 1000 on) lands in.
  TextString title;
  EXPECT_FALSE(s.session.splitter.TakeTitle(0, title));
  s.session.splitter.FileTitles(0, 1000);
  EXPECT_FALSE(s.session.splitter.TakeTitle(0, title));
  s.session.splitter.FileTitles(0, 1001);
  EXPECT_TRUE(s.session.splitter.TakeTitle(0, title));
  EXPECT_STREQ("First", title.CStr());
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

TEST(StreamSession, ReadsBlocksUntilTheServerCloses) {
  std::vector<std::uint8_t> mp3 = ReadMedia("tone1k_44k_stereo_128.mp3");
  ASSERT_FALSE(mp3.empty());
  // A tiny interval: reads keep ending inside metadata blocks, so audio piles
  // up in the decode buffer between decodes.
  std::string body = Interleave(mp3, 16, "Tone", 32000);
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
  FakeCodec codec;
  StreamDecoder decoder(codec);
  const std::uint8_t* cursor = s.session.buffers.decode;
  ASSERT_TRUE(decoder.Init(cursor, s.session.buffers.decode + s.session.buffers.decodeEnd, 2));
  s.session.buffers.decodeCursor = static_cast<int>(cursor - s.session.buffers.decode);
  std::vector<std::uint8_t> block(static_cast<size_t>(decoder.BlockBytes()));
  int blocks = 0, counter = 0;
  int titleBlock = -1;
  while (s.session.ReadBlock(decoder, blocks % 3, block.data(), &counter)) {
    ASSERT_LE(s.session.buffers.decodeEnd, kDecodeBufferBytes);
    // Frame n's PCM starts with byte n: no frame lost or doubled.
    for (int i = 0; i < decoder.BlockBytes(); i += 997) {
      long long at = static_cast<long long>(blocks) * decoder.BlockBytes() + i;
      ASSERT_EQ(static_cast<std::uint8_t>(at / 4608 + at % 4608), block[static_cast<size_t>(i)]) << at;
    }
    TextString title;
    if (s.session.splitter.TakeTitle(blocks % 3, title) && std::string("Tone") == title.CStr()) titleBlock = blocks;
    ++blocks;
  }
  EXPECT_EQ(codec.converted * 4608 / decoder.BlockBytes(), blocks);
  EXPECT_GE(blocks, 8);
  // Audio byte 32000 is 2 s into the stream: the fifth half-second block,
  // although the whole stream arrived within the first block's receives.
  EXPECT_EQ(4, titleBlock);
  EXPECT_EQ("!Disconnect", s.events.Texts_().back());
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
  FakeCodec codec;
  StreamDecoder decoder(codec);
  const std::uint8_t* cursor = s.session.buffers.decode;
  ASSERT_TRUE(decoder.Init(cursor, s.session.buffers.decode + s.session.buffers.decodeEnd, 2));
  std::vector<std::uint8_t> block(static_cast<size_t>(decoder.BlockBytes()));
  // 12000 bytes hold one block and a half; the second waits for data that
  // never comes.
  int counter = 0;
  ASSERT_TRUE(s.session.ReadBlock(decoder, 0, block.data(), &counter));
  s.events.blockDone = true;
  std::thread stopper([&] {
    while (s.events.blockDone) platform::SleepMs(1);
    s.session.RequestStop();
  });
  std::uint32_t start = platform::TickCount();
  EXPECT_FALSE(s.session.ReadBlock(decoder, 1, block.data(), &counter));
  stopper.join();
  EXPECT_LT(platform::TickCount() - start, 5000u);
  EXPECT_EQ(1, counter) << "a block-done signal taken while waiting is counted";
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
