// The compiled resources of the program, as the program reads them: through
// the ANSI functions in code page 932.
#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "DialogTemplate.h"
#include "resources/ProgramRes.h"
#include "resources/ResourceText.h"
#include "resources/SkinRes.h"
#include "ui/favorites/FavoritesWindowRes.h"
#include "ui/favorites/StationEditorRes.h"
#include "ui/main/AboutBoxRes.h"
#include "ui/main/MainWindowRes.h"
#include "ui/main/SettingsDialogRes.h"

namespace {

HMODULE Self() { return GetModuleHandleA(nullptr); }

std::string ResourceBytes(const char* type, int id) {
  HRSRC found = FindResourceA(Self(), MAKEINTRESOURCEA(id), type);
  if (!found) return std::string();
  HGLOBAL loaded = LoadResource(Self(), found);
  const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
  return bytes ? std::string(bytes, SizeofResource(Self(), found)) : std::string();
}

std::string SourceFile(const char* name) {
  std::ifstream in(std::string(VELMORIN_SOURCE_DIR "/src/resources/") + name, std::ios::binary);
  std::ostringstream all;
  all << in.rdbuf();
  return all.str();
}

// ＭＳ Ｐゴシック
const char kDialogFace[] = "\x82l\x82r \x82o\x83S\x83V\x83" "b\x83N";

}  // namespace

TEST(Resources, BuiltInSkinTextIsTheFileUnchanged) {
  std::string text = ResourceBytes("EXDAT", IDR_SKIN_TEXT);
  EXPECT_EQ(382u, text.size());
  EXPECT_EQ(SourceFile("skin.ini"), text);
  EXPECT_EQ("[skin]\r\n", text.substr(0, 8));
  EXPECT_EQ("\r\n", text.substr(text.size() - 2)) << "ends with its line end, no NUL";
}

TEST(Resources, ElementKeyStringLoadsWhole) {
  char buffer[256];
  int n = LoadStringA(Self(), IDS_SKIN_ELEMENT_KEYS, buffer, sizeof buffer);
  EXPECT_EQ(103, n);
  EXPECT_STREQ(TEXT_SKIN_ELEMENT_KEYS, buffer);
}

TEST(Resources, FavoritesTooltipsAreOneStringOfSevenFields) {
  char buffer[256];
  int n = LoadStringA(Self(), IDS_FAVORITES_TOOLTIPS, buffer, sizeof buffer);
  // 再生/ﾎｰﾑﾍﾟｰｼﾞを開く/追加/削除/編集/上へ/下へ
  EXPECT_STREQ(
      "\x8d\xc4\x90\xb6/\xce\xb0\xd1\xcd\xdf\xb0\xbc\xde\x82\xf0\x8aJ\x82\xad/\x92\xc7\x89\xc1/\x8d\xed\x8f\x9c/"
      "\x95\xd2\x8fW/\x8f\xe3\x82\xd6/\x89\xba\x82\xd6",
      buffer);
  EXPECT_EQ(44, n);
}

