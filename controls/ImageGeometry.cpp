#include "controls/ImageGeometry.h"

namespace norvi {

std::array<NineGridPiece, 9> NineGridPieces(const EdgeRect& d, const PixelRect& s, int c) {
  const int L = d.left, T = d.top, R = d.right, B = d.bottom;
  const int midW = R - L - 2 * c, midH = B - T - 2 * c;
  const int srcMidW = s.width - 2 * c, srcMidH = s.height - 2 * c;
  const int srcRight = s.x + s.width - c, srcBottom = s.y + s.height - c;
  return {{
      {{L, T, c, c}, {s.x, s.y, c, c}},                                    // top-left
      {{L, T + c, c, midH}, {s.x, s.y + c, c, srcMidH}},                   // left edge
      {{L, B - c, c, c}, {s.x, srcBottom, c, c}},                          // bottom-left
      {{L + c, T, midW, c}, {s.x + c, s.y, srcMidW, c}},                   // top edge
      {{R - c, T, c, c}, {srcRight, s.y, c, c}},                           // top-right
      {{R - c, T + c, c, midH}, {srcRight, s.y + c, c, srcMidH}},          // right edge
      {{R - c, B - c, c, c}, {srcRight, srcBottom, c, c}},                 // bottom-right
      {{L + c, B - c, midW, c}, {s.x + c, srcBottom, srcMidW, c}},         // bottom edge
      {{L + c, T + c, midW, midH}, {s.x + c, s.y + c, srcMidW, srcMidH}},  // centre
  }};
}

ButtonLook ChooseButtonLook(bool toggleMode, bool checked, bool pressed, bool hovered,
                            bool disabled) {
  if (toggleMode ? checked : pressed) return ButtonLook::Down;
  if (hovered) return ButtonLook::Over;
  if (disabled) return ButtonLook::Disabled;
  return ButtonLook::Normal;
}

EdgeRect CaptionRect(int clientWidth, int clientHeight, int textHeight) {
  return {8, clientHeight / 2 - textHeight / 2, clientWidth - 5, clientHeight};
}

}  // namespace norvi
