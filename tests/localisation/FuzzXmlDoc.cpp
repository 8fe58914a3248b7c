// Any bytes load as a document whose records stay inside the text and form a tree, with an
// account of the load that stays within a small multiple of the input; reading every element
// and looking up every language key neither crashes nor hangs.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "localisation/StringTable.h"
#include "localisation/XmlDoc.h"
#include "model/Text.h"

namespace {

// The account's fixed part: encoding name (at most the head), counts, and the kept messages.
constexpr size_t kAccountAllowance = 16 * 1024;

// A link is empty or points forward to an existing record.
bool ForwardLink(uint32_t link, uint32_t from, uint32_t count) {
  return link == 0 || (link > from && link < count);
}

void CheckRecords(const norvi::XmlDoc& doc) {
  const uint32_t count = doc.RecordCount();
  const size_t textSize = doc.Text().size();
  for (uint32_t i = 1; i < count; ++i) {
    const norvi::ElemRecord& r = doc.Record(i);
    const bool inside =
        size_t{r.start} + r.length <= textSize && r.StartTagLength() + r.EndTagLength() <= r.length;
    const bool linked = r.parent < i && r.prevSibling < i && ForwardLink(r.firstChild, i, count) &&
                        ForwardLink(r.nextSibling, i, count);
    if (!inside || !linked) std::abort();
    if (doc.TagName(i).empty()) std::abort();
    (void)doc.ElementText(i);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  norvi::XmlDoc doc;
  doc.LoadBytes({reinterpret_cast<const std::byte*>(data), size});
  CheckRecords(doc);
  if (doc.Result().size() > 2 * size + kAccountAllowance) std::abort();
  size_t found = 0;
  for (std::string_view key : norvi::kLanguageKeys)
    found += norvi::LookupKey(doc, norvi::kLanguageKeyParent, norvi::AsciiToUtf16(key)).size();
  doc.Rewind();
  while (doc.FindChild(u"")) ++found;
  return found > size * 16 ? 1 : 0;
}
