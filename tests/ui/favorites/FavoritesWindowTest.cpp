// The favorites window as a real window with the program's resources: its
// toolbar, list and place, the selection rules of delete and move, the
// station editor in both modes, playing and adding through a stand-in bar,
// and the file on disk after every change.
#include "ui/favorites/FavoritesWindow.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FavoriteRowText.h"
#include "engine/HttpClient.h"
#include "engine/StreamPlayer.h"
#include "shell/ApplicationState.h"
#include "shell/Settings.h"
#include "support/TempDir.h"
#include "support/TestWindows.h"
#include "toolkit/Menu.h"
#include "ui/PlayerBar.h"
#include "ui/favorites/FavoritesFile.h"
#include "ui/favorites/FavoritesWindowRes.h"
#include "ui/favorites/StationEditorRes.h"

namespace {

/* ジャズ局 */
const char kJazz[] = "\x83W\x83\x83\x83Y\x8b\xc7";
/* 追加, 編集 */
const char kAddTitle[] = "\x92\xc7\x89\xc1";
const char kEditTitle[] = "\x95\xd2\x8fW";

class FakeBar : public PlayerBar {
 public:
  void Play(int source, const char* url) override { plays.push_back(std::to_string(source) + " " + url); }
  int PlayerState() const override { return state; }
  const StreamInfo* PlayingStream() const override { return state == kPlayerPlaying ? &stream : nullptr; }
  const char* LastUrl() const override { return lastUrl.c_str(); }

  std::vector<std::string> plays;
  int state = kPlayerIdle;
  StreamInfo stream;
  std::string lastUrl;
};

std::string LongUrl() {
  std::string url = "http://127.0.0.1:8000/";
  // Past the 32767 characters an edit box takes from the keyboard.
  while (url.size() < 40000) url += "long/";
  return url;
}

class FavoritesWindowTest : public testing::Test {
 protected:
  void SetUp() override {
    InitTestControls();
    gSettings.SetDefaults();
    gApplicationState.layoutPending = false;
    gSettings.favWinLeft = 120;
    gSettings.favWinTop = 140;
    gSettings.favWinRight = 520;
    gSettings.favWinBottom = 400;
    const int widths[] = {150, 60, 200, 90};
    for (int i = 0; i < 4; ++i) gSettings.favColW[i] = widths[i];
    path = dir.File("favorite.pls");
    FavoriteRows rows;
    const char* names[] = {"A", kJazz, "C", "D"};
    for (const char* name : names) {
      rows.push_back(MakeRow(name, "MP3 128kbps", ("http://127.0.0.1:8000/" + std::string(name)).c_str(),
                             "http://home.example/"));
    }
    rows[1].file.Assign(LongUrl().c_str());
    ASSERT_TRUE(SaveFavoritesFile(path.c_str(), rows));
    ASSERT_TRUE(window.CreateFavoritesWindow(owner.Get()));
    window.LoadFavorites(path.c_str());
  }
  void TearDown() override {
    if (window.hwnd) DestroyWindow(window.hwnd);
    gSettings.SetDefaults();
    gApplicationState.layoutPending = true;
  }

  void Command(int id) { window.Send(WM_COMMAND, static_cast<WPARAM>(id), 0); }
  void Select(int row) { window.list.Select(row, true); }
  int Focused() { return static_cast<int>(window.list.Send(LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_FOCUSED)); }
  std::string Row(int row) {
    PlaylistEntry entry;
    window.ReadRow(row, entry);
    return RowText(entry);
  }
  // The name of each row, in order.
  std::string Names() {
    std::string names;
    TextString text;
    for (int row = 0; row < window.list.GetItemCount(); ++row) {
      window.list.ReadItemText(row, kFavoriteName, text);
      names += std::string(row ? "," : "") + text.CStr();
    }
    return names;
  }
  // The file on disk holds exactly the list's rows.
  void ExpectFileHoldsTheList() {
    FavoritesDocument saved;
    saved.LoadFile(path.c_str());
    ASSERT_EQ(window.list.GetItemCount(), saved.RowCount());
    for (int row = 0; row < saved.RowCount(); ++row) {
      PlaylistEntry entry;
      saved.GetRow(row, entry);
      EXPECT_EQ(Row(row), RowText(entry)) << "row " << row;
    }
  }
  std::string ColumnTitle(int column) {
    char text[32] = {};
    LVCOLUMNA info = {};
    info.mask = LVCF_TEXT;
    info.pszText = text;
    info.cchTextMax = sizeof text;
    window.list.Send(LVM_GETCOLUMNA, static_cast<WPARAM>(column), reinterpret_cast<LPARAM>(&info));
    return text;
  }
  // Runs the command that opens the station editor; edit(box) sees it and
  // presses button.
  bool RunEditor(int command, const std::function<void(HWND box)>& edit, int button) {
    return AnswerModalBox([&] { Command(command); },
                          [&](HWND box) {
                            edit(box);
                            PostMessageA(box, WM_COMMAND, static_cast<WPARAM>(button), 0);
                          });
  }

