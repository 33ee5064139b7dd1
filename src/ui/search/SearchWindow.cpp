#include "ui/search/SearchWindow.h"

#include <commctrl.h>

#include "engine/Playlist.h"
#include "shell/ApplicationState.h"
#include "shell/GenreList.h"
#include "shell/Settings.h"
#include "toolkit/Menu.h"
#include "toolkit/Shell.h"
#include "toolkit/TextString.h"
#include "ui/PlayerBar.h"
#include "ui/SideWindows.h"
#include "ui/search/FetchDialog.h"
#include "ui/search/GenreMenu.h"
#include "ui/search/SearchWindowRes.h"
#include "ui/search/StationRecord.h"

namespace {

const char kClassName[] = "kmb_search";
const char kTitle[] = "\x8c\x9f\x8d\xf5";  // 検索
const char kFontFace[] = "\x82l\x82r \x82o\x83S\x83V\x83" "b\x83N";  // ＭＳ Ｐゴシック
constexpr int kFontHeight = 12;

// The area above the list: the text box and the toolbar.
constexpr int kTopHeight = 26;
constexpr int kTextBoxX = 2;
constexpr int kTextBoxY = 2;
constexpr int kTextBoxHeight = 20;
constexpr int kNarrowTextBox = 10;
// Window rectangle, frame included.
constexpr int kMinWidth = 200;
constexpr int kMinHeight = kTopHeight + 80;
// Where the window goes when no place is stored, from the bar's corner.
constexpr int kDefaultDrop = 40;
constexpr int kDefaultWidth = 400;
constexpr int kDefaultHeight = 400;

constexpr int kImageSize = 15;
constexpr COLORREF kImageBackground = RGB(0, 255, 0);
constexpr int kToolBarPadding = 8;
constexpr int kToolCount = 4;

// A tune-in playlist is a few lines.
constexpr std::uint32_t kPlaylistInitialBytes = 8192;
constexpr std::uint32_t kPlaylistGrowthBytes = 1024;

// The genre menu as it is read: items and separators go to the current
// menu, the root or its submenu.
class GenreMenuBuilder final : public GenreMenuSink {
 public:
  explicit GenreMenuBuilder(Menu& rootMenu) : root(rootMenu) { current.Attach(root.handle); }

  void AddItem(const char* label, int command) override {
    current.InsertItem(static_cast<UINT>(current.GetItemCount()), true, static_cast<UINT>(command), label);
  }
  void AddSeparator() override { current.InsertSeparator(static_cast<UINT>(current.GetItemCount()), true); }
  void OpenSubmenu(const char* label) override {
    Menu submenu;
    if (!submenu.CreatePopup()) return;  // its items go to the root instead
    if (!root.InsertSubMenu(static_cast<UINT>(root.GetItemCount()), true, label, submenu.handle)) {
      submenu.Destroy();
      return;
    }
    current.Attach(submenu.handle);
  }
  void CloseSubmenu() override { current.Attach(root.handle); }

 private:
  Menu& root;
  Menu current;
};

}  // namespace

bool SearchTextBox::OnKeyDown(WPARAM key, LPARAM) {
  if (key != VK_RETURN) return false;
  SendMessageA(GetParent(hwnd), WM_COMMAND, IDM_SEARCH_RUN, 0);
  return true;
}

// The line break Enter would type: a single-line box only beeps at it.
bool SearchTextBox::OnChar(WPARAM code, LPARAM) { return code == '\r' || code == '\n'; }

SearchWindow::SearchWindow(PlayerBar& playerBar, SideWindows& sides) : bar(playerBar), sideWindows(sides) {}

bool SearchWindow::Create(HWND owner) {
  if (!RegisterClassIfMissing(kClassName, 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1))) return false;
  const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_CLIPCHILDREN;
  if (!Window::Create(WS_EX_TOOLWINDOW, kClassName, kTitle, style, 0, 0, 300, 300, owner, nullptr)) return false;
  if (!font.CreateFont(kFontHeight, FW_NORMAL, SHIFTJIS_CHARSET, kFontFace)) return false;

  const DWORD boxStyle = WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL | ES_WANTRETURN;
  if (!textBox.Create(WS_EX_CLIENTEDGE, boxStyle, kTextBoxX, kTextBoxY, 100, kTextBoxHeight, hwnd, IDC_SEARCH_TEXT)) {
    return false;
  }
  textBox.Subclass();
  textBox.SetFont(font.Font(), false);
  if (!CreateToolBar()) return false;
  if (!resultList.Create(hwnd, 0, 0, 100, 100, font.Font())) return false;
  resultList.SetPosition(0, kTopHeight);
  if (!statusBar.Create(0, WS_VISIBLE, hwnd, IDC_SEARCH_STATUS)) return false;
  statusBar.SetFont(font.Font(), false);
  statusBar.SetSimple(true);
  statusBar.SetText(StatusBar::kSimplePart, "");

  RECT place = {gSettings.searchWinLeft, gSettings.searchWinTop, gSettings.searchWinRight, gSettings.searchWinBottom};
  if (place.left == kNoPosition || place.top == kNoPosition) {
    RECT owned = {};
    ::GetWindowRect(owner, &owned);
    const LONG top = owned.top + kDefaultDrop;
    place = {owned.left, top, owned.left + kDefaultWidth, top + kDefaultHeight};
  }
  MoveToRect(place, false);
  KeepOnScreen(nullptr);
  return true;
}

