#pragma once
// The words of the main window that name its parts (the panel's headings and options, the
// mouse's inputs, the hints under the pictures): language texts the window draws over the
// label-free skin, each in a place of its layout. Portable: plain numbers and the wrapping
// rule; the drawing is MainLabels_win32.

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "app/MainLayout.h"

namespace norvi {

// The four kinds of label: size (the em height in pixels, as the artwork sets its type),
// weight and colour (GDI order 0x00BBGGRR).
struct LabelStyle {
  int32_t size;
  int32_t weight;
  uint32_t colour;
};
inline constexpr LabelStyle kSubtitleStyle{13, 400, 0x00BDB09F};  // RGB(159, 176, 189)
inline constexpr LabelStyle kHeadingStyle{15, 700, 0x004E453A};   // RGB(58, 69, 78)
inline constexpr LabelStyle kLabelStyle{12, 400, 0x005A5144};     // RGB(68, 81, 90)
inline constexpr LabelStyle kSmallStyle{11, 400, 0x00908777};     // RGB(122, 135, 144)

enum class LabelAlign { Left, Centre, Right };

// Where a label goes: the text stays between left and right (aligned to one of them, or
// centred between them) with its first line on `baseline`. A label of two lines wraps when
// one line is too wide; its second line sits lineStep lower, or, when `centred`, the two sit
// around the one line's baseline.
struct LabelPlace {
  int32_t left, right;
  int32_t baseline;
  LabelAlign align;
  int32_t lines = 1;
  int32_t lineStep = 0;
  bool centred = false;
  int32_t width() const { return right - left; }
  // The baseline of line `index` of `count`.
  int32_t BaselineOf(int32_t index, int32_t count) const {
    const int32_t shift = centred ? lineStep * (count - 1) / 2 : 0;
    return baseline - shift + index * lineStep;
  }
};

struct MainLabel {
  std::string_view key;  // the language key of its text
  LabelStyle style;
  LabelPlace chinese;  // in the Chinese layout
  LabelPlace other;    // in the other layout
  const LabelPlace& PlaceIn(bool chineseLayout) const { return chineseLayout ? chinese : other; }
  // Where the label's pixels may lie in a layout, with room for any face's ascent and descent.
  LayoutRect Reach(bool chineseLayout) const {
    const LabelPlace& p = PlaceIn(chineseLayout);
    return {p.left, p.BaselineOf(0, p.lines) - 2 * style.size, p.right,
            p.BaselineOf(p.lines - 1, p.lines) + style.size};
  }
};

constexpr size_t kMainLabelCount = 21;
// In drawing order: header, panel, top view, side view.
const std::array<MainLabel, kMainLabelCount>& MainLabels();

// The lines a label's text takes in a place `width` wide with room for `lines` lines, as
// `measure` (the width of a text as drawn) finds them: the whole text when it fits on one line
// or only one line is allowed; else two lines split where the wider of the two is narrowest,
// at a space (dropped) or between two CJK characters. A text that fits nowhere still gives
// its lines; the caller's check of each line's width tells that it does not fit.
using TextWidthFn = std::function<int32_t(std::u16string_view)>;
std::vector<std::u16string> WrapLabel(std::u16string_view text, int32_t width, int32_t lines,
                                      const TextWidthFn& measure);

}  // namespace norvi
