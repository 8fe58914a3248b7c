#include "localisation/XmlParser.h"

#include <string>
#include <unordered_map>
#include <vector>

#include "localisation/XmlSyntax.h"
#include "model/Text.h"

namespace norvi {
namespace {

using xml::StartsWith;
constexpr size_t npos = std::u16string_view::npos;

// The account keeps this many messages; after them only a count, so its size does not grow
// with the input (a file of nothing but "<" would otherwise need 45 characters per byte).
constexpr size_t kMaxMessages = 32;
// A name quoted in a message is cut to this many characters: names can be as long as the file.
constexpr size_t kMaxQuotedName = 64;

bool IsNameStart(char16_t c) {
  return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || c == u'_' || c == u':' ||
         c >= 0x80;
}

std::u16string Number(size_t n) {
  return AsciiToUtf16(std::to_string(n));
}

std::u16string Quoted(std::u16string_view name) {
  const bool cut = name.size() > kMaxQuotedName;
  std::u16string quoted(1, u'\'');
  quoted.append(name.substr(0, kMaxQuotedName));
  if (cut) quoted.append(u"...");
  quoted.push_back(u'\'');
  return quoted;
}

class Parser {
 public:
  Parser(std::u16string_view text, ElemTable& table) : text_(text), table_(table) {}

  std::u16string Run() {
    table_.Reset(static_cast<uint32_t>(text_.size() / 64 + 8));
    if (text_.empty() && Report()) Keep(u"Empty document");
    size_t pos = 0;
    while ((pos = text_.find(u'<', pos)) != npos) pos = Markup(pos);
    while (open_.size() > 1) {
      const uint32_t index = open_.back().index;
      if (Report())
        Keep(u"Element " + Quoted(Name(index)) + u" at offset " + Number(table_[index].start) +
             u" not ended");
      Close(static_cast<uint32_t>(text_.size()), 0, elemflag::Unended);
    }
    const uint32_t root = table_[0].firstChild;
    if (!text_.empty() && root == 0 && Report()) Keep(u"No root element");
    if (root != 0 && table_[root].nextSibling != 0 && Report()) Keep(u"Root element has sibling");
    if (errors_ > kMaxMessages)
      messages_ += u"; " + Number(errors_ - kMaxMessages) + u" more errors";
    return std::move(messages_);
  }

 private:
  struct Open {
    uint32_t index;
    uint32_t lastChild;
  };

  // Handles the construct at text_[lt] == '<'; returns where scanning goes on.
  size_t Markup(size_t lt) {
    if (lt + 1 >= text_.size()) return Unterminated(u"tag", lt);
    switch (text_[lt + 1]) {
      case u'!': return Bang(lt);
      case u'?':
        return Closed(lt, lt + xml::kPiOpen.size(), xml::kPiClose, u"Processing instruction");
      case u'/': return EndTag(lt);
      default: return StartTag(lt);
    }
  }

