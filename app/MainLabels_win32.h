#pragma once
// The main window's labels on a device context: each laid out in the font of its style and
// drawn line by line in its place.

#include <windows.h>

#include <string>
#include <vector>

#include "app/MainLabels.h"
#include "framework/Gdi_win32.h"
#include "model/FunctionName.h"

namespace norvi {

// The font of a label style: the language's face at the style's em height and weight.
UniqueFont CreateLabelFont(int32_t language, const LabelStyle& style);

// One line of a label: where it goes (one text line high, the line's baseline where the place
// puts it for the DC's font), how it is drawn, and whether it is whole there.
struct LabelLine {
  std::u16string text;
  RECT rect;
  UINT flags;
  int32_t width;  // as drawn in the DC's font
  bool fits;
};

// The lines of `text` in `place`, measured in the font selected into `dc`.
std::vector<LabelLine> LayOutLabel(HDC dc, const LabelPlace& place, std::u16string_view text);

// Draws the labels of the layout that reach into `area` (client coordinates) into `dc`, which
// shows the window's client area from `origin` on: the whole window, or a control's own
// picture.
void DrawMainLabels(HWND window, HDC dc, POINT origin, const RECT& area,
                    const IStringLookup& strings, bool chineseLayout);

}  // namespace norvi
