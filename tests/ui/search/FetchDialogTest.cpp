// The fetch dialog over loopback servers, watched from inside its own modal
// loop: what its line shows, how long a failure stays, that nothing but the
// worker ends it, and that a dialog that goes with its owner leaves no
// worker writing the caller's buffer.
#include "ui/search/FetchDialog.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "support/LoopbackServer.h"
#include "support/TestWindows.h"
#include "ui/search/FetchDialogRes.h"

namespace {

/* ｻｰﾊﾞｰに負荷がかかっています。\nしばらく待ってから試してみてください。 */
const char kServerBusy[] =
    "\xbb\xb0\xca\xde\xb0\x82\xc9\x95\x89\x89\xd7\x82\xaa\x82\xa9\x82\xa9\x82\xc1\x82\xc4\x82\xa2\x82\xdc\x82\xb7\x81"
    "B\n\x82\xb5\x82\xce\x82\xe7\x82\xad\x91\xd2\x82\xc1\x82\xc4\x82\xa9\x82\xe7\x8e\x8e\x82\xb5\x82\xc4\x82\xdd\x82"
    "\xc4\x82\xad\x82\xbe\x82\xb3\x82\xa2\x81"
    "B";
const char kReceivingPrefix[] = "\x8e\xf3\x90M\x92\x86 ... ";  // 受信中 ...

// What the dialog showed, tick by tick, while FetchUrl ran.
struct Watch {
  std::function<void(HWND box, const std::string& line)> onTick;
  std::vector<std::string> lines;
  HWND box = nullptr;
  RECT boxRect = {};
  bool topmost = false;
  DWORD busySince = 0;
};
Watch* gWatch = nullptr;

BOOL CALLBACK FindBox(HWND window, LPARAM) {
  char name[16] = {};
  GetClassNameA(window, name, sizeof name);
  if (std::string(name) != "#32770" || !IsWindowVisible(window)) return TRUE;
  gWatch->box = window;
  return FALSE;
}

void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
  gWatch->box = nullptr;
  EnumThreadWindows(GetCurrentThreadId(), &FindBox, 0);
  if (!gWatch->box) return;
  char text[256] = {};
  GetDlgItemTextA(gWatch->box, IDC_FETCH_PROGRESS, text, sizeof text);
  std::string line = text;
  if (gWatch->lines.empty() || gWatch->lines.back() != line) {
    gWatch->lines.push_back(line);
    if (line == kServerBusy) gWatch->busySince = GetTickCount();
  }
  GetWindowRect(gWatch->box, &gWatch->boxRect);
  gWatch->topmost = (GetWindowLongA(gWatch->box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  if (gWatch->onTick) gWatch->onTick(gWatch->box, line);
}

// FetchUrl over owner with the watch's timer running in its modal loop.
int WatchedFetch(Watch& watch, HWND owner, const std::string& url, ByteBuffer& buffer, const FetchLimits& limits) {
  gWatch = &watch;
  UINT_PTR timer = SetTimer(nullptr, 0, 15, &Tick);
  int result = FetchUrl(owner, url.c_str(), buffer, kFetchGet, limits);
  KillTimer(nullptr, timer);
  gWatch = nullptr;
  return result;
}

}  // namespace

TEST(FetchDialog, ShowsTheBusyTextForASecondOnTopOfItsOwnerAndOnlyTheWorkerEndsIt) {
  LoopbackServer server([](ServerConnection& c) {
    c.ReadRequest();
    c.Send("HTTP/1.0 503 Service Unavailable\r\n\r\n");
  });
  HostWindow owner;
  ByteBuffer buffer;
  ASSERT_TRUE(buffer.Init(8192, 1024));
  Watch watch;
  int pokes = 0;
  watch.onTick = [&](HWND box, const std::string&) {
    // Enter, Escape and the close box, every tick, as a user might.
    if (pokes++ > 20) return;
    SendMessageA(box, WM_COMMAND, IDOK, 0);
    SendMessageA(box, WM_COMMAND, IDCANCEL, 0);
    SendMessageA(box, WM_CLOSE, 0, 0);
    SendMessageA(box, WM_KEYDOWN, VK_ESCAPE, 0);
  };
  int result = WatchedFetch(watch, owner.Get(), server.Url("page"), buffer, kDirectoryFetchLimits);
  DWORD shown = GetTickCount() - watch.busySince;
  EXPECT_EQ(-1, result);
  ASSERT_FALSE(watch.lines.empty());
  EXPECT_EQ(kServerBusy, watch.lines.back()) << "both lines of the text on the progress line";
  ASSERT_NE(0u, watch.busySince);
  std::printf("busy text shown for %lu ms\n", static_cast<unsigned long>(shown));
  EXPECT_GE(shown, 900u) << "a second, less the watch's own tick";
  EXPECT_GT(pokes, 20) << "the box stayed open through the pokes";
  EXPECT_TRUE(watch.topmost);
  RECT o;
  GetWindowRect(owner.Get(), &o);
  EXPECT_NEAR((o.left + o.right) / 2, (watch.boxRect.left + watch.boxRect.right) / 2, 1) << "centred on its owner";
  EXPECT_NEAR((o.top + o.bottom) / 2, (watch.boxRect.top + watch.boxRect.bottom) / 2, 1);
}

TEST(FetchDialog, ABoxThatGoesWithItsOwnerLeavesNoWorkerFillingTheBuffer) {
  LoopbackServer server([](ServerConnection& c) {
    c.ReadRequest();
    c.Send("HTTP/1.0 200 OK\r\n\r\n");
    const std::string chunk(2048, 'y');
    for (int i = 0; i < 400 && c.Send(chunk); ++i) c.SleepMs(10);
  });
  HostWindow owner;
  ByteBuffer buffer;
  ASSERT_TRUE(buffer.Init(8192, 1024));
  Watch watch;
  watch.onTick = [&](HWND, const std::string& line) {
    if (line.rfind(kReceivingPrefix, 0) == 0 && line != std::string(kReceivingPrefix) + "0KB") {
      DestroyWindow(owner.Get());  // as the program's end destroys the windows
    }
  };
  const FetchLimits limits = {1500, 64u * 1024 * 1024};
  EXPECT_EQ(-1, WatchedFetch(watch, owner.Get(), server.Url("stream"), buffer, limits));
  std::uint32_t length = buffer.length;
  Sleep(300);
  EXPECT_EQ(length, buffer.length) << "nothing writes the buffer once the call has returned";
}