  TempDir dir;
  std::string path;
  HostWindow owner;
  FakeBar bar;
  FavoritesWindow window{bar};
};

std::string ItemText(HWND box, int id) {
  std::string text(static_cast<size_t>(GetWindowTextLengthA(GetDlgItem(box, id))) + 1, '\0');
  text.resize(GetDlgItemTextA(box, id, &text[0], static_cast<int>(text.size())));
  return text;
}

std::string WindowText(HWND window) {
  char text[64] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

}  // namespace

TEST_F(FavoritesWindowTest, IsAHiddenToolWindowWithItsToolbarListAndPlaceFromTheSettings) {
  char name[32] = {};
  GetClassNameA(window.hwnd, name, sizeof name);
  EXPECT_STREQ("kmb_fav", name);
  EXPECT_EQ("\x82\xa8\x8b" "C\x82\xc9\x93\xfc\x82\xe8", WindowText(window.hwnd));  // お気に入り
  EXPECT_FALSE(IsWindowVisible(window.hwnd));
  EXPECT_TRUE(window.GetLong(GWL_EXSTYLE) & WS_EX_TOOLWINDOW);
  EXPECT_EQ(owner.Get(), GetWindow(window.hwnd, GW_OWNER));
  RECT r;
  window.GetWindowRect(r);
  EXPECT_EQ(120, r.left);
  EXPECT_EQ(140, r.top);
  EXPECT_EQ(400, r.right - r.left);
  EXPECT_EQ(260, r.bottom - r.top);

  const char* titles[] = {"\x96\xbc\x91O", "\x8f\xee\x95\xf1", "URL", "HP"};  // 名前 情報 URL HP
  const int widths[] = {150, 60, 200, 90};
  for (int column = 0; column < 4; ++column) {
    EXPECT_EQ(titles[column], ColumnTitle(column));
    EXPECT_EQ(widths[column], window.list.GetColumnWidth(column));
  }
  EXPECT_TRUE(window.list.Send(LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_FULLROWSELECT);
  EXPECT_EQ(IDC_FAVORITES_LIST, GetDlgCtrlID(window.list.hwnd));

  // Seven buttons and a separator, each button with its tooltip.
  ASSERT_EQ(8, window.toolbar.Send(TB_BUTTONCOUNT, 0, 0));
  const int commands[] = {2000, 2001, 0, 2002, 2003, 2004, 2005, 2006};
  for (int i = 0; i < 8; ++i) {
    TBBUTTON button = {};
    window.toolbar.Send(TB_GETBUTTON, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&button));
    EXPECT_EQ(commands[i], button.idCommand) << i;
    EXPECT_EQ(commands[i] == 0, (button.fsStyle & BTNS_SEP) != 0) << i;
  }
  EXPECT_EQ(window.tooltip.hwnd, reinterpret_cast<HWND>(window.toolbar.Send(TB_GETTOOLTIPS, 0, 0)));
  // 再生 ﾎｰﾑﾍﾟｰｼﾞを開く 追加 削除 編集 上へ 下へ
  const char* tips[] = {"\x8d\xc4\x90\xb6", "\xce\xb0\xd1\xcd\xdf\xb0\xbc\xde\x82\xf0\x8aJ\x82\xad", kAddTitle,
                        "\x8d\xed\x8f\x9c", kEditTitle, "\x8f\xe3\x82\xd6", "\x89\xba\x82\xd6"};
  const int tipCommands[] = {2000, 2001, 2002, 2003, 2004, 2005, 2006};
  EXPECT_EQ(7, window.tooltip.Send(TTM_GETTOOLCOUNT, 0, 0));
  for (int i = 0; i < 7; ++i) {
    char text[80] = {};
    TTTOOLINFOA tool = {};
    tool.cbSize = TTTOOLINFOA_V2_SIZE;
    tool.hwnd = window.toolbar.hwnd;
    tool.uId = static_cast<UINT_PTR>(tipCommands[i]);
    tool.lpszText = text;
    window.tooltip.Send(TTM_GETTEXTA, sizeof text, reinterpret_cast<LPARAM>(&tool));
    EXPECT_STREQ(tips[i], text) << tipCommands[i];
  }

  // The list fills the client area below the toolbar, also after a resize;
  // while start-up runs, a size message changes nothing.
  auto expectLaidOut = [&] {
    RECT client, list;
    window.GetClientRect(client);
    window.list.GetWindowRect(list);
    MapWindowPoints(nullptr, window.hwnd, reinterpret_cast<POINT*>(&list), 2);
    EXPECT_EQ(client.bottom, list.bottom);
    EXPECT_EQ(window.toolbarHeight, list.top);
    EXPECT_EQ(client.right, list.right);
  };
  EXPECT_GT(window.toolbarHeight, 15);
  window.SetSize(500, 300);
  expectLaidOut();
  gApplicationState.layoutPending = true;
  window.SetSize(300, 200);
  RECT list;
  window.list.GetWindowRect(list);
  EXPECT_GT(list.right - list.left, 400) << "not laid out before start-up says so";
  gApplicationState.layoutPending = false;
  window.Send(WM_SIZE, 0, 0);
  expectLaidOut();

  // Never saved: below the owner.
  FavoritesWindow fresh(bar);
  gSettings.favWinLeft = kNoPosition;
  SetWindowPos(owner.Get(), nullptr, 200, 150, 343, 20, SWP_NOZORDER | SWP_NOACTIVATE);
  ASSERT_TRUE(fresh.CreateFavoritesWindow(owner.Get()));
  fresh.GetWindowRect(r);
  EXPECT_EQ(200, r.left);
  EXPECT_EQ(200, r.top);
  EXPECT_EQ(300, r.right - r.left);
  EXPECT_EQ(250, r.bottom - r.top);
  DestroyWindow(fresh.hwnd);

  // What the settings file takes back at the end.
  window.list.Send(LVM_SETCOLUMNWIDTH, 2, 333);
  Settings stored;
  window.StoreLayout(stored);
  EXPECT_EQ(120, stored.favWinLeft);
  EXPECT_EQ(140, stored.favWinTop);
  EXPECT_EQ(120 + 300, stored.favWinRight);
  EXPECT_EQ(140 + 200, stored.favWinBottom);
  EXPECT_EQ(333, stored.favColW[2]);
  EXPECT_EQ(150, stored.favColW[0]);
}

TEST_F(FavoritesWindowTest, MovesAndDeletesKeepTheSelectionRulesAndTheFileFollowsEveryChange) {
  const std::string jazzRow = std::string(kJazz) + "|MP3 128kbps|" + LongUrl() + "|http://home.example/";
  std::string before = dir.Read("favorite.pls");
  Command(IDM_FAVORITE_UP);  // nothing selected: nothing happens, nothing is written
  Command(IDM_FAVORITE_DELETE);
  EXPECT_EQ(before, dir.Read("favorite.pls"));

  Select(0);
  Command(IDM_FAVORITE_UP);
  EXPECT_EQ(std::string("A,") + kJazz + ",C,D", Names()) << "the first row goes no higher";
  Select(1);
  Command(IDM_FAVORITE_UP);
  EXPECT_EQ(std::string(kJazz) + ",A,C,D", Names());
  EXPECT_EQ(0, window.SelectedRow());
  EXPECT_EQ(0, Focused());
  EXPECT_EQ(jazzRow, Row(0)) << "a moved row keeps every field whole";
  ExpectFileHoldsTheList();
  for (int i = 0; i < 4; ++i) Command(IDM_FAVORITE_DOWN);  // the last one finds it at the bottom
  EXPECT_EQ(std::string("A,C,D,") + kJazz, Names());
  EXPECT_EQ(3, window.SelectedRow());
  EXPECT_EQ(3, Focused());
  EXPECT_EQ(jazzRow, Row(3));
  ExpectFileHoldsTheList();

  Select(1);
  Command(IDM_FAVORITE_DELETE);
  EXPECT_EQ(std::string("A,D,") + kJazz, Names());
  EXPECT_EQ(1, window.SelectedRow()) << "the next row takes the selection";
  ExpectFileHoldsTheList();
  Select(2);
  Command(IDM_FAVORITE_DELETE);
  EXPECT_EQ("A,D", Names());
  EXPECT_EQ(-1, window.SelectedRow()) << "the last row had no next one";
  ExpectFileHoldsTheList();

  // Added from elsewhere (the search window) while hidden: at the end, selected.
  window.AddFavorite("Found", "MP3 64kbps", "http://found/", "");
  EXPECT_EQ("A,D,Found", Names());
  EXPECT_EQ(2, window.SelectedRow());
  EXPECT_FALSE(IsWindowVisible(window.hwnd));
  ExpectFileHoldsTheList();

  // A file that cannot be replaced keeps what it held; the list goes on.
  ASSERT_TRUE(window.SaveFavorites(dir.File("elsewhere.pls").c_str()));
  EXPECT_EQ(dir.Read("favorite.pls"), dir.Read("elsewhere.pls"));
  EXPECT_FALSE(window.SaveFavorites(dir.File("missing/favorite.pls").c_str()));
}

TEST_F(FavoritesWindowTest, TheStationEditorAddsAndEditsWithEveryFieldWhole) {
  std::string title, fields;
  ASSERT_TRUE(RunEditor(
      IDM_FAVORITE_ADD_NEW,
      [&](HWND box) {
        title = WindowText(box);
        for (int id = IDC_STATION_NAME; id <= IDC_STATION_HOME; ++id) fields += ItemText(box, id) + "|";
        SetDlgItemTextA(box, IDC_STATION_NAME, kJazz);
        SetDlgItemTextA(box, IDC_STATION_URL, "http://new:8000/");
      },
      IDOK));
  EXPECT_EQ(kAddTitle, title);
  EXPECT_EQ("||||", fields) << "a new entry starts empty";
  ASSERT_EQ(5, window.list.GetItemCount());
  EXPECT_EQ(std::string(kJazz) + "||http://new:8000/|", Row(4));
  EXPECT_EQ(4, window.SelectedRow());
  ExpectFileHoldsTheList();

  ASSERT_TRUE(RunEditor(IDM_FAVORITE_ADD_NEW, [](HWND) {}, IDCANCEL));
  EXPECT_EQ(5, window.list.GetItemCount()) << "cancel adds nothing";

  // Editing shows the row whole and changes only what the user changed.
  Select(1);
  std::string url;
  title.clear();
  ASSERT_TRUE(RunEditor(
      IDM_FAVORITE_EDIT,
      [&](HWND box) {
        title = WindowText(box);
        url = ItemText(box, IDC_STATION_URL);
        fields = ItemText(box, IDC_STATION_NAME) + "|" + ItemText(box, IDC_STATION_INFO) + "|" +
                 ItemText(box, IDC_STATION_HOME);
        SetDlgItemTextA(box, IDC_STATION_NAME, "Renamed");
      },
      IDOK));
  EXPECT_EQ(kEditTitle, title);
  EXPECT_EQ(LongUrl(), url);
  EXPECT_EQ(std::string(kJazz) + "|MP3 128kbps|http://home.example/", fields);
  EXPECT_EQ("Renamed|MP3 128kbps|" + LongUrl() + "|http://home.example/", Row(1));
  ExpectFileHoldsTheList();

  ASSERT_TRUE(RunEditor(
      IDM_FAVORITE_EDIT, [](HWND box) { SetDlgItemTextA(box, IDC_STATION_NAME, "Not this"); }, IDCANCEL));
  EXPECT_EQ("Renamed|MP3 128kbps|" + LongUrl() + "|http://home.example/", Row(1)) << "cancel changes nothing";

  ASSERT_TRUE(RunEditor(
      IDM_FAVORITE_EDIT,
      [](HWND box) {
        for (int id = IDC_STATION_NAME; id <= IDC_STATION_HOME; ++id) SetDlgItemTextA(box, id, "");
      },
      IDOK));
  EXPECT_EQ("|||", Row(1)) << "an emptied row stays";
  EXPECT_EQ(5, window.list.GetItemCount());
  ExpectFileHoldsTheList();
}

TEST_F(FavoritesWindowTest, PlaysAndAddsThroughTheBar) {
  auto notify = [&](int code) {
    NMHDR header = {window.list.hwnd, IDC_FAVORITES_LIST, static_cast<UINT>(code)};
    window.Send(WM_NOTIFY, IDC_FAVORITES_LIST, reinterpret_cast<LPARAM>(&header));
  };
  notify(NM_DBLCLK);
  EXPECT_TRUE(bar.plays.empty()) << "no row selected";
  Select(1);
  notify(NM_DBLCLK);
  Select(2);
  Command(IDM_FAVORITE_PLAY);
  Select(3);
  notify(NM_RETURN);  // Enter in the list
  ASSERT_EQ(3u, bar.plays.size());
  EXPECT_EQ("2 " + LongUrl(), bar.plays[0]) << "the whole URL";
  EXPECT_EQ("2 http://127.0.0.1:8000/C", bar.plays[1]);
  EXPECT_EQ("2 http://127.0.0.1:8000/D", bar.plays[2]);
  window.AddFavorite("No URL", "", "", "");
  notify(NM_DBLCLK);
  EXPECT_EQ(3u, bar.plays.size()) << "an empty URL plays nothing";

  // The add menu: the station playing now only while one plays.
  Menu menu;
  ASSERT_TRUE(menu.CreatePopup());
  window.PrepareAddMenu(menu);
  ASSERT_EQ(2, menu.GetItemCount());
  EXPECT_EQ(static_cast<UINT>(IDM_FAVORITE_ADD_PLAYING), menu.GetItemId(0));
  EXPECT_EQ(static_cast<UINT>(IDM_FAVORITE_ADD_NEW), menu.GetItemId(1));
  EXPECT_TRUE(GetMenuState(menu.handle, IDM_FAVORITE_ADD_PLAYING, MF_BYCOMMAND) & MF_GRAYED);
  EXPECT_FALSE(GetMenuState(menu.handle, IDM_FAVORITE_ADD_NEW, MF_BYCOMMAND) & MF_GRAYED);
  menu.Destroy();
  bar.state = kPlayerPlaying;
  ASSERT_TRUE(menu.CreatePopup());
  window.PrepareAddMenu(menu);
  EXPECT_FALSE(GetMenuState(menu.handle, IDM_FAVORITE_ADD_PLAYING, MF_BYCOMMAND) & MF_GRAYED);
  menu.Destroy();

  bar.stream.name.Assign(kJazz);
  bar.stream.url.Assign("http://jazz.example/");
  bar.stream.bitrate = 128;
  bar.lastUrl = "http://127.0.0.1:8000/live";
  Command(IDM_FAVORITE_ADD_PLAYING);
  int last = window.list.GetItemCount() - 1;
  EXPECT_EQ(std::string(kJazz) + "|MP3 128kbps|http://127.0.0.1:8000/live|http://jazz.example/", Row(last));
  EXPECT_EQ(last, window.SelectedRow());
  ExpectFileHoldsTheList();

  // The close box hides the window and clears its bit; the bar's command
  // flips it.
  gSettings.optFlag = kOptMp3Only | kOptFavoritesShown;
  window.Show(SW_SHOWNORMAL);
  window.Send(WM_CLOSE, 0, 0);
  EXPECT_TRUE(IsWindow(window.hwnd));
  EXPECT_FALSE(IsWindowVisible(window.hwnd));
  EXPECT_EQ(kOptMp3Only, gSettings.optFlag);
  window.ToggleShown(false);
  EXPECT_TRUE(IsWindowVisible(window.hwnd));
  EXPECT_EQ(kOptMp3Only | kOptFavoritesShown, gSettings.optFlag);
  window.ToggleShown(true);
  EXPECT_FALSE(IsWindowVisible(window.hwnd));
  EXPECT_EQ(kOptMp3Only, gSettings.optFlag);
}