bool SearchWindow::CreateToolBar() {
  const DWORD style = WS_VISIBLE | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NORESIZE | TBSTYLE_FLAT;
  if (!toolBar.Create(0, style, hwnd, IDC_SEARCH_TOOLBAR)) return false;
  toolBar.SetBitmapSize(kImageSize, kImageSize);
  toolBar.SetStyleBits(TBSTYLE_FLAT, true);
  toolBar.EnableDropDownArrows();
  if (toolBar.AddBitmap(kToolCount, IDB_SEARCH_TOOLBAR, kImageBackground) < 0) return false;
  for (int i = 0; i < kToolCount; ++i) {
    BYTE buttonStyle = i == 0 ? BTNS_DROPDOWN : BTNS_BUTTON;
    if (!toolBar.AddButton(IDM_SEARCH_RUN + i, i, -1, buttonStyle, TBSTATE_ENABLED, 0)) return false;
  }
  SIZE size = toolBar.GetIdealSize(false);
  toolBarWidth = size.cx;
  toolBar.SetSize(size.cx, size.cy + kToolBarPadding);
  return true;
}

void SearchWindow::ToggleSearchWindow(bool hide) {
  if (hide) {
    gSettings.optFlag &= ~kOptSearchShown;
  } else {
    gSettings.optFlag ^= kOptSearchShown;
  }
  const bool shown = (gSettings.optFlag & kOptSearchShown) != 0;
  Show(shown ? SW_SHOWNORMAL : SW_HIDE);
  if (!shown && (gSettings.optFlag & kOptClearOnClose)) resultList.Clear(statusBar);
}

void SearchWindow::StoreLayout(Settings& values) {
  RECT place;
  if (!hwnd || !GetNormalRect(place)) return;
  values.searchWinLeft = place.left;
  values.searchWinTop = place.top;
  values.searchWinRight = place.right;
  values.searchWinBottom = place.bottom;
}

bool SearchWindow::OnClose() {
  ToggleSearchWindow(true);
  return true;
}

bool SearchWindow::OnCommand(WORD id, WORD code, LPARAM) {
  if (id >= kGenreFirstCommand && id <= kGenreLastCommand) {
    PickGenre(id - kGenreFirstCommand);
    return true;
  }
  switch (id) {
    case IDM_SEARCH_RUN: {
      TextString words;
      textBox.GetText(words);
      resultList.RunQuery(words.CStr(), kNewSearch, statusBar);
      return true;
    }
    case IDM_SEARCH_PLAY: PlaySelected(); return true;
    case IDM_SEARCH_ADD_FAVORITE: AddSelectedToFavorites(); return true;
    case IDM_SEARCH_HOME_PAGE: OpenSelectedHomePage(); return true;
    case IDC_SEARCH_RESULTS: OnListNotification(code); return true;
    default: return false;
  }
}

void SearchWindow::OnListNotification(WORD code) {
  if (code == LBN_SELCHANGE) {
    resultList.ShowTags(statusBar);
  } else if (code == LBN_DBLCLK) {
    switch (resultList.Selected().kind) {
      case kNextRow: resultList.RunQuery(nullptr, kNextPage, statusBar); break;
      case kBackRow: resultList.RunQuery(nullptr, kPreviousPage, statusBar); break;
      case kStationRow: Post(WM_COMMAND, IDM_SEARCH_PLAY, 0); break;
      case kNoRow: break;
    }
  }
}

bool SearchWindow::OnMeasureItem(LPARAM measure) {
  auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(measure);
  if (item->CtlType != ODT_LISTBOX || item->CtlID != IDC_SEARCH_RESULTS) return false;
  resultList.MeasureRow(*item);
  return true;
}

bool SearchWindow::OnDrawItem(LPARAM draw) {
  const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(draw);
  if (item->CtlType != ODT_LISTBOX || item->CtlID != IDC_SEARCH_RESULTS || item->itemID == static_cast<UINT>(-1)) {
    return false;
  }
  resultList.DrawRow(*item);
  return true;
}

