#include "app/LanguageSelection.h"

#include <array>
#include <cstddef>

#include "app/Messages.h"
#include "model/ProfileStore.h"

namespace norvi {

std::u16string LanguageChoicePathIn(std::u16string_view configFolder) {
  std::u16string path(configFolder);
  path += u'\\';
  path += kLanguageChoiceFile;
  return path;
}

const Language& BasicLanguage(int languageType) {
  return *FindLanguage(languageType == kBasicLanguageChinese ? kSimplifiedChineseIndex
                                                             : kEnglishIndex);
}

const Language* FindLanguage(int32_t index) {
  if (index < 1 || index > static_cast<int32_t>(kLanguages.size())) return nullptr;
  return &kLanguages[static_cast<size_t>(index - 1)];
}

LanguageChoiceRead ReadLanguageChoice(std::u16string_view path,
                                      const std::function<void()>& pause) {
  std::array<std::byte, 4> bytes{};
  FileResult read;
  for (int attempt = 1;; ++attempt) {
    read = ReadFilePrefix(path, bytes);
    const bool missing = read.error == syserr::FileNotFound || read.error == syserr::PathNotFound;
    if (read.ok() || missing || attempt == kProfileReadAttempts) break;
    if (pause) pause();
  }
  LanguageChoiceRead choice;
  choice.error = read.error;
  choice.missing = read.error == syserr::FileNotFound || read.error == syserr::PathNotFound;
  if (!read.ok() || read.bytes < bytes.size()) return choice;
  uint32_t value = 0;
  for (size_t i = 0; i < bytes.size(); ++i) value |= static_cast<uint32_t>(bytes[i]) << (8 * i);
  choice.index = static_cast<int32_t>(value);
  choice.stored = true;
  return choice;
}

FileResult WriteLanguageChoice(std::u16string_view path, int32_t index) {
  const auto value = static_cast<uint32_t>(index);
  const std::array<std::byte, 4> bytes{std::byte(value & 0xFF), std::byte((value >> 8) & 0xFF),
                                       std::byte((value >> 16) & 0xFF), std::byte(value >> 24)};
  return ReplaceFileContents(path, bytes);
}

std::string_view LanguageSaveMessageKey(uint32_t systemError) {
  if (systemError == syserr::FileNotFound) return "str_msg2";
  if (systemError == syserr::AccessDenied) return "str_msg5";
  return {};
}

StartLanguage StartLanguageFrom(const LanguageChoiceRead& read, const Language& basic) {
  if (read.stored) return {read.index, false};
  return {basic.index, read.missing};
}

void ApplyLanguage(uint32_t wParam, int32_t lParam, ILanguageWindow& window, bool storeAtStartUp) {
  const bool fromStartUp = wParam == kLanguageAtStartUp;
  if (lParam == 0 || (!fromStartUp && !window.LanguageMenuOpen())) return;
  window.SetChineseInterface(false);
  if (const Language* language = FindLanguage(lParam)) {
    window.SetChineseInterface(lParam == kSimplifiedChineseIndex);
    window.LoadLanguageStrings(language->file);
    window.ShowFlag(lParam);
  }
  if (!fromStartUp || storeAtStartUp) window.StoreLanguageChoice(lParam);
  window.RefreshLanguageTexts();
  if (!fromStartUp) window.CloseLanguageMenu();
}

}  // namespace norvi
