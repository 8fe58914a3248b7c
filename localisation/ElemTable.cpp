#include "localisation/ElemTable.h"

#include <algorithm>

namespace norvi {

void ElemTable::Reset(uint32_t capacity) {
  segments_.clear();
  size_ = 0;
  capacity = std::max<uint32_t>(capacity, 1);
  for (uint32_t left = capacity; left > 0; left -= std::min(left, kSegmentSize)) {
    segments_.emplace_back();
    segments_.back().reserve(std::min(left, kSegmentSize));
  }
  Add(ElemRecord{});
}

uint32_t ElemTable::Add(const ElemRecord& record) {
  const uint32_t segment = size_ >> kSegmentBits;
  if (segment == segments_.size()) {
    segments_.emplace_back();
    segments_.back().reserve(kSegmentSize);
  }
  segments_[segment].push_back(record);
  return size_++;
}

}  // namespace norvi
