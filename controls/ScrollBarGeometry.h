#pragma once
// Portable geometry of the skinned scroll bars: where the arrows, the two track parts and the
// thumb lie along a bar, which part a point hits, where a dragged thumb puts the position, and
// how the frame around a control places its clipping window and corner cell.

#include "controls/ImageGeometry.h"

namespace norvi {

// Parts of a bar; the values are the system's scroll codes sent for them.
enum ScrollPart : int {
  kPartNone = -1,
  kPartLineUp = 0,    // first arrow
  kPartLineDown = 1,  // second arrow
  kPartPageUp = 2,    // track before the thumb
  kPartPageDown = 3,  // track after the thumb
  kPartThumb = 5,
};
constexpr int kCodeThumbPosition = 4;  // sent once when a thumb drag ends
constexpr int kCodeThumbTrack = 5;     // sent for every move of a dragged thumb

// Skin cell columns and state rows.
constexpr int kSkinColumns = 9;
constexpr int kFirstHorizontalColumn = 4;  // vertical bar: 0..3, horizontal bar: 4..7
constexpr int kCornerColumn = 8;
enum SkinRow : int { kRowNormal = 0, kRowHot = 1, kRowPressed = 2 };

struct ScrollState {
  int minimum = 0;
  int maximum = 0;
  int page = 0;
  int position = 0;
  bool operator==(const ScrollState&) const = default;
};

// The positions a thumb can take beyond the minimum: range + 1 - page, and 0 when the page
// covers the whole range (never negative).
int FreeRange(const ScrollState& state);

// The highest position the thumb can reach: maximum - page + 1 (maximum for a page of 0).
// Auto-repeat stops there and a drag is limited to it.
int HighestPosition(const ScrollState& state);

struct BarSpan {  // [begin, end) along the bar
  int begin = 0;
  int end = 0;
  bool operator==(const BarSpan&) const = default;
  bool Empty() const { return end <= begin; }
  bool Contains(int x) const { return x >= begin && x < end; }
};

struct BarLayout {
  int length = 0;  // L
  int arrow = 0;   // each arrow
  int track = 0;   // both track parts and the thumb together
  int thumb = 0;
  int offset = 0;  // of the thumb from the end of the first arrow
  // The span of a part (kPartNone: empty).
  BarSpan Part(int part) const;
};

// The layout a bar of `length` with cells of `cell` pixels draws for `state`, with the thumb at
// `position` (the drag position while dragging, else the state's position).
BarLayout LayoutScrollBar(int length, int cell, const ScrollState& state, int position);

// The part under `coordinate` along the bar; kPartNone before the start or past the end.
// A hit test knows the thumb even where the drawing leaves it out (no free range).
int HitTestScrollBar(int length, int cell, const ScrollState& state, int position, int coordinate);

// The position a thumb drag gives after moving `delta` pixels from where it started at
// `startPosition`, limited to the positions the state allows.
int DragScrollPosition(int length, int cell, const ScrollState& state, int startPosition,
                       int delta);

// Where the clipping window goes inside the frame's client area: a vertical bar takes s on its
// side, a visible horizontal bar s at the bottom.
EdgeRect ClippingRect(int clientWidth, int clientHeight, int cell, bool vertical,
                      bool leftScrollBar, bool horizontalVisible);

// The corner cell between two bars: mode 1 at the bottom left from the hot row, mode 2 at the
// bottom right from the normal row, mode 0 none. `row` receives the skin row.
enum CornerMode : int { kNoCorner = 0, kCornerLeft = 1, kCornerRight = 2 };
int CornerModeFor(bool vertical, bool horizontal, bool leftScrollBar);
EdgeRect CornerRect(int mode, int clientWidth, int clientHeight, int cell, int& row);

}  // namespace norvi
