#pragma once
// The twelve interface languages: menu index, fixed English menu text and language file
// under the program folder. The flag bitmap and menu icon of a language are the resource
// ids IDB_FLAG_FIRST and IDP_FLAG_FIRST plus its index minus 1.

#include <array>
#include <cstdint>
#include <string_view>

namespace norvi {

struct Language {
  int32_t index;
  std::u16string_view menuText;
  std::u16string_view file;  // relative to the program folder
};

inline constexpr int32_t kSimplifiedChineseIndex = 1;

inline constexpr std::array<Language, 12> kLanguages = {{
    {1, u"Chinese", u"Language\\sc.xml"},
    {2, u"English", u"Language\\en.xml"},
    {3, u"French", u"Language\\fre.xml"},
    {4, u"Korean", u"Language\\kor.xml"},
    {5, u"German", u"Language\\ger.xml"},
    {6, u"Italian", u"Language\\ita.xml"},
    {7, u"Spanish", u"Language\\span.xml"},
    {8, u"Dutch", u"Language\\dutch.xml"},
    {9, u"Portuguese", u"Language\\pt.xml"},
    {10, u"Russian", u"Language\\rus.xml"},
    {11, u"Ukrainian", u"Language\\ukr.xml"},
    {12, u"Trad.Chinese", u"Language\\tw.xml"},
}};

// The face and character set that interface texts of a language are drawn with. The CJK
// languages name their own system UI faces and character sets: Windows has them, and font
// matching elsewhere (Wine) finds an installed font that covers the set.
struct TextFace {
  std::u16string_view face;
  uint8_t charset;  // a GDI character set number
};

inline constexpr TextFace kShellDlgFace{u"MS Shell Dlg", 1};                    // DEFAULT_CHARSET
inline constexpr TextFace kSimplifiedChineseFace{u"Microsoft YaHei", 134};      // GB2312_CHARSET
inline constexpr TextFace kTraditionalChineseFace{u"Microsoft JhengHei", 136};  // CHINESEBIG5
inline constexpr TextFace kKoreanFace{u"Malgun Gothic", 129};                   // HANGUL_CHARSET

inline constexpr int32_t kKoreanIndex = 4;
inline constexpr int32_t kTraditionalChineseIndex = 12;

// The face for the texts of language `index`; any other index (no language file) gets the
// shell dialog face.
constexpr TextFace TextFaceFor(int32_t index) {
  switch (index) {
    case kSimplifiedChineseIndex: return kSimplifiedChineseFace;
    case kTraditionalChineseIndex: return kTraditionalChineseFace;
    case kKoreanIndex: return kKoreanFace;
    default: return kShellDlgFace;
  }
}

// The index of the language whose file `path` names (its file name, any case, in any
// folder); 0 for any other file.
int32_t LanguageOfFile(std::u16string_view path);

// The installation setting of the basic language, under the program folder.
inline constexpr std::u16string_view kBasicLanguageFile = u"\\skins\\languagetype.ini";
inline constexpr std::u16string_view kBasicLanguageSection = u"languagetype";
inline constexpr std::u16string_view kBasicLanguageKey = u"value";
inline constexpr int32_t kBasicLanguageChinese = 1;  // any other value selects English

}  // namespace norvi
