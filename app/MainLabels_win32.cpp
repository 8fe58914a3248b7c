#include "app/MainLabels_win32.h"

#include "base/WideText.h"
#include "controls/TextDraw_win32.h"

namespace norvi {
namespace {

constexpr UINT kAlignFlags[] = {DT_LEFT, DT_CENTER, DT_RIGHT};
constexpr UINT kLineFlags = DT_SINGLELINE | DT_NOPREFIX | DT_TOP;

int32_t WidthOf(HDC dc, std::u16string_view text) {
  SIZE extent{};
  ::GetTextExtentPoint32W(dc, WView(text).data(), static_cast<int>(text.size()), &extent);
  return extent.cx;
}

// The one place a label's line reaches the screen.

}  // namespace

UniqueFont CreateLabelFont(int32_t language, const LabelStyle& style) {
  // A negative height asks for the em height, the size the artwork gives its type.
  return CreateTextFont(language, {-style.size, style.weight});
}

std::vector<LabelLine> LayOutLabel(HDC dc, const LabelPlace& place, std::u16string_view text) {
  TEXTMETRICW metrics{};
  ::GetTextMetricsW(dc, &metrics);
  const std::vector<std::u16string> wrapped = WrapLabel(
      text, place.width(), place.lines, [dc](std::u16string_view t) { return WidthOf(dc, t); });
  std::vector<LabelLine> lines;
  const int32_t count = static_cast<int32_t>(wrapped.size());
  for (int32_t i = 0; i < count; ++i) {
    const int32_t baseline = place.BaselineOf(i, count);
    const int32_t width = WidthOf(dc, wrapped[static_cast<size_t>(i)]);
    lines.push_back(
        {wrapped[static_cast<size_t>(i)],
         RECT{place.left, baseline - metrics.tmAscent, place.right, baseline + metrics.tmDescent},
         kLineFlags | kAlignFlags[static_cast<int>(place.align)], width,
         width <= place.width() && i < place.lines});
  }
  return lines;
}

void DrawMainLabels(HWND window, HDC dc, POINT origin, const RECT& area,
                    const IStringLookup& strings, bool chineseLayout) {
  for (const MainLabel& label : MainLabels()) {
    const std::u16string_view text = strings.Text(label.key);
    const LayoutRect r = label.Reach(chineseLayout);
    const RECT reach{r.left, r.top, r.right, r.bottom};
    if (RECT common; text.empty() || !::IntersectRect(&common, &reach, &area)) continue;
    const UniqueFont font = CreateLabelFont(strings.LanguageIndex(), label.style);
    const TextScope scope(dc, font.get(), label.style.colour);
    for (LabelLine& line : LayOutLabel(dc, label.PlaceIn(chineseLayout), text)) {
      ::OffsetRect(&line.rect, -origin.x, -origin.y);
      DrawWindowText(window, dc, line.text, line.rect, line.flags);
    }
  }
}

}  // namespace norvi