// Laid out from the client area itself: start-up's one size message carries
// no size.
bool SearchWindow::OnSize(WPARAM, WORD, WORD) {
  if (gApplicationState.layoutPending) return true;
  SIZE client = GetClientSize();
  int boxWidth = client.cx - toolBarWidth - 4;
  if (boxWidth <= 0) boxWidth = kNarrowTextBox;
  textBox.SetSize(boxWidth, textBox.GetWindowSize().cy);
  toolBar.SetPosition(boxWidth + 4, 0);
  toolBar.Send(WM_SIZE, 0, 0);
  statusBar.Send(WM_SIZE, 0, 0);
  int listHeight = client.cy - kTopHeight - statusBar.GetWindowSize().cy;
  resultList.SetSize(client.cx, listHeight > 0 ? listHeight : 0);
  resultList.Invalidate();
  return true;
}

bool SearchWindow::OnSizing(WPARAM edge, LPARAM rect) {
  EnforceMinimumSize(static_cast<int>(edge), *reinterpret_cast<RECT*>(rect), kMinWidth, kMinHeight);
  return true;
}

bool SearchWindow::OnNotify(WPARAM, LPARAM header, LRESULT* result) {
  const auto* notice = reinterpret_cast<NMHDR*>(header);
  if (notice->code == TTN_GETDISPINFOA) {
    UINT_PTR command = notice->idFrom;
    if (command < IDM_SEARCH_RUN || command >= IDM_SEARCH_RUN + kToolCount) return false;
    auto* tip = reinterpret_cast<NMTTDISPINFOA*>(header);
    TextString tips(255);
    tips.LoadResourceString(IDS_SEARCH_TIPS);
    lstrcpynA(tip->szText, tips.Field(static_cast<int>(command - IDM_SEARCH_RUN), '/'), sizeof tip->szText);
    tip->lpszText = tip->szText;
    tip->hinst = nullptr;
    return true;
  }
  if (notice->code == static_cast<UINT>(TBN_DROPDOWN) && notice->idFrom == IDC_SEARCH_TOOLBAR &&
      reinterpret_cast<const NMTOOLBARA*>(header)->iItem == IDM_SEARCH_RUN) {
    ShowGenreMenu();
    *result = TBDDRET_DEFAULT;
    return true;
  }
  return false;
}

void SearchWindow::ShowGenreMenu() {
  if (!gGenreList.data) return;
  Menu menu;
  if (!menu.CreatePopup()) return;
  GenreMenuBuilder builder(menu);
  ReadGenreMenu(gGenreList, builder);
  RECT button = {};
  toolBar.GetItemRect(0, button);
  POINT corner = {button.left, button.bottom};
  ClientToScreen(toolBar.hwnd, &corner);
  menu.Track(hwnd, corner.x, corner.y, TPM_LEFTALIGN | TPM_TOPALIGN | TPM_RIGHTBUTTON);
  menu.Destroy();
}

void SearchWindow::PickGenre(int n) {
  TextString words;
  if (!GenreSearchWords(gGenreList, n, words)) return;
  textBox.SetText(words.CStr());
  resultList.RunQuery(words.CStr(), kNewSearch, statusBar);
}

void SearchWindow::PlaySelected() {
  SelectedRow row = resultList.Selected();
  if (row.kind != kStationRow) return;
  TextString url;
  TuneInUrl(row.station, url);
  bar.Play(kPlayGivenUrl, url.CStr());
}

void SearchWindow::AddSelectedToFavorites() {
  SelectedRow row = resultList.Selected();
  if (row.kind != kStationRow) return;
  // The record may be gone by the time the fetch returns (the bar can hide
  // this window and so empty the list meanwhile): its texts are kept first.
  TextString url, name, info, home;
  TuneInUrl(row.station, url);
  name.Assign(ReadStationText(row.station, kStationName));
  info.Format("%s %dkbps", ReadStationText(row.station, kStationType), ReadStationNumber(row.station, kStationBitrate));
  home.Assign(ReadStationText(row.station, kStationSite));

  ByteBuffer answer;
  if (!answer.Init(kPlaylistInitialBytes, kPlaylistGrowthBytes)) return;
  if (FetchUrl(hwnd, url.CStr(), answer, kFetchGet, kTuneInFetchLimits) <= 0) return;
  PlaylistDocument playlist;
  if (!playlist.LoadText(answer.data, answer.length)) return;
  TextString stream;
  playlist.GetFile(1, stream);
  if (stream.IsEmpty()) return;
  sideWindows.AddFavorite(name.CStr(), info.CStr(), stream.CStr(), home.CStr());
  SetForegroundWindow(hwnd);
}

void SearchWindow::OpenSelectedHomePage() {
  SelectedRow row = resultList.Selected();
  if (row.kind != kStationRow) return;
  const char* site = ReadStationText(row.station, kStationSite);
  if (site[0]) OpenWebPage(site);
}
