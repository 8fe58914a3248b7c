#include "app/SliderGeometry.h"

#include <algorithm>

namespace norvi {
namespace {

int32_t Limit(int32_t value, SliderRange range) {
  return std::clamp(value, range.minimum, std::max(range.minimum, range.maximum));
}

// Room the thumb's left edge can travel; never negative, even for a thumb wider than the bar.
int32_t Room(ThumbTrack track) {
  return std::max(0, track.maxX - track.minX - track.thumbWidth);
}

}  // namespace

int32_t AcceptedValue(int32_t value, SliderRange range) {
  return value < range.minimum || value > range.maximum ? range.minimum : value;
}

int32_t ThumbLeft(int32_t value, SliderRange range, ThumbTrack track) {
  const int32_t steps = range.maximum - range.minimum;
  if (steps <= 0) return track.minX;
  const auto offset = static_cast<uint32_t>(Room(track)) *
                      static_cast<uint32_t>(AcceptedValue(value, range) - range.minimum) /
                      static_cast<uint32_t>(steps);
  return static_cast<int32_t>(offset) + track.minX;
}

int32_t ValueAtClick(int32_t ownerX, int32_t travelLeft, int32_t travelRight, SliderRange range) {
  const int32_t d = ownerX - travelLeft;
  const int32_t span = travelRight - travelLeft;
  if (span <= 0) return d < 0 ? range.minimum : range.maximum;
  return Limit(range.minimum + d * (range.maximum - range.minimum) / span, range);
}

int32_t DraggedThumbLeft(int32_t startLeft, int32_t dx, ThumbTrack track) {
  return std::clamp(startLeft + dx, track.minX, track.minX + Room(track));
}

int32_t ValueAtThumbLeft(int32_t left, SliderRange range, ThumbTrack track) {
  const int32_t room = Room(track);
  if (room == 0) return range.minimum;
  return Limit(range.minimum + (range.maximum - range.minimum) * (left - track.minX) / room, range);
}

}  // namespace norvi
