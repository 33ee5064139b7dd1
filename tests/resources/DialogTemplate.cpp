#include "DialogTemplate.h"

#include <windows.h>

#include <cstdint>
#include <cstring>

namespace {

class Reader {
 public:
  Reader(const unsigned char* data, size_t size) : p(data), end(data + size) {}
  bool Ok() const { return ok; }
  unsigned Word() {
    std::uint16_t v = 0;
    if (Need(2)) {
      std::memcpy(&v, p, 2);
      p += 2;
    }
    return v;
  }
  unsigned long Dword() {
    std::uint32_t v = 0;
    if (Need(4)) {
      std::memcpy(&v, p, 4);
      p += 4;
    }
    return v;
  }
  int Short() { return static_cast<short>(Word()); }
  std::string Text() {
    std::wstring wide;
    for (unsigned c = Word(); ok && c != 0; c = Word()) wide += static_cast<wchar_t>(c);
    return ToCodePage932(wide);
  }
  // sz_Or_Ord: empty, an ordinal ("#n"), or a string.
  std::string TextOrOrdinal() {
    if (!Need(2)) return std::string();
    unsigned first = p[0] | (p[1] << 8);
    if (first == 0) {
      Word();
      return std::string();
    }
    if (first == 0xFFFF) {
      Word();
      return "#" + std::to_string(Word());
    }
    return Text();
  }
  void Skip(size_t n) {
    if (Need(n)) p += n;
  }
  void AlignDword(const unsigned char* base) {
    while (((p - base) & 3) != 0 && p < end) ++p;
  }
  static std::string ToCodePage932(const std::wstring& wide) {
    if (wide.empty()) return std::string();
    int n = WideCharToMultiByte(932, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(932, 0, wide.data(), static_cast<int>(wide.size()), &out[0], n, nullptr, nullptr);
    return out;
  }

 private:
  bool Need(size_t n) {
    if (static_cast<size_t>(end - p) < n) ok = false;
    return ok;
  }
  const unsigned char* p;
  const unsigned char* end;
  bool ok = true;
};

std::string PredefinedClass(const std::string& ordinal) {
  if (ordinal == "#128") return "Button";
  if (ordinal == "#129") return "Edit";
  if (ordinal == "#130") return "Static";
  if (ordinal == "#131") return "ListBox";
  if (ordinal == "#132") return "ScrollBar";
  if (ordinal == "#133") return "ComboBox";
  return ordinal;
}

}  // namespace

DialogTemplate ReadDialogTemplate(int id) {
  DialogTemplate dialog;
  HMODULE module = GetModuleHandleA(nullptr);
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(5));  // RT_DIALOG
  if (!found) return dialog;
  HGLOBAL loaded = LoadResource(module, found);
  const unsigned char* base = loaded ? static_cast<const unsigned char*>(LockResource(loaded)) : nullptr;
  if (!base) return dialog;
  Reader r(base, SizeofResource(module, found));
  if (r.Word() != 1 || r.Word() != 0xFFFF) return dialog;  // dlgVer, signature of DLGTEMPLATEEX
  r.Dword();                                               // help id
  r.Dword();                                               // extended style
  dialog.style = r.Dword();
  unsigned count = r.Word();
  dialog.x = r.Short();
  dialog.y = r.Short();
  dialog.cx = r.Short();
  dialog.cy = r.Short();
  r.TextOrOrdinal();  // menu
  r.TextOrOrdinal();  // class
  dialog.caption = r.Text();
  if (dialog.style & (DS_SETFONT | DS_SHELLFONT)) {
    dialog.pointSize = static_cast<int>(r.Word());
    dialog.weight = static_cast<int>(r.Word());
    unsigned italicAndCharset = r.Word();
    dialog.charset = static_cast<int>(italicAndCharset >> 8);
    dialog.face = r.Text();
  }
  for (unsigned i = 0; i < count && r.Ok(); ++i) {
    r.AlignDword(base);
    DialogItem item;
    r.Dword();  // help id
    r.Dword();  // extended style
    item.style = r.Dword();
    item.x = r.Short();
    item.y = r.Short();
    item.cx = r.Short();
    item.cy = r.Short();
    item.id = static_cast<int>(r.Dword());
    item.className = PredefinedClass(r.TextOrOrdinal());
    item.text = r.TextOrOrdinal();
    r.Skip(r.Word());  // creation data
    dialog.items.push_back(item);
  }
  dialog.valid = r.Ok();
  return dialog;
}
