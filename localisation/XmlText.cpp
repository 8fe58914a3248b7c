#include "localisation/XmlText.h"

#include <algorithm>
#include <array>

#include "localisation/XmlSyntax.h"
#include "model/Text.h"

namespace norvi::xml {
namespace {

constexpr size_t kMaxReferenceLength = 9;  // characters between "&" and ";"
constexpr size_t kEntityBuckets = 130;

struct Entity {
  std::u16string_view name;
  uint32_t codePoint;
};

// The character entities of HTML 4 in the order of its definitions, and "apos".
// clang-format off
constexpr Entity kEntities[] = {
    {u"nbsp", 160}, {u"iexcl", 161}, {u"cent", 162}, {u"pound", 163}, {u"curren", 164},
    {u"yen", 165}, {u"brvbar", 166}, {u"sect", 167}, {u"uml", 168}, {u"copy", 169}, {u"ordf", 170},
    {u"laquo", 171}, {u"not", 172}, {u"shy", 173}, {u"reg", 174}, {u"macr", 175}, {u"deg", 176},
    {u"plusmn", 177}, {u"sup2", 178}, {u"sup3", 179}, {u"acute", 180}, {u"micro", 181},
    {u"para", 182}, {u"middot", 183}, {u"cedil", 184}, {u"sup1", 185}, {u"ordm", 186},
    {u"raquo", 187}, {u"frac14", 188}, {u"frac12", 189}, {u"frac34", 190}, {u"iquest", 191},
    {u"Agrave", 192}, {u"Aacute", 193}, {u"Acirc", 194}, {u"Atilde", 195}, {u"Auml", 196},
    {u"Aring", 197}, {u"AElig", 198}, {u"Ccedil", 199}, {u"Egrave", 200}, {u"Eacute", 201},
    {u"Ecirc", 202}, {u"Euml", 203}, {u"Igrave", 204}, {u"Iacute", 205}, {u"Icirc", 206},
    {u"Iuml", 207}, {u"ETH", 208}, {u"Ntilde", 209}, {u"Ograve", 210}, {u"Oacute", 211},
    {u"Ocirc", 212}, {u"Otilde", 213}, {u"Ouml", 214}, {u"times", 215}, {u"Oslash", 216},
    {u"Ugrave", 217}, {u"Uacute", 218}, {u"Ucirc", 219}, {u"Uuml", 220}, {u"Yacute", 221},
    {u"THORN", 222}, {u"szlig", 223}, {u"agrave", 224}, {u"aacute", 225}, {u"acirc", 226},
    {u"atilde", 227}, {u"auml", 228}, {u"aring", 229}, {u"aelig", 230}, {u"ccedil", 231},
    {u"egrave", 232}, {u"eacute", 233}, {u"ecirc", 234}, {u"euml", 235}, {u"igrave", 236},
    {u"iacute", 237}, {u"icirc", 238}, {u"iuml", 239}, {u"eth", 240}, {u"ntilde", 241},
    {u"ograve", 242}, {u"oacute", 243}, {u"ocirc", 244}, {u"otilde", 245}, {u"ouml", 246},
    {u"divide", 247}, {u"oslash", 248}, {u"ugrave", 249}, {u"uacute", 250}, {u"ucirc", 251},
    {u"uuml", 252}, {u"yacute", 253}, {u"thorn", 254}, {u"yuml", 255}, {u"fnof", 402},
    {u"Alpha", 913}, {u"Beta", 914}, {u"Gamma", 915}, {u"Delta", 916}, {u"Epsilon", 917},
    {u"Zeta", 918}, {u"Eta", 919}, {u"Theta", 920}, {u"Iota", 921}, {u"Kappa", 922},
    {u"Lambda", 923}, {u"Mu", 924}, {u"Nu", 925}, {u"Xi", 926}, {u"Omicron", 927}, {u"Pi", 928},
    {u"Rho", 929}, {u"Sigma", 931}, {u"Tau", 932}, {u"Upsilon", 933}, {u"Phi", 934}, {u"Chi", 935},
    {u"Psi", 936}, {u"Omega", 937}, {u"alpha", 945}, {u"beta", 946}, {u"gamma", 947},
    {u"delta", 948}, {u"epsilon", 949}, {u"zeta", 950}, {u"eta", 951}, {u"theta", 952},
    {u"iota", 953}, {u"kappa", 954}, {u"lambda", 955}, {u"mu", 956}, {u"nu", 957}, {u"xi", 958},
    {u"omicron", 959}, {u"pi", 960}, {u"rho", 961}, {u"sigmaf", 962}, {u"sigma", 963},
    {u"tau", 964}, {u"upsilon", 965}, {u"phi", 966}, {u"chi", 967}, {u"psi", 968}, {u"omega", 969},
    {u"thetasym", 977}, {u"upsih", 978}, {u"piv", 982}, {u"bull", 8226}, {u"hellip", 8230},
    {u"prime", 8242}, {u"Prime", 8243}, {u"oline", 8254}, {u"frasl", 8260}, {u"weierp", 8472},
    {u"image", 8465}, {u"real", 8476}, {u"trade", 8482}, {u"alefsym", 8501}, {u"larr", 8592},
    {u"uarr", 8593}, {u"rarr", 8594}, {u"darr", 8595}, {u"harr", 8596}, {u"crarr", 8629},
    {u"lArr", 8656}, {u"uArr", 8657}, {u"rArr", 8658}, {u"dArr", 8659}, {u"hArr", 8660},
    {u"forall", 8704}, {u"part", 8706}, {u"exist", 8707}, {u"empty", 8709}, {u"nabla", 8711},
    {u"isin", 8712}, {u"notin", 8713}, {u"ni", 8715}, {u"prod", 8719}, {u"sum", 8721},
    {u"minus", 8722}, {u"lowast", 8727}, {u"radic", 8730}, {u"prop", 8733}, {u"infin", 8734},
    {u"ang", 8736}, {u"and", 8743}, {u"or", 8744}, {u"cap", 8745}, {u"cup", 8746}, {u"int", 8747},
    {u"there4", 8756}, {u"sim", 8764}, {u"cong", 8773}, {u"asymp", 8776}, {u"ne", 8800},
    {u"equiv", 8801}, {u"le", 8804}, {u"ge", 8805}, {u"sub", 8834}, {u"sup", 8835}, {u"nsub", 8836},
    {u"sube", 8838}, {u"supe", 8839}, {u"oplus", 8853}, {u"otimes", 8855}, {u"perp", 8869},
    {u"sdot", 8901}, {u"lceil", 8968}, {u"rceil", 8969}, {u"lfloor", 8970}, {u"rfloor", 8971},
    {u"lang", 9001}, {u"rang", 9002}, {u"loz", 9674}, {u"spades", 9824}, {u"clubs", 9827},
    {u"hearts", 9829}, {u"diams", 9830}, {u"quot", 34}, {u"amp", 38}, {u"lt", 60}, {u"gt", 62},
    {u"OElig", 338}, {u"oelig", 339}, {u"Scaron", 352}, {u"scaron", 353}, {u"Yuml", 376},
    {u"circ", 710}, {u"tilde", 732}, {u"ensp", 8194}, {u"emsp", 8195}, {u"thinsp", 8201},
    {u"zwnj", 8204}, {u"zwj", 8205}, {u"lrm", 8206}, {u"rlm", 8207}, {u"ndash", 8211},
    {u"mdash", 8212}, {u"lsquo", 8216}, {u"rsquo", 8217}, {u"sbquo", 8218}, {u"ldquo", 8220},
    {u"rdquo", 8221}, {u"bdquo", 8222}, {u"dagger", 8224}, {u"Dagger", 8225}, {u"permil", 8240},
    {u"lsaquo", 8249}, {u"rsaquo", 8250}, {u"euro", 8364}, {u"apos", 39},
};
// clang-format on
constexpr size_t kEntityCount = std::size(kEntities);
static_assert(kEntityCount == 253);

constexpr size_t FoldedSum(std::u16string_view name) {
  size_t sum = 0;
  for (char16_t c : name) sum += FoldAscii(c);
  return sum;
}

// Chains of entity indices per bucket of the folded sum, each chain in table order.
struct EntityIndex {
  std::array<int16_t, kEntityBuckets> head{};
  std::array<int16_t, kEntityCount> next{};
};

constexpr EntityIndex BuildEntityIndex() {
  EntityIndex index;
  index.head.fill(-1);
  for (size_t i = kEntityCount; i-- > 0;) {
    const size_t bucket = FoldedSum(kEntities[i].name) % kEntityBuckets;
    index.next[i] = index.head[bucket];
    index.head[bucket] = static_cast<int16_t>(i);
  }
  return index;
}

constexpr EntityIndex kEntityIndex = BuildEntityIndex();

// Digits of a numeric reference in the given base; 0 when any is not a digit or none is.
uint32_t NumberValue(std::u16string_view digits, uint32_t base) {
  if (digits.empty()) return 0;
  uint32_t value = 0;
  for (char16_t c : digits) {
    const char16_t f = FoldAscii(c);
    uint32_t d = 0;
    if (f >= u'0' && f <= u'9')
      d = f - u'0';
    else if (base == 16 && f >= u'a' && f <= u'f')
      d = f - u'a' + 10;
    else
      return 0;
    value = value * base + d;  // at most 8 hexadecimal or 9 decimal digits: no overflow
  }
  return value;
}

uint32_t ReferenceCodePoint(std::u16string_view reference) {
  uint32_t value = 0;
  if (reference.size() > 1 && reference[0] == u'#') {
    value = FoldAscii(reference[1]) == u'x' ? NumberValue(reference.substr(2), 16)
                                            : NumberValue(reference.substr(1), 10);
  } else {
    value = EntityCodePoint(reference);
  }
  // Lone surrogates and values beyond Unicode are no characters.
  const bool character = value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF);
  return character ? value : 0;
}

// Past the end marker; the end of the content when the construct is not closed there.
size_t SkipInContent(std::u16string_view content, size_t from, std::u16string_view endMarker) {
  return std::min(SkipPast(content, from, endMarker), content.size());
}

}  // namespace

