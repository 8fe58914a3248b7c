#include "app/LanguageMenu_win32.h"

#include "app/MainLayout.h"
#include "app/Messages.h"
#include "base/WideText.h"
#include "model/ProfileStore.h"
#include "res/ResourceIds.h"

namespace norvi {

void LanguageMenu::LoadBasic() {
  const std::u16string ini = services_.programFolder + std::u16string(kBasicLanguageFile);
  const int type = ::GetPrivateProfileIntW(W(std::u16string(kBasicLanguageSection)),
                                           W(std::u16string(kBasicLanguageKey)), 0, W(ini));
  basic_ = &norvi::BasicLanguage(type);
  services_.chineseInterface = basic_->index == kSimplifiedChineseIndex;
  LoadLanguageStrings(basic_->file);
}

void LanguageMenu::ShowBasicFlag() {
  ShowFlag(services_.chineseInterface ? kSimplifiedChineseIndex : kEnglishIndex);
  if (const HWND flag = ::GetDlgItem(window_, kFlagControlId))
    ::MoveWindow(flag, kFlagRect.left, kFlagRect.top, kFlagRect.width(), kFlagRect.height(), TRUE);
}

void LanguageMenu::PostStartLanguage() {
  // Without "Language.cfg" this is the first run: the installation's language, silently.
  const LanguageChoiceRead read = ReadLanguageChoice(LanguageChoicePathIn(services_.configFolder),
                                                     [] { ::Sleep(kProfileReadPauseMs); });
  const StartLanguage start = StartLanguageFrom(read, *basic_);
  storeStart_ = start.store;
  ::PostMessageW(window_, UM_LANGUAGE, kLanguageAtStartUp, start.index);
}

void LanguageMenu::Open(const RECT& button) {
  retired_.reset();
  menu_.reset();
  auto menu = std::make_unique<CMenuExA>();
  menu->LoadBackground(IDP_POPUP_FRAME);
  if (menu->CreatePopup(window_, button.left + kLanguageMenuDx, button.bottom + kLanguageMenuDy,
                        UM_LANGUAGE))
    menu_ = std::move(menu);
}

void LanguageMenu::Apply(WPARAM wp, LPARAM lp) {
  ApplyLanguage(static_cast<uint32_t>(wp), static_cast<int32_t>(lp), *this, storeStart_);
}

bool LanguageMenu::LanguageMenuOpen() const {
  return menu_ && ::IsWindow(menu_->hwnd());
}

void LanguageMenu::LoadLanguageStrings(std::u16string_view file) {
  services_.strings.LoadLanguageStrings(services_.programFolder + u"\\" + std::u16string(file));
}

void LanguageMenu::ShowFlag(int32_t index) {
  const HWND flag = ::GetDlgItem(window_, kFlagControlId);
  if (!flag) return;
  // The control never holds a deleted picture: the old one goes once the new one is set.
  UniqueBitmap picture(
      ::LoadBitmapW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_FLAG_FIRST + index - 1)));
  ::SendMessageW(flag, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture.get()));
  flag_ = std::move(picture);
}

void LanguageMenu::StoreLanguageChoice(int32_t index) {
  const std::u16string path = LanguageChoicePathIn(services_.configFolder);
  const FileResult written = WriteLanguageChoice(path, index);
  const std::string_view key = LanguageSaveMessageKey(written.error);
  if (written.ok() || key.empty()) return;
  ::MessageBoxW(window_, W(services_.Text(key, path)), W(std::u16string(kSaveFailedCaption)),
                MB_OK);
}

void LanguageMenu::CloseLanguageMenu() {
  if (LanguageMenuOpen()) menu_->Post(WM_CLOSE);
  if (menu_) retired_ = std::move(menu_);
}

}  // namespace norvi
