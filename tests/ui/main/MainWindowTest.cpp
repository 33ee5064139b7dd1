// The bar as a real window over the built-in skin: its place and shape, the
// mouse (hover, press, release, knob, mute, wheel, dragging the bar), the
// player's messages, the commands and the context menu. The mouse messages
// are sent with client coordinates as the system sends them.
#include "ui/main/MainWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>

#include "BarTestSupport.h"
#include "shell/ApplicationState.h"
#include "shell/Settings.h"
#include "shell/SkinList.h"
#include "support/TempDir.h"
#include "toolkit/Menu.h"
#include "ui/main/MainWindowRes.h"

namespace {

constexpr int kLeft = 300;
constexpr int kTop = 500;

// Centres of the built-in skin's controls, in client coordinates.
constexpr POINT kPlay = {285, 10};
constexpr POINT kStop = {298, 10};
constexpr POINT kTitleArea = {100, 10};
constexpr POINT kMute = {226, 10};

class MainWindowTest : public testing::Test {
 protected:
  MainWindowTest() : f(kLeft, kTop, 50) {}
  void Hover(POINT p) { f.Mouse(WM_MOUSEMOVE, p.x, p.y); }
  void Click(POINT p) {
    Hover(p);
    f.Mouse(WM_LBUTTONDOWN, p.x, p.y);
    f.Mouse(WM_LBUTTONUP, p.x, p.y);
  }
  LRESULT HitTest(POINT client) {
    return f.bar.Send(WM_NCHITTEST, 0, MAKELPARAM(kLeft + client.x, kTop + client.y));
  }
  void Status(const char* text, bool error) {
    f.bar.Send(kStatusMessage, error ? 1 : 0, reinterpret_cast<LPARAM>(text));
  }

  BarFixture f;
  std::string warning;
};

std::string ItemText(Menu& menu, UINT id) {
  char text[128] = {};
  GetMenuStringA(menu.handle, id, text, sizeof text, MF_BYCOMMAND);
  return text;
}

bool IsChecked(Menu& menu, UINT id) { return (GetMenuState(menu.handle, id, MF_BYCOMMAND) & MF_CHECKED) != 0; }
bool IsGrayed(Menu& menu, UINT id) { return (GetMenuState(menu.handle, id, MF_BYCOMMAND) & MF_GRAYED) != 0; }

}  // namespace

