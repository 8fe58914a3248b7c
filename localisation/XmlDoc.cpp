#include "localisation/XmlDoc.h"

#include <algorithm>
#include <array>
#include <exception>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "localisation/CodePage.h"
#include "localisation/XmlEncoding.h"
#include "localisation/XmlParser.h"
#include "localisation/XmlSyntax.h"
#include "localisation/XmlText.h"
#include "model/FileIO.h"
#include "model/Text.h"

namespace norvi {
namespace {

constexpr size_t kHeadBytes = 1024;  // where the byte order mark and declaration are sought
constexpr size_t kFirstReadBytes = 64 * 1024;
// A thousand times any language file, and small enough that the bytes, their UTF-16 text and
// the element table fit a 32-bit process together.
constexpr size_t kMaxFileBytes = size_t{64} << 20;
constexpr uint32_t kUtf8CodePage = 65001;
constexpr uint32_t kUtf16LECodePage = 1200;
constexpr uint32_t kUtf16BECodePage = 1201;

struct ByteOrderMark {
  std::array<uint8_t, 3> bytes;
  size_t size;
  std::u16string_view encoding;
  uint32_t flag;
};

constexpr ByteOrderMark kMarks[] = {
    {{0xEF, 0xBB, 0xBF}, 3, u"UTF-8", docflag::Utf8Mark},
    {{0xFF, 0xFE, 0}, 2, u"UTF-16LE", docflag::Utf16LE},
    {{0xFE, 0xFF, 0}, 2, u"UTF-16BE", docflag::Utf16BE},
};

const ByteOrderMark* FindMark(std::span<const std::byte> bytes) {
  for (const ByteOrderMark& mark : kMarks) {
    if (bytes.size() < mark.size) continue;
    if (std::equal(mark.bytes.begin(), mark.bytes.begin() + mark.size, bytes.begin(),
                   [](uint8_t m, std::byte b) { return m == static_cast<uint8_t>(b); }))
      return &mark;
  }
  return nullptr;
}

std::string_view AsChars(std::span<const std::byte> bytes) {
  return {reinterpret_cast<const char*>(bytes.data()), bytes.size()};
}

std::u16string Phrase(std::u16string_view before, size_t n, std::u16string_view after) {
  return std::u16string(before) + AsciiToUtf16(std::to_string(n)) + std::u16string(after);
}

// The whole file: the buffer grows until a read no longer fills it.
FileResult ReadWholeFile(std::u16string_view path, std::vector<std::byte>& bytes) {
  bytes.resize(kFirstReadBytes);
  for (;;) {
    const FileResult read = ReadFilePrefix(path, bytes);
    if (!read.ok()) return read;
    if (read.bytes < bytes.size()) {
      bytes.resize(read.bytes);
      return read;
    }
    if (bytes.size() >= kMaxFileBytes) return {syserr::FileTooLarge, 0};
    bytes.resize(std::min(bytes.size() * 2, kMaxFileBytes));
  }
}

}  // namespace

XmlDoc::XmlDoc() {
  elements_.Reset(0);
}

bool XmlDoc::LoadFile(std::u16string_view path) {
  flags_ = docflag::Reading;
  loadError_ = syserr::Success;
  try {
    std::vector<std::byte> bytes;
    const FileResult read = ReadWholeFile(path, bytes);
    if (!read.ok()) {
      Fail(read.error);
      return false;
    }
    Load(bytes);
    return true;
  } catch (const std::exception&) {  // out of memory: nothing of the file is kept
    Fail(syserr::NotEnoughMemory);
    return false;
  }
}

void XmlDoc::LoadBytes(std::span<const std::byte> bytes) {
  flags_ = docflag::Reading;
  loadError_ = syserr::Success;
  try {
    Load(bytes);
  } catch (const std::exception&) {
    Fail(syserr::NotEnoughMemory);
  }
}

void XmlDoc::SetText(std::u16string text) {
  flags_ = 0;
  loadError_ = syserr::Success;
  try {
    result_.clear();
    text_ = std::move(text);
    Parse();
  } catch (const std::exception&) {
    Fail(syserr::NotEnoughMemory);
  }
}

void XmlDoc::Load(std::span<const std::byte> bytes) {
  text_.clear();
  result_.clear();
  Decode(bytes);
  Parse();
  flags_ &= ~docflag::Reading;
}

void XmlDoc::Fail(uint32_t error) noexcept {
  // Freeing first leaves room for the short account.
  std::u16string().swap(text_);
  std::u16string().swap(result_);
  elements_.Reset(0);
  Rewind();
  flags_ = 0;
  loadError_ = error;
  try {
    result_ = SystemErrorText(error);
  } catch (const std::exception&) {
    // The account stays empty; the error number still tells.
  }
}

void XmlDoc::Decode(std::span<const std::byte> bytes) {
  const ByteOrderMark* mark = FindMark(bytes);
  std::u16string encoding;
  if (mark) {
    flags_ |= mark->flag;
    encoding = mark->encoding;
    bytes = bytes.subspan(mark->size);
  } else {
    encoding =
        DeclaredEncoding(Utf8ToUtf16(AsChars(bytes.first(std::min(bytes.size(), kHeadBytes)))));
    if (encoding.empty() && !bytes.empty() && bytes[0] == std::byte{'<'}) encoding = u"UTF-8";
  }
  result_ = encoding.empty() ? u"ANSI " : encoding + (mark ? u" BOM + " : u" ");
  if (bytes.empty()) {
    result_ += u"0 length ";
    return;
  }
  if (flags_ & (docflag::Utf16LE | docflag::Utf16BE))
    DecodeUtf16(bytes, flags_ & docflag::Utf16BE);
  else
    Decode8Bit(bytes, std::move(encoding));
  result_ += Phrase(u"to ", text_.size(), u" wide chars ");
}

void XmlDoc::DecodeUtf16(std::span<const std::byte> bytes, bool bigEndian) {
  const size_t units = bytes.size() / 2;  // a lone last byte is no character
  result_ += Phrase(u"length ", units, u" ");
  text_.resize(units);
  for (size_t i = 0; i < units; ++i) {
    const auto first = static_cast<char16_t>(bytes[2 * i]);
    const auto second = static_cast<char16_t>(bytes[2 * i + 1]);
    text_[i] = bigEndian ? (first << 8 | second) : (second << 8 | first);
  }
  text_.erase(std::remove(text_.begin(), text_.end(), u'\0'), text_.end());
  if (text_.size() != units) result_ += Phrase(u"(", units - text_.size(), u" nulls removed) ");
  if (bigEndian) result_ += u"endian swap ";
}

void XmlDoc::Decode8Bit(std::span<const std::byte> bytes, std::u16string encoding) {
  result_ += Phrase(u"length ", bytes.size(), u" ");
  std::string_view chars = AsChars(bytes);
  std::string withoutNulls;  // a copy only when there is something to remove
  if (const size_t nulls = std::count(chars.begin(), chars.end(), '\0')) {
    withoutNulls.reserve(chars.size() - nulls);
    std::remove_copy(chars.begin(), chars.end(), std::back_inserter(withoutNulls), '\0');
    chars = withoutNulls;
    result_ += Phrase(u"(", nulls, u" nulls removed) ");
  }
  if (encoding.empty()) {
    if (IsValidUtf8(chars)) encoding = u"UTF-8";
    result_ += u"(used UTF-8 detection) ";
  }
  uint32_t codePage = kAnsiCodePage;
  if (!encoding.empty()) {
    const std::optional<uint32_t> known = CodePageOfEncoding(encoding);
    if (known)
      codePage = *known;
    else
      result_ += u"(unknown encoding name, system code page used) ";
  }
  if (codePage == kUtf8CodePage) {
    text_ = Utf8ToUtf16(chars);
    return;
  }
  // UTF-16 cannot be 8-bit text; like any code page the system lacks, it falls back to ANSI.
  const bool wide = codePage == kUtf16LECodePage || codePage == kUtf16BECodePage;
  if (wide || !CodePageToUtf16(codePage, chars, text_)) {
    result_ += Phrase(u"(no converter for code page ", codePage, u") ");
    CodePageToUtf16(kAnsiCodePage, chars, text_);
  }
}

void XmlDoc::Parse() {
  Rewind();
  const std::u16string messages = ParseElements(text_, elements_);
  if (messages.empty()) return;
  if (!result_.empty() && result_.back() != u' ') result_ += u' ';
  result_ += messages;
}

void XmlDoc::Rewind() {
  parent_ = current_ = child_ = 0;
}

bool XmlDoc::FindSibling(std::u16string_view name) {
  if (elements_.size() <= 1) return false;
  const uint32_t found = FindAfter(parent_, current_, name);
  if (!found) return false;
  current_ = found;
  child_ = 0;
  return true;
}

bool XmlDoc::FindChild(std::u16string_view name) {
  const uint32_t parent = parent_, current = current_, child = child_;
  if (current_ == 0 && !FindSibling(u"")) return false;
  const uint32_t found = FindAfter(current_, child_, name);
  if (!found) {
    parent_ = parent;
    current_ = current;
    child_ = child;
    return false;
  }
  child_ = found;
  current_ = elements_[found].parent;
  parent_ = elements_[current_].parent;
  return true;
}

bool XmlDoc::EnterChild() {
  if (current_ == 0) return false;
  parent_ = current_;
  current_ = child_;
  child_ = 0;
  return true;
}

std::u16string XmlDoc::ChildText() const {
  return child_ ? ElementText(child_) : u"";
}

std::u16string_view XmlDoc::TagName(uint32_t index) const {
  if (index == 0 || index >= elements_.size()) return {};
  const std::u16string_view text(text_);
  const size_t from = elements_[index].start + 1;
  return text.substr(from, xml::NameEnd(text, from) - from);
}

std::u16string XmlDoc::ElementText(uint32_t index) const {
  if (index == 0 || index >= elements_.size()) return {};
  const ElemRecord& r = elements_[index];
  if (r.firstChild || r.StartTagLength() >= r.length) return {};
  const size_t from = r.start + r.StartTagLength();
  const size_t to = r.start + r.length - r.EndTagLength();
  try {
    return xml::ContentText(std::u16string_view(text_).substr(from, to > from ? to - from : 0));
  } catch (const std::exception&) {  // no memory for a copy: the text is as good as absent
    return {};
  }
}

// The tag name must end where the searched name ends or goes on with one of " =/[]".
bool XmlDoc::NameMatches(uint32_t index, std::u16string_view name) const {
  if (name.empty()) return true;
  const std::u16string_view tag = std::u16string_view(text_).substr(elements_[index].start + 1);
  size_t i = 0;
  while (i < name.size() && i < tag.size() && tag[i] == name[i] && !xml::EndsName(tag[i])) ++i;
  if (i < tag.size() && !xml::EndsName(tag[i])) return false;
  return i == name.size() ||
         std::u16string_view(u" =/[]").find(name[i]) != std::u16string_view::npos;
}

uint32_t XmlDoc::FindAfter(uint32_t parent, uint32_t after, std::u16string_view name) const {
  uint32_t i = after ? elements_[after].nextSibling : elements_[parent].firstChild;
  while (i && !NameMatches(i, name)) i = elements_[i].nextSibling;
  return i;
}

}  // namespace norvi
