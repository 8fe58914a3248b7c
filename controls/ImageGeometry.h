#pragma once
// Portable geometry of the image helpers: the nine pieces of a nine-grid frame, the tiles of a
// tiled fill, and the look a skinned button shows for its state.

#include <array>

namespace norvi {

struct PixelRect {
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  bool operator==(const PixelRect&) const = default;
  bool Empty() const { return width <= 0 || height <= 0; }
};

struct EdgeRect {  // left, top, right, bottom
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
  bool operator==(const EdgeRect&) const = default;
};

struct NineGridPiece {
  PixelRect destination;
  PixelRect source;
};

// The pieces of a nine-grid draw in drawing order: top-left, left edge, bottom-left, top edge,
// top-right, right edge, bottom-right, bottom edge, centre. Corners keep `corner` x `corner`
// pixels; edges and centre stretch. A destination smaller than two corners gives pieces of
// negative size, which are not drawn.
std::array<NineGridPiece, 9> NineGridPieces(const EdgeRect& destination, const PixelRect& source,
                                            int corner);

// Calls copy(PixelRect destinationTile) for each tile that fills `destination` with cells of
// cellWidth x cellHeight, row by row from the top left; tiles at the right and bottom are cut to
// what is left. The source of every tile is the cell's top left.
template <typename Copy>
void ForEachTile(const EdgeRect& destination, int cellWidth, int cellHeight, Copy copy) {
  if (destination.top >= destination.bottom || cellWidth <= 0 || cellHeight <= 0) return;
  for (int y = destination.top; y < destination.bottom; y += cellHeight) {
    const int h = destination.bottom - y < cellHeight ? destination.bottom - y : cellHeight;
    for (int x = destination.left; x < destination.right; x += cellWidth) {
      const int w = destination.right - x < cellWidth ? destination.right - x : cellWidth;
      copy(PixelRect{x, y, w, h});
    }
  }
}

// The picture a skinned button shows, first match wins: pressed look (toggle mode: checked,
// else pressed), hovered, disabled, normal.
enum class ButtonLook { Down, Over, Disabled, Normal };
ButtonLook ChooseButtonLook(bool toggleMode, bool checked, bool pressed, bool hovered,
                            bool disabled);

// Where a button's caption goes: the client rectangle from left + 8 to right - 5, with its top
// at the vertical centre of the measured text.
EdgeRect CaptionRect(int clientWidth, int clientHeight, int textHeight);

}  // namespace norvi
