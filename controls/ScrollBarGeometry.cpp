#include "controls/ScrollBarGeometry.h"

#include <algorithm>

namespace norvi {
namespace {

constexpr int kMinimumThumb = 6;

int TrackLength(int length, int cell) {
  return std::max(0, length - 2 * cell);
}

// page * track / (range + 1), never longer than the track.
int ProportionalThumb(const ScrollState& state, int track) {
  const long long span = static_cast<long long>(state.maximum) - state.minimum + 1;
  if (span <= 0 || state.page <= 0) return 0;
  return static_cast<int>(
      std::min<long long>(track, state.page * static_cast<long long>(track) / span));
}

// The thumb a hit test and a drag work with: at least 6 pixels whenever the track has room.
int ReachableThumb(const ScrollState& state, int track) {
  if (track < kMinimumThumb) return 0;
  return std::max(kMinimumThumb, ProportionalThumb(state, track));
}

int ThumbOffset(const ScrollState& state, int track, int thumb, int position) {
  const int free = FreeRange(state);
  const int room = track - thumb;
  if (free == 0) return room / 2;
  const long long relative = static_cast<long long>(position) - state.minimum;
  return static_cast<int>(std::clamp<long long>(relative * room / free, 0, room));
}

int PartAt(const BarLayout& layout, int coordinate) {
  for (int part : {kPartLineUp, kPartPageUp, kPartThumb, kPartPageDown, kPartLineDown}) {
    if (layout.Part(part).Contains(coordinate)) return part;
  }
  return kPartNone;
}

}  // namespace

int FreeRange(const ScrollState& state) {
  const long long free = static_cast<long long>(state.maximum) - state.minimum - state.page + 1;
  return free > 0 ? static_cast<int>(free) : 0;
}

int HighestPosition(const ScrollState& state) {
  const long long highest = static_cast<long long>(state.maximum) - std::max(state.page, 1) + 1;
  return static_cast<int>(std::max<long long>(state.minimum, highest));
}

BarSpan BarLayout::Part(int part) const {
  const int thumbStart = arrow + offset;
  switch (part) {
    case kPartLineUp: return {0, arrow};
    case kPartPageUp: return {arrow, thumbStart};
    case kPartThumb: return {thumbStart, thumbStart + thumb};
    case kPartPageDown: return {thumbStart + thumb, length - arrow};
    case kPartLineDown: return {length - arrow, length};
    default: return {};
  }
}

BarLayout LayoutScrollBar(int length, int cell, const ScrollState& state, int position) {
  BarLayout layout;
  layout.length = std::max(0, length);
  layout.arrow = layout.length - 2 * cell > 0 ? cell : layout.length / 2;
  layout.track = TrackLength(layout.length, cell);
  const bool drawn = FreeRange(state) != 0 && layout.track >= kMinimumThumb;
  layout.thumb = drawn ? ReachableThumb(state, layout.track) : 0;
  layout.offset = ThumbOffset(state, layout.track, layout.thumb, position);
  return layout;
}

int HitTestScrollBar(int length, int cell, const ScrollState& state, int position, int coordinate) {
  BarLayout layout = LayoutScrollBar(length, cell, state, position);
  layout.thumb = ReachableThumb(state, layout.track);
  layout.offset = ThumbOffset(state, layout.track, layout.thumb, position);
  return PartAt(layout, coordinate);
}

int DragScrollPosition(int length, int cell, const ScrollState& state, int startPosition,
                       int delta) {
  const int track = TrackLength(length, cell);
  const int movable = track - ReachableThumb(state, track);
  const int free = FreeRange(state);
  const long long moved = movable ? static_cast<long long>(delta) * free / movable : 0;
  return static_cast<int>(
      std::clamp<long long>(moved + startPosition, state.minimum, HighestPosition(state)));
}

EdgeRect ClippingRect(int clientWidth, int clientHeight, int cell, bool vertical,
                      bool leftScrollBar, bool horizontalVisible) {
  EdgeRect r{0, 0, clientWidth, clientHeight};
  if (horizontalVisible) r.bottom -= cell;
  if (vertical && leftScrollBar) r.left = cell;
  if (vertical && !leftScrollBar) r.right -= cell;
  return r;
}

int CornerModeFor(bool vertical, bool horizontal, bool leftScrollBar) {
  if (!vertical || !horizontal) return kNoCorner;
  return leftScrollBar ? kCornerLeft : kCornerRight;
}

EdgeRect CornerRect(int mode, int clientWidth, int clientHeight, int cell, int& row) {
  row = mode == kCornerLeft ? kRowHot : kRowNormal;
  const int top = clientHeight - cell;
  if (mode == kCornerLeft) return {0, top, cell, clientHeight};
  if (mode == kCornerRight) return {clientWidth - cell, top, clientWidth, clientHeight};
  return {};
}

}  // namespace norvi
