#pragma once
// Geometry of the PNG slider: where the thumb sits for a value, and which value a click on
// the bar or a drag of the thumb means. Portable.

#include <cstdint>

namespace norvi {

struct SliderRange {
  int32_t minimum;
  int32_t maximum;
};

// The thumb's horizontal room inside the bar, in bar coordinates.
struct ThumbTrack {
  int32_t minX;
  int32_t maxX;
  int32_t thumbWidth;
};

// SetPos: a value outside the range becomes the minimum.
int32_t AcceptedValue(int32_t value, SliderRange range);

// Left edge of the thumb for an accepted value.
int32_t ThumbLeft(int32_t value, SliderRange range, ThumbTrack track);

// Value of a click at ownerX (owner client coordinates) on a bar whose travel runs from
// travelLeft to travelRight; limited to the range.
int32_t ValueAtClick(int32_t ownerX, int32_t travelLeft, int32_t travelRight, SliderRange range);

// Thumb left edge after a drag of dx from startLeft, kept inside the track.
int32_t DraggedThumbLeft(int32_t startLeft, int32_t dx, ThumbTrack track);

// Value of a thumb whose left edge is at left; limited to the range.
int32_t ValueAtThumbLeft(int32_t left, SliderRange range, ThumbTrack track);

}  // namespace norvi
