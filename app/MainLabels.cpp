#include "app/MainLabels.h"

#include <algorithm>
#include <limits>

namespace norvi {
namespace {

using A = LabelAlign;

constexpr LabelPlace Line(int32_t left, int32_t right, int32_t baseline, LabelAlign align) {
  return {left, right, baseline, align};
}
constexpr LabelPlace TwoLines(int32_t left, int32_t right, int32_t baseline, LabelAlign align,
                              int32_t step, bool centred) {
  return {left, right, baseline, align, 2, step, centred};
}
constexpr MainLabel Same(std::string_view key, LabelStyle style, LabelPlace place) {
  return {key, style, place, place};
}

// The English artwork's places: its left-aligned texts start where the artwork's did, its
// right-aligned and centred ones keep their anchor, and each place reaches as far as the
// picture has free room. The side view's tilt labels have little room beside the panel and
// wrap around their leader line; in the Chinese layout the rows option has only the height of
// its button, so two lines stand closer there.
constexpr std::array<MainLabel, kMainLabelCount> kLabels{{
    Same("str_main_subtitle", kSubtitleStyle, Line(118, 420, 31, A::Left)),
    Same("str_main_settings", kHeadingStyle, Line(44, 328, 100, A::Left)),
    Same("str_main_pointer", kHeadingStyle, Line(64, 328, 150, A::Left)),
    Same("str_main_pointer_speed", kLabelStyle, Line(62, 328, 186, A::Left)),
    Same("str_main_slow", kSmallStyle, Line(30, 86, 222, A::Right)),
    Same("str_main_fast", kSmallStyle, Line(298, 346, 222, A::Left)),
    Same("str_main_precision", kLabelStyle, Line(88, 328, 254, A::Left)),
    Same("str_main_wheel", kHeadingStyle, Line(64, 328, 352, A::Left)),
    Same("str_main_wheel_scrolls", kLabelStyle, Line(62, 328, 386, A::Left)),
    {"str_main_wheel_lines", kLabelStyle, TwoLines(84, 271, 422, A::Left, 14, true),
     TwoLines(84, 250, 423, A::Left, 18, false)},
    {"str_main_wheel_screen", kLabelStyle, TwoLines(86, 328, 452, A::Left, 18, false),
     TwoLines(85, 328, 477, A::Left, 18, false)},
    Same("str_main_wheel_up", kLabelStyle, Line(370, 692, 169, A::Right)),
    Same("str_main_middle_button", kLabelStyle, Line(370, 692, 211, A::Right)),
    Same("str_main_wheel_down", kLabelStyle, Line(370, 692, 246, A::Right)),
    {"str_main_right_button", kLabelStyle, Line(823, 996, 66, A::Centre),
     Line(901, 996, 66, A::Left)},
    Same("str_main_tilt_right", kLabelStyle, TwoLines(354, 412, 407, A::Right, 14, true)),
    Same("str_main_tilt_left", kLabelStyle, TwoLines(354, 412, 444, A::Right, 14, true)),
    Same("str_main_forward", kLabelStyle, TwoLines(443, 643, 530, A::Centre, 14, false)),
    Same("str_main_back", kLabelStyle, Line(480, 679, 349, A::Centre)),
    Same("str_main_thumb_side", kSmallStyle, Line(570, 710, 500, A::Centre)),
    Same("str_main_click_input", kSmallStyle, TwoLines(720, 990, 580, A::Centre, 13, false)),
}};

// Han characters, kana and full-width forms: a line may break between two of them.
bool IsCjk(char16_t c) {
  return (c >= 0x3040 && c <= 0x30FF) || (c >= 0x3400 && c <= 0x4DBF) ||
         (c >= 0x4E00 && c <= 0x9FFF) || (c >= 0xF900 && c <= 0xFAFF) ||
         (c >= 0xFF00 && c <= 0xFFEF);
}

// Punctuation that never begins a line.
bool ClosesLine(char16_t c) {
  return std::u16string_view(u"，。：；！？）、」』").find(c) != std::u16string_view::npos;
}

std::u16string_view Trimmed(std::u16string_view s) {
  while (!s.empty() && s.front() == u' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == u' ') s.remove_suffix(1);
  return s;
}

}  // namespace

const std::array<MainLabel, kMainLabelCount>& MainLabels() {
  return kLabels;
}

std::vector<std::u16string> WrapLabel(std::u16string_view text, int32_t width, int32_t lines,
                                      const TextWidthFn& measure) {
  text = Trimmed(text);
  if (lines < 2 || measure(text) <= width) return {std::u16string(text)};
  int32_t best = std::numeric_limits<int32_t>::max();
  std::vector<std::u16string> wrapped{std::u16string(text)};
  for (size_t i = 1; i < text.size(); ++i) {
    const bool space = text[i] == u' ';
    const bool between = IsCjk(text[i - 1]) && IsCjk(text[i]) && !ClosesLine(text[i]);
    if (!space && !between) continue;
    const std::u16string_view first = Trimmed(text.substr(0, i));
    const std::u16string_view second = Trimmed(text.substr(i));
    if (first.empty() || second.empty()) continue;
    const int32_t wider = std::max(measure(first), measure(second));
    if (wider < best) {
      best = wider;
      wrapped = {std::u16string(first), std::u16string(second)};
    }
  }
  return wrapped;
}

}  // namespace norvi
