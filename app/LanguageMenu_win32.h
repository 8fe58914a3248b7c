#pragma once
// The main window's languages: the installation's basic language, the flag beside the
// language button, the menu of the twelve languages and the steps of applying one.

#include <windows.h>

#include <functional>
#include <memory>

#include "app/LanguageSelection.h"
#include "app/MainServices_win32.h"
#include "controls/WndPopup_win32.h"
#include "framework/Gdi_win32.h"

namespace norvi {

class LanguageMenu : private ILanguageWindow {
 public:
  // refreshTexts puts the window's captions and tooltips in the new language.
  LanguageMenu(const MainServices& services, std::function<void()> refreshTexts)
      : services_(services), refreshTexts_(std::move(refreshTexts)) {}
  LanguageMenu(const LanguageMenu&) = delete;
  LanguageMenu& operator=(const LanguageMenu&) = delete;

  // The window that shows the flag and owns the menu.
  void Attach(HWND window) { window_ = window; }
  // Reads the installation's basic language and loads its strings (before the skin is built:
  // the basic language decides the layout).
  void LoadBasic();
  // Shows the basic language's flag in its place.
  void ShowBasicFlag();
  // Posts the language to apply at start: the stored choice, or the basic language.
  void PostStartLanguage();
  // Opens the menu below the language button (its screen rectangle).
  void Open(const RECT& button);
  // A language message: wParam 272 at start-up, 0 from the menu; lParam the language.
  void Apply(WPARAM wp, LPARAM lp);

 private:
  bool LanguageMenuOpen() const override;
  void SetChineseInterface(bool chinese) override { services_.chineseInterface = chinese; }
  void LoadLanguageStrings(std::u16string_view file) override;
  void ShowFlag(int32_t index) override;
  void StoreLanguageChoice(int32_t index) override;
  void RefreshLanguageTexts() override { refreshTexts_(); }
  void CloseLanguageMenu() override;

  const MainServices& services_;
  std::function<void()> refreshTexts_;
  HWND window_ = nullptr;
  const Language* basic_ = &norvi::BasicLanguage(0);
  // Whether start-up's language is written: not over a file that could not be read.
  bool storeStart_ = true;
  UniqueBitmap flag_;
  // The open menu; a closed one waits in retired_ until the next menu opens, as its own
  // message handler may still be running when it is forgotten.
  std::unique_ptr<CMenuExA> menu_;
  std::unique_ptr<CMenuExA> retired_;
};

}  // namespace norvi