TEST_F(MainWindowTest, IsABorderlessToolWindowOfTheSkinsSizeAtItsStoredPlace) {
  ASSERT_NE(nullptr, f.bar.hwnd);
  char name[32] = {};
  GetClassNameA(f.bar.hwnd, name, sizeof name);
  EXPECT_STREQ("kmb_main", name);
  GetWindowTextA(f.bar.hwnd, name, sizeof name);
  EXPECT_STREQ("Velmorin", name);
  EXPECT_TRUE(f.bar.GetLong(GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  LONG style = f.bar.GetLong(GWL_STYLE);
  EXPECT_TRUE(style & WS_POPUP);
  EXPECT_FALSE(style & (WS_CAPTION | WS_BORDER | WS_THICKFRAME));
  RECT r;
  f.bar.GetWindowRect(r);
  EXPECT_EQ(kLeft, r.left);
  EXPECT_EQ(kTop, r.top);
  EXPECT_EQ(343, r.right - r.left);
  EXPECT_EQ(20, r.bottom - r.top);
}

TEST_F(MainWindowTest, AnyPointButAControlDragsTheBar) {
  EXPECT_EQ(HTCAPTION, HitTest(kTitleArea));
  EXPECT_EQ(HTCAPTION, HitTest(POINT{2, 2}));
  EXPECT_EQ(HTCLIENT, HitTest(kPlay));
  EXPECT_EQ(HTCLIENT, HitTest(kMute));
  EXPECT_EQ(HTCLIENT, HitTest(POINT{253, 10})) << "the knob at volume 50";
  EXPECT_EQ(HTCAPTION, HitTest(POINT{240, 10})) << "the track beside the knob";
}

TEST_F(MainWindowTest, ReleasingAPressedButtonSendsItsCommandOnce) {
  Hover(kPlay);
  EXPECT_EQ(kPlayButton, f.bar.HotButton());
  EXPECT_TRUE(f.ShowsFrame(kPlayButton, 1)) << "hover";
  f.Mouse(WM_LBUTTONDOWN, kPlay.x, kPlay.y);
  EXPECT_TRUE(f.ShowsFrame(kPlayButton, 2)) << "pressed";
  EXPECT_TRUE(f.bar.commands.empty()) << "nothing happens on the press";
  f.Mouse(WM_LBUTTONUP, kPlay.x, kPlay.y);
  EXPECT_TRUE(f.ShowsFrame(kPlayButton, 1)) << "back to hover";
  EXPECT_EQ(std::vector<int>{IDM_PLAY_LAST}, f.bar.commands);
  f.Mouse(WM_LBUTTONUP, kPlay.x, kPlay.y);
  EXPECT_EQ(1u, f.bar.commands.size()) << "a second release without a press does nothing";

  f.bar.Send(WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(-1, f.bar.HotButton());
  EXPECT_TRUE(f.ShowsFrame(kPlayButton, 0));
}

TEST_F(MainWindowTest, EveryButtonSendsItsOwnCommand) {
  const struct {
    POINT at;
    int command;
  } buttons[] = {{kPlay, IDM_PLAY_LAST},        {kStop, IDM_STOP},          {{311, 10}, IDM_SEARCH_WINDOW},
                 {{324, 10}, IDM_FAVORITES_WINDOW}, {{338, 7}, IDM_EXIT}, {{338, 14}, IDM_MINIMIZE}};
  for (const auto& b : buttons) {
    f.bar.commands.clear();
    Click(b.at);
    EXPECT_EQ(std::vector<int>{b.command}, f.bar.commands) << b.at.x << "," << b.at.y;
  }
}

TEST_F(MainWindowTest, PressThatLeftItsButtonGivesNoCommand) {
  Hover(kPlay);
  f.Mouse(WM_LBUTTONDOWN, kPlay.x, kPlay.y);
  Hover(kStop);
  EXPECT_TRUE(f.ShowsFrame(kPlayButton, 0));
  EXPECT_TRUE(f.ShowsFrame(kStopButton, 1));
  f.Mouse(WM_LBUTTONUP, kStop.x, kStop.y);
  EXPECT_TRUE(f.bar.commands.empty());

  // Back onto the button before the release: the move cleared the press.
  Hover(kPlay);
  f.Mouse(WM_LBUTTONDOWN, kPlay.x, kPlay.y);
  Hover(kTitleArea);
  Hover(kPlay);
  f.Mouse(WM_LBUTTONUP, kPlay.x, kPlay.y);
  EXPECT_TRUE(f.bar.commands.empty());
}

TEST_F(MainWindowTest, MuteTogglesOnThePressWithoutHoverFrames) {
  f.bar.forward = true;
  Hover(kMute);
  EXPECT_EQ(-1, f.bar.HotButton());
  EXPECT_TRUE(f.ShowsFrame(kMuteButton, 0));
  f.Mouse(WM_LBUTTONDOWN, kMute.x, kMute.y);
  EXPECT_EQ(std::vector<int>{IDM_MUTE}, f.bar.commands);
  EXPECT_TRUE(gSettings.optFlag & kOptMuted);
  EXPECT_TRUE(f.player.Muted());
  EXPECT_TRUE(f.ShowsFrame(kMuteButton, 1));
  f.Mouse(WM_LBUTTONUP, kMute.x, kMute.y);
  EXPECT_EQ(1u, f.bar.commands.size());
  f.Mouse(WM_LBUTTONDOWN, kMute.x, kMute.y);
  EXPECT_FALSE(gSettings.optFlag & kOptMuted);
  EXPECT_FALSE(f.player.Muted());
  EXPECT_TRUE(f.ShowsFrame(kMuteButton, 0));
}

TEST_F(MainWindowTest, KnobDragKeepsTheGrabPointAndStopsAtTheEnds) {
  // Volume 50: the knob's left edge is at 251; grab it 2 pixels right of it.
  f.Mouse(WM_LBUTTONDOWN, 253, 10);
  ASSERT_TRUE(f.bar.IsDragging());
  EXPECT_EQ(GetCapture(), f.bar.hwnd);
  f.Mouse(WM_MOUSEMOVE, 253 + 17, 10);
  EXPECT_EQ(100, gSettings.vol);
  f.Mouse(WM_MOUSEMOVE, 253 - 17 - 17, 10);
  EXPECT_EQ(0, gSettings.vol);
  f.Mouse(WM_MOUSEMOVE, 253, 10);
  EXPECT_EQ(50, gSettings.vol);
  f.Mouse(WM_MOUSEMOVE, 900, 10);
  EXPECT_EQ(100, gSettings.vol) << "past the right end";
  EXPECT_EQ(*f.canvas.SkinImage().PixelAt(205, 21), f.At(268, 4)) << "the knob drawn at 268";
  f.Mouse(WM_MOUSEMOVE, -300, 10);
  EXPECT_EQ(0, gSettings.vol) << "past the left end";
  f.Mouse(WM_LBUTTONUP, -300, 10);
  EXPECT_FALSE(f.bar.IsDragging());
  EXPECT_NE(GetCapture(), f.bar.hwnd);
  f.Mouse(WM_MOUSEMOVE, 253, 10);
  EXPECT_EQ(0, gSettings.vol) << "a plain move after the drag changes nothing";
}

TEST_F(MainWindowTest, LosingTheCaptureEndsAKnobDrag) {
  f.Mouse(WM_LBUTTONDOWN, 253, 10);
  ASSERT_TRUE(f.bar.IsDragging());
  ReleaseCapture();
  EXPECT_FALSE(f.bar.IsDragging());
  f.Mouse(WM_MOUSEMOVE, 900, 10);
  EXPECT_EQ(50, gSettings.vol);
}

TEST_F(MainWindowTest, WheelStepsTheVolumeOnlyOverTheBar) {
  gSettings.vol = 95;
  auto wheel = [&](short delta, int x, int y) {
    f.bar.Send(WM_MOUSEWHEEL, MAKEWPARAM(0, static_cast<WORD>(delta)), MAKELPARAM(x, y));
  };
  wheel(WHEEL_DELTA, kLeft + 100, kTop + 10);
  EXPECT_EQ(100, gSettings.vol);
  wheel(-WHEEL_DELTA, kLeft + 100, kTop + 10);
  wheel(-WHEEL_DELTA, kLeft + 100, kTop + 10);
  EXPECT_EQ(80, gSettings.vol);
  wheel(-WHEEL_DELTA, kLeft + 100, kTop + 300);
  EXPECT_EQ(80, gSettings.vol) << "the wheel turned elsewhere";
  gSettings.wheelAdd = 100;
  wheel(-WHEEL_DELTA, kLeft + 100, kTop + 10);
  EXPECT_EQ(0, gSettings.vol);
}

TEST_F(MainWindowTest, ChangeVolumeKeepsAnyNumberWithinZeroToHundred) {
  f.bar.ChangeVolume(-5);
  EXPECT_EQ(0, gSettings.vol);
  f.bar.ChangeVolume(1000);
  EXPECT_EQ(100, gSettings.vol);
  f.bar.ChangeVolume(std::int64_t{1} << 40);
  EXPECT_EQ(100, gSettings.vol);
  EXPECT_EQ(*f.canvas.SkinImage().PixelAt(205, 21), f.At(268, 4));
}

TEST_F(MainWindowTest, StatusTextsAndTitlesShowInTheirColours) {
  Status("Connect error", true);
  EXPECT_STREQ("Connect error", f.bar.Title().CStr());
  EXPECT_GT(f.TitleInk(0xFF9999), 20);
  EXPECT_EQ(0, f.TitleInk(0xFFFFFF));
  Status("Song", false);
  EXPECT_GT(f.TitleInk(0xFFFFFF), 10);
  EXPECT_EQ(0, f.TitleInk(0xFF9999)) << "a title after an error is in the text colour";
  EXPECT_FALSE(f.bar.IsScrollTimerRunning()) << "a title that fits does not scroll";
}

TEST_F(MainWindowTest, WideTitleScrollsOnTheTimerByTheStep) {
  gSettings.titleScrollAdd = 7;
  std::string wide(80, 'W');
  Status(wide.c_str(), false);
  ASSERT_TRUE(f.bar.IsScrollTimerRunning());
  ASSERT_TRUE(f.canvas.IsScrolling());
  f.bar.Send(WM_TIMER, kScrollTimerId, 0);
  EXPECT_EQ(7, f.canvas.ScrollOffset());
  gSettings.titleScrollAdd = 3;
  f.bar.Send(WM_TIMER, kScrollTimerId, 0);
  EXPECT_EQ(10, f.canvas.ScrollOffset()) << "the step is read at every tick";
  Status("Short", false);
  EXPECT_FALSE(f.bar.IsScrollTimerRunning()) << "a new title stops the timer";
}

TEST_F(MainWindowTest, StopClearsTheTitleAreaEvenWhenIdle) {
  f.bar.forward = true;
  std::string wide(80, 'W');
  Status(wide.c_str(), false);
  ASSERT_TRUE(f.bar.IsScrollTimerRunning());
  Click(kStop);
  EXPECT_EQ(std::vector<int>{IDM_STOP}, f.bar.commands);
  EXPECT_TRUE(f.bar.Title().IsEmpty());
  EXPECT_FALSE(f.bar.IsScrollTimerRunning());
  EXPECT_TRUE(f.TitleShowsBackground());
}

TEST_F(MainWindowTest, StartedMessageKeepsTheUrlAndItsServerRoot) {
  const char url[] = "http://127.0.0.1:8000/stream/live";
  f.bar.Send(kStartedMessage, 0, reinterpret_cast<LPARAM>(url));
  EXPECT_STREQ(url, gSettings.lastURL.CStr());
  EXPECT_STREQ("http://127.0.0.1:8000/", gApplicationState.serverRootUrl.CStr());
  // What a side window sees through the bar's interface.
  const PlayerBar& seen = f.bar;
  EXPECT_STREQ(url, seen.LastUrl());
  EXPECT_EQ(kPlayerIdle, seen.PlayerState());
  EXPECT_EQ(nullptr, seen.PlayingStream()) << "this player never started a stream";
  const char bare[] = "http://example.com:8000";
  f.bar.Send(kStartedMessage, 0, reinterpret_cast<LPARAM>(bare));
  EXPECT_STREQ(bare, gApplicationState.serverRootUrl.CStr());
}

TEST_F(MainWindowTest, VolumeItemsSetTheVolumeAndMoveTheKnob) {
  f.bar.forward = true;
  f.bar.Send(WM_COMMAND, IDM_VOLUME_0 + 5, 0);
  EXPECT_EQ(50, gSettings.vol);
  EXPECT_EQ(*f.canvas.SkinImage().PixelAt(205, 21), f.At(251, 4));
  f.bar.Send(WM_COMMAND, IDM_VOLUME_100, 0);
  EXPECT_EQ(100, gSettings.vol);
  f.bar.Send(WM_COMMAND, IDM_VOLUME_0, 0);
  EXPECT_EQ(0, gSettings.vol);
  EXPECT_EQ(*f.canvas.SkinImage().PixelAt(205, 21), f.At(234, 4));
}

TEST_F(MainWindowTest, WindowCommandsFlipTheirBitsAndMinimiseClosesBoth) {
  f.bar.forward = true;
  gSettings.optFlag = kOptMp3Only;
  f.bar.Send(WM_COMMAND, IDM_SEARCH_WINDOW, 0);
  f.bar.Send(WM_COMMAND, IDM_FAVORITES_WINDOW, 0);
  EXPECT_EQ(kOptMp3Only | kOptSearchShown | kOptFavoritesShown, gSettings.optFlag);
  f.bar.Send(WM_COMMAND, IDM_SEARCH_WINDOW, 0);
  EXPECT_EQ(kOptMp3Only | kOptFavoritesShown, gSettings.optFlag);
  f.bar.Send(WM_COMMAND, IDM_SEARCH_WINDOW, 0);
  f.bar.Send(WM_COMMAND, IDM_MINIMIZE, 0);
  EXPECT_FALSE(IsWindowVisible(f.bar.hwnd));
  EXPECT_EQ(kOptMp3Only, gSettings.optFlag);

  // The notification icon's left click brings the bar back.
  f.bar.Send(kTrayMessage, kTrayIconId, WM_LBUTTONDOWN);
  EXPECT_TRUE(IsWindowVisible(f.bar.hwnd));
  EXPECT_EQ(0, f.bar.Send(kTrayMessage, kTrayIconId, WM_MOUSEMOVE)) << "other icon messages";
}

TEST_F(MainWindowTest, TopmostCommandEntersAndLeavesTheTopmostBand) {
  f.bar.forward = true;
  f.bar.Send(WM_COMMAND, IDM_TOPMOST, 0);
  EXPECT_TRUE(gSettings.optFlag & kOptTopmost);
  EXPECT_TRUE(f.bar.GetLong(GWL_EXSTYLE) & WS_EX_TOPMOST);
  f.bar.Send(WM_COMMAND, IDM_TOPMOST, 0);
  EXPECT_FALSE(gSettings.optFlag & kOptTopmost);
  EXPECT_FALSE(f.bar.GetLong(GWL_EXSTYLE) & WS_EX_TOPMOST);
}

TEST_F(MainWindowTest, ContextMenuCarriesTheCheckMarksAndTheSkinList) {
  TempDir dir;
  CreateDirectoryA(dir.File("skin").c_str(), nullptr);
  for (const char* name : {"Blue", "dusk", "R&B"}) dir.Write(std::string("skin\\") + name + ".ini", "[skin]\r\n");
  BuildSkinList(gSkinList, dir.Path().c_str());
  ASSERT_EQ(3, SkinListCount(gSkinList));
  gSettings.skin.Assign("DUSK");
  gSettings.optFlag = kOptMuted | kOptTopmost | kOptFavoritesShown;

  Menu menu;
  ASSERT_TRUE(menu.Load(GetModuleHandleA(nullptr), IDM_CONTEXT));
  Menu popup;
  popup.Attach(menu.GetSubMenu(0));
  f.bar.PrepareContextMenu(popup);
  EXPECT_TRUE(IsChecked(popup, IDM_MUTE));
  EXPECT_TRUE(IsChecked(popup, IDM_TOPMOST));
  EXPECT_TRUE(IsChecked(popup, IDM_FAVORITES_WINDOW));
  EXPECT_FALSE(IsChecked(popup, IDM_SEARCH_WINDOW));
  EXPECT_FALSE(IsChecked(popup, IDM_VOLUME_50)) << "volume items carry no marks";
  for (UINT id = IDM_SERVER_NAME; id <= IDM_SERVER_PAGE; ++id) {
    EXPECT_TRUE(IsGrayed(popup, id)) << "idle: " << id;
    EXPECT_EQ("-", ItemText(popup, id));
  }

  Menu skins;
  skins.Attach(popup.GetSubMenu(popup.FindPosition(IDM_SETTINGS) + 1));
  ASSERT_EQ(3, skins.GetItemCount());
  std::string names;
  for (int i = 0; i < 3; ++i) {
    UINT id = skins.GetItemId(i);
    EXPECT_EQ(static_cast<UINT>(IDM_SKIN_FIRST + i), id);
    names += ItemText(skins, id) + (IsChecked(skins, id) ? "*" : "") + " ";
  }
  // The file system's order; the current skin is marked whatever its case.
  EXPECT_NE(std::string::npos, names.find("dusk* "));
  EXPECT_NE(std::string::npos, names.find("R&&B ")) << "shown as it is named, not with B underlined";
  EXPECT_EQ(1, static_cast<int>(std::count(names.begin(), names.end(), '*')));
  menu.Destroy();

  TempDir empty;
  BuildSkinList(gSkinList, empty.Path().c_str());
}

TEST_F(MainWindowTest, CloseSavesWhileTheWindowLivesThenShutsDown) {
  f.bar.Send(WM_ENDSESSION, FALSE, 0);
  EXPECT_EQ(0, gLifecycle.saves) << "a log-off that was called off";
  f.bar.Send(WM_ENDSESSION, TRUE, 0);
  EXPECT_EQ(1, gLifecycle.saves);
  EXPECT_TRUE(IsWindow(f.bar.hwnd)) << "the system ends the process itself";
  EXPECT_EQ(0, gLifecycle.shutdowns);

  f.bar.Send(WM_CLOSE, 0, 0);
  EXPECT_EQ(2, gLifecycle.saves);
  EXPECT_TRUE(gLifecycle.windowAliveAtSave);
  EXPECT_FALSE(IsWindow(f.bar.hwnd));
  EXPECT_EQ(1, gLifecycle.shutdowns);
  MSG quit;
  EXPECT_TRUE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
  EXPECT_EQ(0u, quit.wParam);
}

namespace {

// Skin files in the "skin" folder beside the test program, named after the
// running test; removed at the end.
class ProgramSkins {
 public:
  ProgramSkins() {
    char exe[MAX_PATH];
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    folder = exe;
    folder.erase(folder.find_last_of('\\') + 1);
    folder += "skin";
    CreateDirectoryA(folder.c_str(), nullptr);
    prefix = testing::UnitTest::GetInstance()->current_test_info()->name();
  }
  ~ProgramSkins() {
    for (const std::string& file : written) DeleteFileA(file.c_str());
  }
  std::string Write(const std::string& name, const std::string& extension, const std::string& bytes) {
    std::string path = folder + "\\" + prefix + name + extension;
    std::ofstream(path, std::ios::binary) << bytes;
    written.push_back(path);
    return prefix + name;
  }

  std::string folder;
  std::string prefix;
  std::vector<std::string> written;
};

std::string ReadSource(const std::string& relative) {
  std::ifstream in(std::string(VELMORIN_SOURCE_DIR) + "/" + relative, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

TEST_F(MainWindowTest, SkinSwitchResizesTheBarAndABrokenSkinFallsBackWithAWarning) {
  ProgramSkins skins;
  std::string narrow = skins.Write("Narrow", ".ini",
                                   "[skin]\r\nmain_rc=0,0,299,19\r\ntitle_rc=8,4,200,15\r\n"
                                   "play_bt=0,21,38,33,250,4\r\ntitle_textcol=00ff00\r\n");
  skins.Write("Narrow", ".bmp", ReadSource("src/resources/skin.bmp"));
  std::string broken = skins.Write("Broken", ".ini", "[skin]\r\nmain_rc=0,0,99,19\r\n");  // no bitmap
  TempDir listed;
  CreateDirectoryA(listed.File("skin").c_str(), nullptr);
  listed.Write("skin\\" + narrow + ".ini", "");
  listed.Write("skin\\" + broken + ".ini", "");
  BuildSkinList(gSkinList, listed.Path().c_str());
  ASSERT_EQ(2, SkinListCount(gSkinList));
  int narrowIndex = narrow == SkinListName(gSkinList, 0) ? 0 : 1;
  f.bar.forward = true;

  auto choose = [&](int index) {
    return AnswerModalBox([&] { f.bar.Send(WM_COMMAND, IDM_SKIN_FIRST + index, 0); }, [&](HWND box) {
      warning = MessageBoxText(box);
      PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
  };
  EXPECT_FALSE(choose(narrowIndex)) << warning;
  EXPECT_EQ(narrow, gSettings.skin.CStr());
  SIZE size = f.bar.GetWindowSize();
  EXPECT_EQ(300, size.cx);
  EXPECT_EQ(20, size.cy);
  RECT r;
  f.bar.GetWindowRect(r);
  EXPECT_EQ(kLeft, r.left) << "the bar does not move";

  ASSERT_TRUE(choose(1 - narrowIndex));
  /* ｽｷﾝの読み込みに失敗。\n内蔵ｽｷﾝに変更しました。 */
  EXPECT_EQ("\xbd\xb7\xdd\x82\xcc\x93\xc7\x82\xdd\x8d\x9e\x82\xdd\x82\xc9\x8e\xb8\x94s\x81"
            "B\n\x93\xe0\x91\xa0\xbd\xb7\xdd\x82\xc9\x95\xcf\x8dX\x82\xb5\x82\xdc\x82\xb5\x82\xbd\x81"
            "B",
            warning);
  EXPECT_EQ(broken, gSettings.skin.CStr()) << "the failed name is kept";
  size = f.bar.GetWindowSize();
  EXPECT_EQ(343, size.cx) << "the built-in skin";

  TempDir empty;
  BuildSkinList(gSkinList, empty.Path().c_str());
}