  // Comments, CDATA sections and document type declarations.
  size_t Bang(size_t lt) {
    using xml::kCdataOpen, xml::kCommentOpen;
    const std::u16string_view rest = text_.substr(lt);
    if (StartsWith(text_, lt, kCommentOpen))
      return Closed(lt, lt + kCommentOpen.size(), xml::kCommentClose, u"Comment");
    if (StartsWith(text_, lt, kCdataOpen))
      return Closed(lt, lt + kCdataOpen.size(), xml::kCdataClose, u"CDATA Section");
    if (rest.size() < kCommentOpen.size() && StartsWith(kCommentOpen, 0, rest))
      return Unterminated(rest.size() == 2 ? u"tag" : u"Comment", lt);
    if (rest.size() < kCdataOpen.size() && StartsWith(kCdataOpen, 0, rest))
      return Unterminated(u"CDATA Section", lt);
    const char16_t c = text_[lt + 2];
    if (c == u'-') return Incorrect(u"comment tag", lt, lt + 2);
    if ((c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z')) return Doctype(lt);
    return Incorrect(u"! tag", lt, lt + 2);
  }

  // A declaration runs to the ">" outside quotes and outside its "[...]" subset.
  size_t Doctype(size_t lt) {
    int depth = 0;
    char16_t quote = 0;
    for (size_t i = lt + 2; i < text_.size(); ++i) {
      const char16_t c = text_[i];
      if (quote) {
        if (c == quote) quote = 0;
      } else if (c == u'"' || c == u'\'') {
        quote = c;
      } else if (c == u'[') {
        ++depth;
      } else if (c == u']') {
        if (depth > 0) --depth;
      } else if (c == u'>' && depth == 0) {
        return i + 1;
      }
    }
    return Unterminated(u"Doctype", lt);
  }

  size_t Closed(size_t lt, size_t from, std::u16string_view endMarker, std::u16string_view kind) {
    const size_t end = xml::SkipPast(text_, from, endMarker);
    return end == npos ? Unterminated(kind, lt) : end;
  }

  size_t StartTag(size_t lt) {
    if (!IsNameStart(text_[lt + 1])) return Incorrect(u"tag name character", lt, lt + 1);
    char16_t quote = 0;
    size_t i = xml::NameEnd(text_, lt + 1);
    for (; i < text_.size(); ++i) {
      const char16_t c = text_[i];
      if (quote) {
        if (c == quote) quote = 0;
      } else if (c == u'"' || c == u'\'') {
        quote = c;
      } else if (c == u'>') {
        break;
      } else if (c == u'<') {
        return Incorrect(u"tag", lt, i);  // cut short by the next tag
      }
    }
    if (i == text_.size()) return Unterminated(u"Element tag", lt);
    const size_t tagLength = i + 1 - lt;
    if (tagLength > ElemRecord::kStartTagMask) return Incorrect(u"tag", lt, i + 1);
    OpenElement(lt, tagLength, text_[i - 1] == u'/');
    return i + 1;
  }

  size_t EndTag(size_t lt) {
    const size_t nameEnd = xml::NameEnd(text_, lt + 2);
    size_t i = nameEnd;
    while (i < text_.size() && xml::IsSpace(text_[i])) ++i;
    if (i == text_.size()) return Unterminated(u"Element end tag", lt);
    if (nameEnd == lt + 2) return Incorrect(u"tag name character", lt, lt + 2);
    if (text_[i] != u'>' || i + 1 - lt > ElemRecord::kMaxEndTagLength)
      return Incorrect(u"tag", lt, i);
    CloseByName(text_.substr(lt + 2, nameEnd - lt - 2), lt, i + 1 - lt);
    return i + 1;
  }

  void OpenElement(size_t lt, size_t tagLength, bool empty) {
    ElemRecord record;
    record.start = static_cast<uint32_t>(lt);
    record.length = static_cast<uint32_t>(tagLength);
    record.tagLengths = static_cast<uint32_t>(tagLength);
    Open& parent = open_.back();
    record.parent = parent.index;
    record.prevSibling = parent.lastChild;
    const uint32_t index = table_.Add(record);
    if (parent.lastChild)
      table_[parent.lastChild].nextSibling = index;
    else
      table_[parent.index].firstChild = index;
    parent.lastChild = index;
    if (empty) return;
    open_.push_back({index, 0});
    ++openNames_[Name(index)];
  }

  // An end tag closes the innermost open element of its name; open elements inside that
  // one end where the end tag starts.
  void CloseByName(std::u16string_view name, size_t lt, size_t endLength) {
    const auto found = openNames_.find(name);
    if (found == openNames_.end() || found->second == 0) {
      if (Report()) Keep(u"No start tag for end tag " + Quoted(name) + u" at offset " + Number(lt));
      return;
    }
    const uint32_t innermost = open_.back().index;
    if (Name(innermost) != name)
      if (Report())
        Keep(u"End tag " + Quoted(name) + u" at offset " + Number(lt) +
             u" does not match start tag " + Quoted(Name(innermost)) + u" at offset " +
             Number(table_[innermost].start));
    while (Name(open_.back().index) != name) Close(static_cast<uint32_t>(lt), 0, elemflag::Unended);
    Close(static_cast<uint32_t>(lt + endLength), static_cast<uint32_t>(endLength), 0);
  }

  // Ends the innermost open element at end.
  void Close(uint32_t end, uint32_t endLength, uint32_t flags) {
    const uint32_t index = open_.back().index;
    --openNames_[Name(index)];
    open_.pop_back();
    ElemRecord& record = table_[index];
    record.length = end - record.start;
    record.tagLengths |= endLength << ElemRecord::kEndTagShift;
    record.flags |= flags;
  }

  std::u16string_view Name(uint32_t index) const {
    const size_t from = table_[index].start + 1;
    return text_.substr(from, xml::NameEnd(text_, from) - from);
  }

  size_t Unterminated(std::u16string_view kind, size_t lt) {
    if (Report()) Keep(std::u16string(kind) + u" at offset " + Number(lt) + u" unterminated");
    return npos;  // the construct ran to the end of the text
  }

  size_t Incorrect(std::u16string_view what, size_t lt, size_t resume) {
    if (Report()) Keep(u"Incorrect " + std::u16string(what) + u" at offset " + Number(lt));
    return resume;
  }

  // Marks the document not well-formed; true while the account still takes messages, so
  // that a message past the limit is not even built.
  bool Report() {
    table_[0].flags |= elemflag::NotWellFormed;
    return ++errors_ <= kMaxMessages;
  }

  void Keep(const std::u16string& message) {
    if (!messages_.empty()) messages_ += u"; ";
    messages_ += message;
  }

  std::u16string_view text_;
  ElemTable& table_;
  std::vector<Open> open_{{0, 0}};
  // How many open elements carry each name: finds a missing start tag without a walk.
  std::unordered_map<std::u16string_view, uint32_t> openNames_;
  std::u16string messages_;
  size_t errors_ = 0;
};

}  // namespace

std::u16string ParseElements(std::u16string_view text, ElemTable& table) {
  return Parser(text, table).Run();
}

}  // namespace norvi
