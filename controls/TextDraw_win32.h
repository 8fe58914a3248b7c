#pragma once
// The one step every text of the program passes on its way to the screen. It makes the font
// of the interface language (the face and character set of TextFaceFor) and draws with the
// DC's selected font. When NORVI_TEXT_LOG names a file (the tests set it), each drawing also
// appends one line there: the window, the text, its rectangle, the width and height the text
// needs in the DC's own font, whether that fits, and how many characters have no glyph in it.

#include <windows.h>

#include <cstdint>
#include <string_view>

#include "controls/TextFont.h"
#include "framework/Gdi_win32.h"

namespace norvi {

// The font for texts of language `language` (1 to 12; any other number: the shell dialog
// face) at the size and weight of `size`, family FF_SWISS.
UniqueFont CreateTextFont(int32_t language, ShellDlgFontSpec size);

// What a text needs in the font selected into `dc` when drawn into `rect` with `flags`.
struct TextNeed {
  int width = 0;
  int height = 0;
  int missingGlyphs = 0;  // characters the font has no glyph for
  bool fits = false;      // shown whole: within the rectangle's width and height
};
TextNeed MeasureText(HDC dc, std::u16string_view text, const RECT& rect, UINT flags);

// Draws `text` for `window` with the font selected into `dc` (DrawTextW), recording it under
// test.
void DrawWindowText(HWND window, HDC dc, std::u16string_view text, RECT rect, UINT flags);

// Marks a control whose own pictures carry the texts drawn beneath it (a label that runs on
// over its check box): it does not hide them.
void MarkCarriesTextBeneath(HWND control);

// Records, under test, a text that the system draws itself in `font` and sizes to fit (a
// tooltip): only its glyphs can fail.
void RecordSystemText(HWND window, HFONT font, std::u16string_view text);

// Everything a window's paint needs for its texts: the language's font selected into the DC,
// a transparent background and the text colour, all put back at the end.
class TextPainter {
 public:
  TextPainter(HWND window, HDC dc, int32_t language, ShellDlgFontSpec size, COLORREF colour)
      : window_(window),
        dc_(dc),
        font_(CreateTextFont(language, size)),
        scope_(dc, font_.get(), colour) {}

  void Draw(std::u16string_view text, const RECT& rect, UINT flags) const {
    DrawWindowText(window_, dc_, text, rect, flags);
  }
  SIZE Extent(std::u16string_view text) const { return scope_.Extent(text); }

 private:
  HWND window_;
  HDC dc_;
  UniqueFont font_;
  TextScope scope_;
};

}  // namespace norvi
