#pragma once
// The flat table of element records: indices, not pointers, so a record's place never
// matters. Records live in segments of 65,536; the high 16 bits of an index select the
// segment and the low 16 bits the record.

#include <cstdint>
#include <vector>

namespace norvi {

struct ElemRecord {
  uint32_t start = 0;       // index of the element's "<" in the document text
  uint32_t length = 0;      // from "<" through the end of the end tag (or empty-element tag)
  uint32_t tagLengths = 0;  // low 22 bits: start tag length; high 10 bits: end tag length
  uint32_t flags = 0;       // elemflag bits
  uint32_t parent = 0;
  uint32_t firstChild = 0;
  uint32_t nextSibling = 0;
  uint32_t prevSibling = 0;

  uint32_t StartTagLength() const { return tagLengths & kStartTagMask; }
  uint32_t EndTagLength() const { return tagLengths >> kEndTagShift; }

  static constexpr uint32_t kEndTagShift = 22;
  static constexpr uint32_t kStartTagMask = (1u << kEndTagShift) - 1;
  static constexpr uint32_t kMaxEndTagLength = (1u << (32 - kEndTagShift)) - 1;
};

namespace elemflag {
constexpr uint32_t Unended = 0x1;        // never closed by its own end tag
constexpr uint32_t NotWellFormed = 0x2;  // record 0 only: the document has errors
}  // namespace elemflag

class ElemTable {
 public:
  static constexpr uint32_t kSegmentBits = 16;
  static constexpr uint32_t kSegmentSize = 1u << kSegmentBits;

  // Drops every record but a fresh record 0 and makes room for capacity records.
  void Reset(uint32_t capacity);
  // Appends a record; returns its index.
  uint32_t Add(const ElemRecord& record);

  uint32_t size() const { return size_; }
  ElemRecord& operator[](uint32_t index) {
    return segments_[index >> kSegmentBits][index & (kSegmentSize - 1)];
  }
  const ElemRecord& operator[](uint32_t index) const {
    return segments_[index >> kSegmentBits][index & (kSegmentSize - 1)];
  }

 private:
  std::vector<std::vector<ElemRecord>> segments_;
  uint32_t size_ = 0;
};

}  // namespace norvi
