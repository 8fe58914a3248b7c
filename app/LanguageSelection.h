#pragma once
// The choice of interface language: the basic language of the installation, the user's
// choice in "Language.cfg", and the steps by which the main window applies a language.
// Portable: the window is reached through ILanguageWindow.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "localisation/Languages.h"
#include "model/FileIO.h"

namespace norvi {

constexpr std::u16string_view kLanguageChoiceFile = u"Language.cfg";
constexpr int32_t kEnglishIndex = 2;

// "%s\%s": the configuration folder and "Language.cfg".
std::u16string LanguageChoicePathIn(std::u16string_view configFolder);

// The basic language: Simplified Chinese when the installation's type is 1, else English.
const Language& BasicLanguage(int languageType);

// The table entry of an index 1 to 12, or nullptr.
const Language* FindLanguage(int32_t index);

struct LanguageChoiceRead {
  int32_t index = kSimplifiedChineseIndex;
  bool stored = false;   // the file held a choice
  bool missing = false;  // no file (or no folder): the program's first run
  uint32_t error = 0;
};
// The 32-bit little-endian index at the start of the file. A missing file is a first run; a
// file shorter than the index holds no choice. A file that exists but cannot be read (another
// program may hold it for a moment) is tried as often as the profile, with pause between.
LanguageChoiceRead ReadLanguageChoice(std::u16string_view path,
                                      const std::function<void()>& pause = {});
// Puts a file holding the index as 4 little-endian bytes in place of the old one.
FileResult WriteLanguageChoice(std::u16string_view path, int32_t index);
// The language key of the message for a failed write: "str_msg2" when the path is missing,
// "str_msg5" when access is denied, none otherwise.
std::string_view LanguageSaveMessageKey(uint32_t systemError);

// The language the main window applies at start and whether it is written to the file.
struct StartLanguage {
  int32_t index;
  // Only a first run writes its language; a file that holds a choice holds it already, and
  // one that could not be read, or holds no whole choice, is kept until the user chooses.
  bool store;
};
// The stored choice, else the basic language: without a file, and when the file cannot be
// read or holds no whole choice.
StartLanguage StartLanguageFrom(const LanguageChoiceRead& read, const Language& basic);

// What applying a language does to the main window.
class ILanguageWindow {
 public:
  virtual bool LanguageMenuOpen() const = 0;
  virtual void SetChineseInterface(bool chinese) = 0;
  // The language file, relative to the program folder.
  virtual void LoadLanguageStrings(std::u16string_view file) = 0;
  virtual void ShowFlag(int32_t index) = 0;
  virtual void StoreLanguageChoice(int32_t index) = 0;
  // Captions and tooltips again from the string table.
  virtual void RefreshLanguageTexts() = 0;
  // Closes the open language menu (if its window still exists) and forgets it.
  virtual void CloseLanguageMenu() = 0;

 protected:
  ~ILanguageWindow() = default;
};

// wParam is kLanguageAtStartUp (272) from start-up and 0 from the language menu; lParam is
// the language index. Nothing happens for index 0 (a menu closed without a choice) or for a
// menu message while no menu is open. An index outside 1 to 12 loads nothing but is stored.
// storeAtStartUp: whether start-up's language is written (StartLanguage::store); the user's
// choice from the menu always is.
void ApplyLanguage(uint32_t wParam, int32_t lParam, ILanguageWindow& window, bool storeAtStartUp);

}  // namespace norvi
