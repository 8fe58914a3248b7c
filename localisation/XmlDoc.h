#pragma once
// A small read-only XML document: the whole file decoded into one UTF-16 text, its elements
// indexed in one flat table of offsets, and a position (parent, current, child) that the
// caller moves through the tree. Never throws; problems only show in the result text.

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "localisation/ElemTable.h"

namespace norvi {

namespace docflag {
constexpr uint32_t Utf16LE = 0x1;
constexpr uint32_t Utf8Mark = 0x4;
constexpr uint32_t IgnoreCase = 0x8;  // reserved: names are always compared with case
constexpr uint32_t Reading = 0x10;
constexpr uint32_t Utf16BE = 0x80;
}  // namespace docflag

class XmlDoc {
 public:
  XmlDoc();

  // Reads, decodes and indexes a file. False when it cannot be read, is larger than the
  // reader takes or does not fit in memory: the document is then empty, the result text holds
  // the system's reason and LoadError its number.
  bool LoadFile(std::u16string_view path);
  // The same for a file's bytes already in memory.
  void LoadBytes(std::span<const std::byte> bytes);
  // Indexes text that is already decoded.
  void SetText(std::u16string text);
  // The system error of the last load; 0 when the document was loaded.
  uint32_t LoadError() const { return loadError_; }

  void Rewind();
  // Among the children of parent, the next element after current named name (any
  // element for an empty name) becomes current.
  bool FindSibling(std::u16string_view name);
  // Among the children of current (the root element when there is none yet), the next
  // element after child named name becomes child.
  bool FindChild(std::u16string_view name);
  // Moves down one level: current becomes parent, child becomes current.
  bool EnterChild();
  // Text content of child; empty when child is 0 or has child elements, or when there is no
  // memory for it.
  std::u16string ChildText() const;

  uint32_t Parent() const { return parent_; }
  uint32_t Current() const { return current_; }
  uint32_t Child() const { return child_; }

  const std::u16string& Text() const { return text_; }
  const std::u16string& Result() const { return result_; }
  uint32_t Flags() const { return flags_; }
  bool WellFormed() const { return !(elements_[0].flags & elemflag::NotWellFormed); }

  // Records, 0 being the document itself; Record needs an index below RecordCount.
  uint32_t RecordCount() const { return elements_.size(); }
  const ElemRecord& Record(uint32_t index) const { return elements_[index]; }
  // Both are empty for record 0 and for an index past the table.
  std::u16string_view TagName(uint32_t index) const;
  std::u16string ElementText(uint32_t index) const;

 private:
  void Load(std::span<const std::byte> bytes);
  void Fail(uint32_t error) noexcept;
  void Decode(std::span<const std::byte> bytes);
  void DecodeUtf16(std::span<const std::byte> bytes, bool bigEndian);
  void Decode8Bit(std::span<const std::byte> bytes, std::u16string encoding);
  void Parse();
  bool NameMatches(uint32_t index, std::u16string_view name) const;
  uint32_t FindAfter(uint32_t parent, uint32_t after, std::u16string_view name) const;

  std::u16string text_;
  std::u16string result_;
  uint32_t flags_ = 0;
  uint32_t loadError_ = 0;
  ElemTable elements_;
  uint32_t parent_ = 0, current_ = 0, child_ = 0;
};

}  // namespace norvi
