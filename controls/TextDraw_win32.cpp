#include "controls/TextDraw_win32.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "base/WideText.h"
#include "localisation/Languages.h"
#include "model/Text.h"

namespace norvi {
namespace {

constexpr UINT kEllipses = DT_END_ELLIPSIS | DT_WORD_ELLIPSIS | DT_PATH_ELLIPSIS | DT_MODIFYSTRING;

// The record file of the tests; empty in normal use.
std::wstring TextLogPath() {
  wchar_t path[MAX_PATH];
  const DWORD n = ::GetEnvironmentVariableW(L"NORVI_TEXT_LOG", path, MAX_PATH);
  return n == 0 || n >= MAX_PATH ? std::wstring() : std::wstring(path, n);
}

int MissingGlyphs(HDC dc, std::u16string_view text) {
  if (text.empty()) return 0;
  std::vector<WORD> glyphs(text.size());
  if (::GetGlyphIndicesW(dc, WView(text).data(), static_cast<int>(text.size()), glyphs.data(),
                         GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR)
    return static_cast<int>(text.size());
  int missing = 0;
  for (const WORD g : glyphs) missing += g == 0xFFFF ? 1 : 0;
  return missing;
}

std::string Hex(HWND w) {
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, "%llx",
                static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(w)));
  return buffer;
}

std::string FaceOf(HDC dc) {
  wchar_t face[LF_FACESIZE]{};
  const int n = ::GetTextFaceW(dc, LF_FACESIZE, face);
  return Utf16ToUtf8(U16(std::wstring_view(face, n > 0 ? static_cast<size_t>(n - 1) : 0)));
}

// One tab-separated line: kind, root window, window, its class, rectangle, need, fits,
// missing glyphs, face, text.
void Record(const std::wstring& log, const char* kind, HWND window, HDC dc,
            std::u16string_view text, const RECT& rect, const TextNeed& need) {
  wchar_t windowClass[64]{};
  if (window) ::GetClassNameW(window, windowClass, 64);
  std::ofstream out(std::filesystem::path(log), std::ios::app | std::ios::binary);
  out << kind << '\t' << Hex(window ? ::GetAncestor(window, GA_ROOT) : nullptr) << '\t'
      << Hex(window) << '\t' << Utf16ToUtf8(U16(windowClass)) << '\t' << rect.left << ','
      << rect.top << ',' << rect.right << ',' << rect.bottom << '\t' << need.width << 'x'
      << need.height << '\t' << (need.fits ? "fits" : "CUT") << '\t' << need.missingGlyphs << '\t'
      << FaceOf(dc) << '\t' << Utf16ToUtf8(text) << '\n';
}

// Where the text's own box lies in `rect` as DrawTextW places it.
RECT TextBox(const RECT& rect, UINT flags, const TextNeed& need) {
  RECT box{rect.left, rect.top, rect.left + need.width, rect.top + need.height};
  const int spareX = (rect.right - rect.left) - need.width;
  const int spareY = (rect.bottom - rect.top) - need.height;
  if (flags & DT_CENTER)
    ::OffsetRect(&box, spareX / 2, 0);
  else if (flags & DT_RIGHT)
    ::OffsetRect(&box, spareX, 0);
  if (flags & DT_SINGLELINE) {
    if (flags & DT_VCENTER)
      ::OffsetRect(&box, 0, spareY / 2);
    else if (flags & DT_BOTTOM)
      ::OffsetRect(&box, 0, spareY);
  }
  return box;
}

constexpr wchar_t kCarriesTextProperty[] = L"NorviCarriesTextBeneath";

// Whether a shown child window of `window` lies over the text's box: a text drawn under a
// control is hidden by it whatever room its own rectangle has.
bool CoveredByChild(HWND window, const RECT& box) {
  if (!window) return false;
  for (HWND child = ::GetWindow(window, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
    if (!::IsWindowVisible(child) || ::GetPropW(child, kCarriesTextProperty)) continue;
    RECT r{}, overlap{};
    ::GetWindowRect(child, &r);
    ::MapWindowPoints(HWND_DESKTOP, window, reinterpret_cast<POINT*>(&r), 2);
    if (::IntersectRect(&overlap, &r, &box)) return true;
  }
  return false;
}

}  // namespace

UniqueFont CreateTextFont(int32_t language, ShellDlgFontSpec size) {
  const TextFace face = TextFaceFor(language);
  const std::u16string name(face.face);
  return UniqueFont(::CreateFontW(size.height, 0, 0, 0, size.weight, FALSE, FALSE, FALSE,
                                  face.charset, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                  DEFAULT_QUALITY, FF_SWISS, W(name)));
}

TextNeed MeasureText(HDC dc, std::u16string_view text, const RECT& rect, UINT flags) {
  TextNeed need;
  need.missingGlyphs = MissingGlyphs(dc, text);
  // Broken into lines as the drawing breaks it, without the ellipsis that would hide a cut; a
  // word wider than the rectangle widens the result.
  RECT calc{0, 0, rect.right - rect.left, 0};
  ::DrawTextW(dc, WView(text).data(), static_cast<int>(text.size()), &calc,
              (flags & ~(kEllipses | DT_VCENTER | DT_BOTTOM)) | DT_CALCRECT);
  need.width = calc.right - calc.left;
  need.height = calc.bottom - calc.top;
  need.fits = need.width <= rect.right - rect.left && need.height <= rect.bottom - rect.top;
  return need;
}

void DrawWindowText(HWND window, HDC dc, std::u16string_view text, RECT rect, UINT flags) {
  if (const std::wstring log = TextLogPath(); !log.empty() && !text.empty()) {
    TextNeed need = MeasureText(dc, text, rect, flags);
    if (CoveredByChild(window, TextBox(rect, flags, need))) need.fits = false;
    Record(log, "text", window, dc, text, rect, need);
  }
  ::DrawTextW(dc, WView(text).data(), static_cast<int>(text.size()), &rect, flags);
}

void MarkCarriesTextBeneath(HWND control) {
  ::SetPropW(control, kCarriesTextProperty, reinterpret_cast<HANDLE>(1));
}

void RecordSystemText(HWND window, HFONT font, std::u16string_view text) {
  const std::wstring log = TextLogPath();
  if (log.empty() || text.empty()) return;
  UniqueDC dc(::CreateCompatibleDC(nullptr));
  SelectObjectScope select(dc.get(), font);
  TextNeed need = MeasureText(dc.get(), text, RECT{0, 0, 0x7FFF, 0x7FFF}, DT_SINGLELINE);
  Record(log, "system", window, dc.get(), text, RECT{0, 0, need.width, need.height}, need);
}

}  // namespace norvi