// Names match without regard to case ("&AMP;" is "&"), but a name written exactly as listed
// wins, so "&oslash;" is the small letter and not the capital listed before it.
uint32_t EntityCodePoint(std::u16string_view name) {
  uint32_t folded = 0;
  for (int i = kEntityIndex.head[FoldedSum(name) % kEntityBuckets]; i >= 0;
       i = kEntityIndex.next[static_cast<size_t>(i)]) {
    if (kEntities[i].name == name) return kEntities[i].codePoint;
    if (!folded && EqualsIgnoringCase(kEntities[i].name, name)) folded = kEntities[i].codePoint;
  }
  return folded;
}

void AppendDecoded(std::u16string_view text, std::u16string& out) {
  size_t i = 0;
  while (i < text.size()) {
    const size_t amp = text.find(u'&', i);
    if (amp == std::u16string_view::npos) {
      out.append(text.substr(i));
      return;
    }
    out.append(text.substr(i, amp - i));
    const size_t limit = std::min(text.size(), amp + 2 + kMaxReferenceLength);
    size_t semicolon = amp + 1;
    while (semicolon < limit && text[semicolon] != u';') ++semicolon;
    const uint32_t c =
        semicolon < limit ? ReferenceCodePoint(text.substr(amp + 1, semicolon - amp - 1)) : 0;
    if (c == 0) {
      out += u'&';
      i = amp + 1;
    } else {
      AppendUtf16(out, c);
      i = semicolon + 1;
    }
  }
}

std::u16string ContentText(std::u16string_view content) {
  std::u16string out;
  size_t pos = 0;
  while (pos < content.size()) {
    const size_t lt = content.find(u'<', pos);
    AppendDecoded(content.substr(pos, lt == std::u16string_view::npos ? lt : lt - pos), out);
    if (lt == std::u16string_view::npos) break;
    if (StartsWith(content, lt, kCdataOpen)) {
      const size_t from = lt + kCdataOpen.size();
      const size_t end = std::min(content.find(kCdataClose, from), content.size());
      out.append(content.substr(from, end - from));
      pos = SkipInContent(content, from, kCdataClose);
    } else if (StartsWith(content, lt, kCommentOpen)) {
      pos = SkipInContent(content, lt + kCommentOpen.size(), kCommentClose);
    } else if (StartsWith(content, lt, kPiOpen)) {
      pos = SkipInContent(content, lt + kPiOpen.size(), kPiClose);
    } else {
      out += u'<';  // a stray "<" that opens no markup stays text
      pos = lt + 1;
    }
  }
  return out;
}

}  // namespace norvi::xml