TEST(Resources, SkinBitmapIsTheArtworkAt343By34And8Bits) {
  // A bitmap resource is the file without its 14-byte file header.
  std::string file = SourceFile("skin.bmp");
  ASSERT_GT(file.size(), 14u);
  EXPECT_EQ(file.substr(14), ResourceBytes(MAKEINTRESOURCEA(2), IDB_SKIN));  // RT_BITMAP

  HBITMAP bitmap = static_cast<HBITMAP>(
      LoadImageA(Self(), MAKEINTRESOURCEA(IDB_SKIN), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  ASSERT_NE(nullptr, bitmap);
  DIBSECTION section = {};
  ASSERT_EQ(static_cast<int>(sizeof section), GetObjectA(bitmap, sizeof section, &section));
  EXPECT_EQ(343, section.dsBm.bmWidth);
  EXPECT_EQ(34, section.dsBm.bmHeight);
  EXPECT_EQ(8, section.dsBmih.biBitCount);
  DeleteObject(bitmap);
}

TEST(Resources, FavoritesToolbarBitmapIsSevenImagesOf15By15WithThePaletteTheMapNeeds) {
  std::string file = SourceFile("favorites-toolbar.bmp");
  ASSERT_GT(file.size(), 14u);
  EXPECT_EQ(file.substr(14), ResourceBytes(MAKEINTRESOURCEA(2), IDB_FAVORITES_TOOLBAR));  // RT_BITMAP

  // The toolbar maps colours of the palette: the key must be one of them.
  HBITMAP bitmap = static_cast<HBITMAP>(LoadImageA(Self(), MAKEINTRESOURCEA(IDB_FAVORITES_TOOLBAR), IMAGE_BITMAP, 0,
                                                   0, LR_CREATEDIBSECTION));
  ASSERT_NE(nullptr, bitmap);
  DIBSECTION section = {};
  ASSERT_EQ(static_cast<int>(sizeof section), GetObjectA(bitmap, sizeof section, &section));
  EXPECT_EQ(7 * 15, section.dsBm.bmWidth);
  EXPECT_EQ(15, section.dsBm.bmHeight);
  EXPECT_EQ(8, section.dsBmih.biBitCount);
  DeleteObject(bitmap);
  const BITMAPINFOHEADER* header = reinterpret_cast<const BITMAPINFOHEADER*>(file.data() + 14);
  const RGBQUAD* palette = reinterpret_cast<const RGBQUAD*>(file.data() + 14 + header->biSize);
  bool key = false;
  for (DWORD i = 0; i < header->biClrUsed; ++i) {
    key = key || (palette[i].rgbRed == 0 && palette[i].rgbGreen == 255 && palette[i].rgbBlue == 0);
  }
  EXPECT_TRUE(key) << "pure green, shown as the button face";
}

TEST(Resources, IconsLoadAtSixteenAndThirtyTwoPixels) {
  struct Case {
    int id;
    int size;
  } cases[] = {{IDI_VELMORIN, 16}, {IDI_VELMORIN, 32}, {IDI_TRAY, 16}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.id * 100 + c.size);
    HICON icon = static_cast<HICON>(LoadImageA(Self(), MAKEINTRESOURCEA(c.id), IMAGE_ICON, c.size, c.size, LR_DEFAULTCOLOR));
    ASSERT_NE(nullptr, icon);
    ICONINFO info = {};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    BITMAP color = {};
    ASSERT_NE(nullptr, info.hbmColor);
    GetObjectA(info.hbmColor, sizeof color, &color);
    EXPECT_EQ(c.size, color.bmWidth);
    EXPECT_EQ(c.size, color.bmHeight);
    EXPECT_EQ(32, color.bmBitsPixel);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
  }
}

TEST(Resources, ContextMenuHoldsEveryItemInOrder) {
  struct Entry {
    int depth;    // 0: item of the menu, 1: item of the last pop-up
    int id;       // -1 separator, 0 pop-up
    const char* text;
    bool grayed;
  };
  const Entry expected[] = {
      {0, 40001, "\x8d\xc4\x90\xb6\x81i\x8d\xc5\x8c\xe3\x82\xc9\x8d\xc4\x90\xb6\x82\xb5\x82\xbd\x83T\x81[\x83o\x81[\x81j", false},  // 再生（最後に再生したサーバー）
      {0, 40002, "\x8d\xc4\x90\xb6\x81i\x83N\x83\x8a\x83" "b\x83v\x83{\x81[\x83h\x82\xccURL\x81j", false},  // 再生（クリップボードのURL）
      {0, 40003, "\x92\xe2\x8e~", false},  // 停止
      {0, -1, "", false},
      {0, 0, "\x89\xb9\x97\xca", false},  // 音量
      {1, 40910, "100%", false}, {1, 40909, "90%", false}, {1, 40908, "80%", false}, {1, 40907, "70%", false},
      {1, 40906, "60%", false},  {1, 40905, "50%", false}, {1, 40904, "40%", false}, {1, 40903, "30%", false},
      {1, 40902, "20%", false},  {1, 40901, "10%", false}, {1, 40900, "0%", false},
      {0, 40004, "\x83~\x83\x85\x81[\x83g", false},  // ミュート
      {0, -1, "", false},
      {0, 0, "\x83T\x81[\x83o\x81[\x8f\xee\x95\xf1", false},  // サーバー情報
      {1, 40800, "-", true}, {1, 40801, "-", true}, {1, -1, "", false}, {1, 40802, "-", true}, {1, 40803, "-", true},
      {0, -1, "", false},
      {0, 40005, "\x8c\xbb\x8d\xdd\x82\xcc\x83^\x83" "C\x83g\x83\x8b\x82\xf0\x83R\x83s\x81[", false},  // 現在のタイトルをコピー
      {0, 40006, "\x8c\xbb\x8d\xdd\x82\xcc\x83^\x83" "C\x83g\x83\x8b\x82\xf0\x83\x81\x83\x82\x82\xc9\x92\xc7\x89\xc1", false},  // 現在のタイトルをメモに追加
      {0, 40007, "\x83^\x83" "C\x83g\x83\x8b\x83\x81\x83\x82\x82\xf0\x8aJ\x82\xad", false},  // タイトルメモを開く
      {0, -1, "", false},
      {0, 40008, "\x8c\x9f\x8d\xf5\x83" "E\x83" "B\x83\x93\x83h\x83" "E", false},  // 検索ウィンドウ
      {0, 40009, "\x82\xa8\x8b" "C\x82\xc9\x93\xfc\x82\xe8\x83" "E\x83" "B\x83\x93\x83h\x83" "E", false},  // お気に入りウィンドウ
      {0, -1, "", false},
      {0, 40010, "\x90\xdd\x92\xe8", false},  // 設定
      {0, 0, "\x83X\x83L\x83\x93", false},     // スキン
      {1, 40700, "-", false},
      {0, 40011, "\x8f\xed\x82\xc9\x91O\x96\xca\x82\xc9\x95\x5c\x8e\xa6", false},  // 常に前面に表示
      {0, -1, "", false},
      {0, 40012, "SHOUTcast\x82\xcc\x83y\x81[\x83W\x82\xf0\x8aJ\x82\xad", false},  // SHOUTcastのページを開く
      {0, 40013, "\x83w\x83\x8b\x83v", false},                                     // ヘルプ
      {0, 40014, "\x83o\x81[\x83W\x83\x87\x83\x93\x8f\xee\x95\xf1", false},          // バージョン情報
      {0, -1, "", false},
      {0, 40015, "\x8d\xc5\x8f\xac\x89\xbb", false},  // 最小化
      {0, 40016, "\x8fI\x97\xb9", false},              // 終了
  };

  HMENU menu = LoadMenuA(Self(), MAKEINTRESOURCEA(IDM_CONTEXT));
  ASSERT_NE(nullptr, menu);
  ASSERT_EQ(1, GetMenuItemCount(menu)) << "one pop-up";
  HMENU top = GetSubMenu(menu, 0);
  ASSERT_NE(nullptr, top);

  std::vector<Entry> seen;
  std::vector<std::string> texts;
  auto walk = [&](HMENU m, int depth, auto&& self) -> void {
    for (int i = 0; i < GetMenuItemCount(m); ++i) {
      char text[128] = {};
      MENUITEMINFOA info = {};
      info.cbSize = sizeof info;
      info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STATE | MIIM_STRING | MIIM_SUBMENU;
      info.dwTypeData = text;
      info.cch = sizeof text;
      ASSERT_TRUE(GetMenuItemInfoA(m, static_cast<UINT>(i), TRUE, &info));
      texts.emplace_back(text);
      int id = (info.fType & MFT_SEPARATOR) ? -1 : (info.hSubMenu ? 0 : static_cast<int>(info.wID));
      seen.push_back({depth, id, nullptr, (info.fState & MFS_GRAYED) != 0});
      if (info.hSubMenu) self(info.hSubMenu, depth + 1, self);
    }
  };
  walk(top, 0, walk);
  DestroyMenu(menu);

  ASSERT_EQ(sizeof expected / sizeof expected[0], seen.size());
  for (size_t i = 0; i < seen.size(); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(expected[i].depth, seen[i].depth);
    EXPECT_EQ(expected[i].id, seen[i].id);
    EXPECT_EQ(expected[i].text, texts[i]);
    if (expected[i].id != -1) {  // separators report greyed anyway
      EXPECT_EQ(expected[i].grayed, seen[i].grayed);
    }
  }
}

namespace {

struct ItemSpec {
  int id;
  const char* className;
  const char* text;
  int x, y, cx, cy;      // cx -1: not checked
  unsigned long style;  // bits that must be set
};

void ExpectDialog(int id, const char* caption, int cx, int cy, unsigned long style, const std::vector<ItemSpec>& items) {
  SCOPED_TRACE(id);
  DialogTemplate dialog = ReadDialogTemplate(id);
  ASSERT_TRUE(dialog.valid);
  EXPECT_EQ(caption, dialog.caption);
  EXPECT_EQ(cx, dialog.cx);
  EXPECT_EQ(cy, dialog.cy);
  EXPECT_EQ(style, dialog.style & style);
  EXPECT_EQ(9, dialog.pointSize);
  EXPECT_EQ(kDialogFace, dialog.face);
  EXPECT_EQ(SHIFTJIS_CHARSET, dialog.charset);
  ASSERT_EQ(items.size(), dialog.items.size());
  for (size_t i = 0; i < items.size(); ++i) {
    const ItemSpec& want = items[i];
    const DialogItem& got = dialog.items[i];
    SCOPED_TRACE(want.text);
    EXPECT_EQ(want.id, got.id);
    EXPECT_EQ(0, lstrcmpiA(want.className, got.className.c_str())) << got.className << " (class names ignore case)";
    EXPECT_EQ(want.text, got.text);
    EXPECT_EQ(want.x, got.x);
    EXPECT_EQ(want.y, got.y);
    if (want.cx >= 0) {  // an icon sizes itself
      EXPECT_EQ(want.cx, got.cx);
      EXPECT_EQ(want.cy, got.cy);
    }
    EXPECT_EQ(want.style, got.style & want.style);
    EXPECT_NE(0ul, got.style & WS_VISIBLE);
  }
}

const unsigned long kSpin = UDS_SETBUDDYINT | UDS_ALIGNRIGHT | UDS_AUTOBUDDY | UDS_ARROWKEYS | UDS_NOTHOUSANDS;
const unsigned long kNumberEdit = ES_NUMBER | ES_RIGHT;
const unsigned long kModal = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;

}  // namespace

TEST(Resources, AboutBoxTemplate) {
  ExpectDialog(IDD_ABOUT, "\x83o\x81[\x83W\x83\x87\x83\x93\x8f\xee\x95\xf1", 141, 75, kModal,  // バージョン情報
               {
                   {1, "Button", "OK", 72, 51, 50, 16, BS_DEFPUSHBUTTON},
                   {-1, "Static", "#100", 9, 11, -1, -1, SS_ICON},
                   {-1, "Static", "Velmorin ver 3.02\n\nSHOUTcast \xd7\xbc\xde\xb5 \xcc\xdf\xda\xb2\xd4\xb0", 40, 11, 93, 25, 0},
                   {1100, "Button", "HP", 12, 52, 41, 16, 0},
               });
}

TEST(Resources, SettingsDialogTemplates) {
  ExpectDialog(IDD_SETTINGS, "\x90\xdd\x92\xe8", 151, 223, kModal,  // 設定
               {
                   {1, "Button", "OK", 41, 203, 53, 17, BS_DEFPUSHBUTTON},
                   {2, "Button", "\xb7\xac\xdd\xbe\xd9", 94, 203, 53, 17, 0},  // ｷｬﾝｾﾙ
                   {1550, "SysTabControl32", "", 1, 1, 149, 194, WS_TABSTOP},
               });
  ExpectDialog(IDD_SETTINGS_GENERAL, "", 144, 171, WS_CHILD | DS_CONTROL,
               {
                   {-1, "Static", "\xc0\xb2\xc4\xd9\xbd\xb8\xdb\xb0\xd9\x91\xac\x93x(ms)", 8, 13, 73, 9, 0},  // ﾀｲﾄﾙｽｸﾛｰﾙ速度(ms)
                   {1200, "Edit", "", 92, 9, 36, 14, kNumberEdit},
                   {1300, "msctls_updown32", "", 120, 4, 9, 17, kSpin},
                   {-1, "Static", "\xc0\xb2\xc4\xd9\xbd\xb8\xdb\xb0\xd9\x92P\x88\xca(px)", 8, 30, 73, 9, 0},  // ﾀｲﾄﾙｽｸﾛｰﾙ単位(px)
                   {1201, "Edit", "", 92, 26, 36, 14, kNumberEdit},
                   {1301, "msctls_updown32", "", 118, 23, 9, 17, kSpin},
                   {-1, "Static", "\xce\xb2\xb0\xd9\x82\xc5\x82\xcc\x89\xb9\x97\xca\x91\x80\x8d\xec\x92P\x88\xca", 8, 47, 79, 9, 0},  // ﾎｲｰﾙでの音量操作単位
                   {1202, "Edit", "", 92, 43, 36, 14, kNumberEdit},
                   {1302, "msctls_updown32", "", 118, 41, 9, 17, kSpin},
                   {1500, "Button", "\x89\xb9\x97\xca\x82\xcdWindows\x82\xcc\xce\xde\xd8\xad\xb0\xd1\x82\xf0\x91\x80\x8d\xec\x82\xb7\x82\xe9", 8, 69, 130, 11, BS_AUTOCHECKBOX},  // 音量はWindowsのﾎﾞﾘｭｰﾑを操作する
                   {-1, "Static",
                    // ※次回起動時に適用されます\n※OFFの場合、WAVEﾃﾞｰﾀを直接編集して音量調節します。ただし再生ﾊﾞｯﾌｧが長いほど音量の適用が遅れます。
                    "\x81\xa6\x8e\x9f\x89\xf1\x8bN\x93\xae\x8e\x9e\x82\xc9\x93K\x97p\x82\xb3\x82\xea\x82\xdc\x82\xb7\n\x81\xa6OFF\x82\xcc\x8f\xea\x8d\x87\x81"
                    "AWAVE\xc3\xde\xb0\xc0\x82\xf0\x92\xbc\x90\xda\x95\xd2\x8fW\x82\xb5\x82\xc4\x89\xb9\x97\xca\x92\xb2\x90\xdf\x82\xb5\x82\xdc\x82\xb7\x81"
                    "B\x82\xbd\x82\xbe\x82\xb5\x8d\xc4\x90\xb6\xca\xde\xaf\xcc\xa7\x82\xaa\x92\xb7\x82\xa2\x82\xd9\x82\xc7\x89\xb9\x97\xca\x82\xcc\x93K\x97p\x82\xaa\x92x\x82\xea\x82\xdc\x82\xb7\x81"
                    "B",
                    8, 85, 129, 36, 0},
                   {-1, "Static", "\x8d\xc4\x90\xb6\xca\xde\xaf\xcc\xa7\x92\xb7\x82\xb3", 8, 132, 50, 9, 0},  // 再生ﾊﾞｯﾌｧ長さ
                   {1350, "msctls_trackbar32", "", 11, 145, 80, 13, TBS_NOTICKS},
                   {1400, "Static", "0", 97, 145, 39, 11, SS_CENTER | SS_SUNKEN},
               });
  ExpectDialog(IDD_SETTINGS_SEARCH, "", 137, 115, WS_CHILD | DS_CONTROL,
               {
                   {-1, "Static", "\x88\xea\x93x\x82\xc9\x8c\x9f\x8d\xf5\x82\xb7\x82\xe9\x90\x94 [10-200]", 7, 12, 85, 9, 0},  // 一度に検索する数 [10-200]
                   {1203, "Edit", "", 95, 9, 29, 14, kNumberEdit},
                   {1303, "msctls_updown32", "", 115, 5, 9, 17, kSpin},
                   {1500, "Button", "MP3\x82\xcc\x82\xdd\x8c\x9f\x8d\xf5\x82\xb7\x82\xe9", 8, 40, 120, 12, BS_AUTOCHECKBOX},  // MP3のみ検索する
                   {1501, "Button", "\x95\xc2\x82\xb6\x82\xe9\x8e\x9e\x81" "A\xd8\xbd\xc4\x82\xf0\xb8\xd8\xb1\x82\xb7\x82\xe9", 8, 56, 120, 12, BS_AUTOCHECKBOX},  // 閉じる時、ﾘｽﾄをｸﾘｱする
               });
  // The pages are children without a caption.
  EXPECT_EQ(0ul, ReadDialogTemplate(IDD_SETTINGS_GENERAL).style & (WS_CAPTION | WS_POPUP));
  EXPECT_EQ(0ul, ReadDialogTemplate(IDD_SETTINGS_SEARCH).style & (WS_CAPTION | WS_POPUP));
}

TEST(Resources, StationEditorTemplate) {
  const unsigned long kField = WS_BORDER | WS_TABSTOP | ES_AUTOHSCROLL;
  ExpectDialog(IDD_STATION_EDITOR, "\x92\xc7\x89\xc1", 203, 141, kModal | DS_CENTER,  // 追加
               {
                   {1, "Button", "OK", 83, 120, 56, 17, BS_DEFPUSHBUTTON},
                   {2, "Button", "\xb7\xac\xdd\xbe\xd9", 139, 120, 56, 17, 0},  // ｷｬﾝｾﾙ
                   {-1, "Static", "\x96\xbc\x91O", 9, 12, 16, 9, 0},            // 名前
                   {1200, "Edit", "", 29, 10, 164, 13, kField},
                   {-1, "Static", "\x8f\xee\x95\xf1", 9, 31, 16, 9, 0},  // 情報
                   {1201, "Edit", "", 29, 29, 164, 13, kField},
                   {-1, "Static", "URL", 9, 51, 16, 9, 0},
                   {1202, "Edit", "", 29, 49, 164, 13, kField},
                   // （配信ｻｰﾊﾞｰまたはplsﾌｧｲﾙのURL）
                   {-1, "Static", "\x81i\x94z\x90M\xbb\xb0\xca\xde\xb0\x82\xdc\x82\xbd\x82\xcdpls\xcc\xa7\xb2\xd9\x82\xccURL\x81j",
                    29, 66, 163, 10, 0},
                   {-1, "Static", "HP", 9, 86, 16, 9, 0},
                   {1203, "Edit", "", 29, 84, 164, 13, kField},
                   {-1, "Static", "\x81i\xce\xb0\xd1\xcd\xdf\xb0\xbc\xde\x82\xccURL\x81j", 29, 101, 163, 10, 0},  // （ﾎｰﾑﾍﾟｰｼﾞのURL）
               });
}

namespace {

INT_PTR CALLBACK QuietDialog(HWND, UINT message, WPARAM, LPARAM) { return message == WM_INITDIALOG; }

std::string ClassOf(HWND window) {
  char name[64] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

std::string TextOf(HWND window) {
  char text[512] = {};
  GetWindowTextA(window, text, sizeof text);
  return text;
}

}  // namespace

TEST(Resources, DialogsCreateWithTheirControls) {
  INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_WIN95_CLASSES | ICC_USEREX_CLASSES};
  ASSERT_TRUE(InitCommonControlsEx(&classes));

  HWND about = CreateDialogParamA(Self(), MAKEINTRESOURCEA(IDD_ABOUT), nullptr, QuietDialog, 0);
  ASSERT_NE(nullptr, about) << "windows need a display: run through ctest, whose wine.start provides one";
  EXPECT_EQ("Button", ClassOf(GetDlgItem(about, IDOK)));
  EXPECT_EQ("HP", TextOf(GetDlgItem(about, IDC_HOME_PAGE)));
  EXPECT_EQ("\x83o\x81[\x83W\x83\x87\x83\x93\x8f\xee\x95\xf1", TextOf(about));  // バージョン情報
  LOGFONTA font = {};
  GetObjectA(reinterpret_cast<HFONT>(SendMessageA(about, WM_GETFONT, 0, 0)), sizeof font, &font);
  EXPECT_STREQ(kDialogFace, font.lfFaceName);
  DestroyWindow(about);

  HWND settings = CreateDialogParamA(Self(), MAKEINTRESOURCEA(IDD_SETTINGS), nullptr, QuietDialog, 0);
  ASSERT_NE(nullptr, settings);
  HWND tabs = GetDlgItem(settings, IDC_SETTINGS_TABS);
  EXPECT_EQ(WC_TABCONTROLA, ClassOf(tabs));
  EXPECT_EQ("\xb7\xac\xdd\xbe\xd9", TextOf(GetDlgItem(settings, IDCANCEL)));  // ｷｬﾝｾﾙ

  // The pages go inside the tab control, as the settings dialog puts them.
  HWND general = CreateDialogParamA(Self(), MAKEINTRESOURCEA(IDD_SETTINGS_GENERAL), tabs, QuietDialog, 0);
  ASSERT_NE(nullptr, general);
  struct Pair {
    int edit;
    int spin;
  } pairs[] = {{1200, 1300}, {1201, 1301}, {1202, 1302}};
  for (const Pair& p : pairs) {
    HWND edit = GetDlgItem(general, p.edit);
    HWND spin = GetDlgItem(general, p.spin);
    EXPECT_EQ("Edit", ClassOf(edit));
    EXPECT_EQ(UPDOWN_CLASSA, ClassOf(spin));
    EXPECT_EQ(edit, reinterpret_cast<HWND>(SendMessageA(spin, UDM_GETBUDDY, 0, 0))) << "the spin drives the edit before it";
  }
  EXPECT_EQ(TRACKBAR_CLASSA, ClassOf(GetDlgItem(general, IDC_PLAY_BUFFER)));
  EXPECT_EQ("0", TextOf(GetDlgItem(general, IDC_PLAY_BUFFER_LABEL)));
  EXPECT_EQ("Button", ClassOf(GetDlgItem(general, IDC_DEVICE_VOLUME)));

  HWND search = CreateDialogParamA(Self(), MAKEINTRESOURCEA(IDD_SETTINGS_SEARCH), tabs, QuietDialog, 0);
  ASSERT_NE(nullptr, search);
  EXPECT_EQ(GetDlgItem(search, IDC_SEARCH_COUNT),
            reinterpret_cast<HWND>(SendMessageA(GetDlgItem(search, IDC_SEARCH_COUNT_SPIN), UDM_GETBUDDY, 0, 0)));
  EXPECT_EQ("MP3\x82\xcc\x82\xdd\x8c\x9f\x8d\xf5\x82\xb7\x82\xe9", TextOf(GetDlgItem(search, IDC_MP3_ONLY)));  // MP3のみ検索する
  EXPECT_NE(nullptr, GetDlgItem(search, IDC_CLEAR_ON_CLOSE));
  DestroyWindow(settings);
}

TEST(Resources, VersionBlockNamesTheProgramAndItsVersion) {
  std::string block = ResourceBytes(MAKEINTRESOURCEA(16), 1);  // RT_VERSION
  ASSERT_FALSE(block.empty());
  const VS_FIXEDFILEINFO* fixed = nullptr;
  UINT size = 0;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\", reinterpret_cast<void**>(const_cast<VS_FIXEDFILEINFO**>(&fixed)), &size));
  EXPECT_EQ(0x00030002u, fixed->dwFileVersionMS);
  char* text = nullptr;
  ASSERT_TRUE(VerQueryValueA(block.data(), "\\StringFileInfo\\041104b0\\ProductVersion", reinterpret_cast<void**>(&text), &size));
  EXPECT_STREQ("3.02", text);
}
