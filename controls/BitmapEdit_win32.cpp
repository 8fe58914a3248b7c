#include "controls/BitmapEdit_win32.h"

namespace norvi {
namespace {

constexpr DWORD kDroppedStyles = WS_BORDER | WS_TABSTOP;  // 0x00810000
static_assert(kDroppedStyles == 0x00810000);
constexpr int kFontWeight = 500;

}  // namespace

bool CBitmapEdit::Create(HWND parent, const RECT& rect, DWORD style, UINT id) {
  return CreateControl(L"EDIT", parent, rect, style, 0, L"", id);
}

void CBitmapEdit::SetRange(int minimum, int maximum) {
  minimum_ = minimum;
  maximum_ = maximum;
}

void CBitmapEdit::SetBackground(Gdiplus::Bitmap& bitmap, int x, int y, int width, int height) {
  std::unique_ptr<Gdiplus::Bitmap> clone(
      bitmap.Clone(x, y, width, height, bitmap.GetPixelFormat()));
  if (!clone || clone->GetLastStatus() != Gdiplus::Ok) return;
  HBITMAP converted = nullptr;
  if (clone->GetHBITMAP(Gdiplus::Color(0), &converted) != Gdiplus::Ok) return;
  UniqueBitmap pattern(converted);  // the brush keeps its own copy
  brush_.reset(::CreatePatternBrush(pattern.get()));
  background_ = std::move(clone);
  Invalidate(true);
}

void CBitmapEdit::OnSubclassed() {
  Send(EM_LIMITTEXT, kTextLimit);
  // An empty face name lets the font mapper pick the default face at this height.
  font_ = CreateShellDlgFont(fontHeight_, kFontWeight, L"");
  Send(WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
  ModifyStyle(kDroppedStyles, 0);
}

bool CBitmapEdit::OnReflectedMessage(UINT msg, WPARAM wp, LPARAM, LRESULT& result) {
  if (msg != WM_CTLCOLOREDIT && msg != WM_CTLCOLORSTATIC) return false;
  HDC dc = reinterpret_cast<HDC>(wp);
  ::SetTextColor(dc, kTextColour);
  ::SetBkColor(dc, kTextColour);
  ::SetBkMode(dc, TRANSPARENT);
  result = reinterpret_cast<LRESULT>(brush_ ? brush_.get() : ::GetStockObject(NULL_BRUSH));
  return true;
}

}  // namespace norvi
