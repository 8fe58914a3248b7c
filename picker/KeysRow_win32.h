#pragma once
// The advanced page's "Keys..." row: a choice button, a capture field that listens while it
// has the keyboard focus and shows what was pressed with the keyboard's own key names, and a
// button that clears it. The page owns one and routes its commands and its label here.

#include <windows.h>

#include <string>

#include "controls/GDIBitmapBtn_win32.h"
#include "controls/TextDraw_win32.h"
#include "framework/Gdi_win32.h"
#include "model/FunctionName.h"
#include "model/KeyNames_win32.h"
#include "picker/KeyCapture.h"
#include "picker/KeysRowLayout.h"

namespace norvi {

// Takes every key before the picker's own handling (which swallows Enter, Escape and Space)
// while it has the focus, so any key, Escape and Alt combinations included, can be chosen.
class CKeyCaptureField : public CGDIBitmapBtn {
 public:
  void Setup(const IStringLookup& strings, const IKeyNames& names);

  const KeyCombo& Chosen() const { return capture_.Chosen(); }
  bool Listening() const { return listening_; }
  void Clear();
  // Shows a stored combination as the chosen one.
  void Show(const KeyCombo& chosen);
  // The text the field shows now, and the key of its tooltip.
  std::u16string Text() const;
  std::string_view HintKey() const;

  bool PreTranslateMessage(MSG& msg) override;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void Refresh();

  const IStringLookup* strings_ = nullptr;
  const IKeyNames* names_ = nullptr;
  KeyCapture capture_;
  bool listening_ = false;
};

class CKeysRow {
 public:
  // Builds the row's controls in the page with the page's three pictures.
  void Create(HWND page, HBITMAP normal, HBITMAP over, HBITMAP down, const IStringLookup& strings);

  // Handles a command of one of the row's controls: true when it was one, and then the row is
  // the checked one (the page unchecks its other rows).
  bool OnCommand(HWND from, UINT code);
  void SetChecked(bool checked) { choice_.SetCheck(checked ? 1 : 0); }
  // Checks the row with a stored combination's text shown (an unreadable one: none).
  void ShowChoice(std::u16string_view stored);

  // Code 85 with the combination's text when the row is checked and holds one; 0 otherwise.
  int32_t GetChoice(std::u16string& path) const;

  void PaintLabel(const TextPainter& text, const IStringLookup& strings) const;

  const CGDIBitmapBtn& Choice() const { return choice_; }
  const CKeyCaptureField& Field() const { return field_; }
  const CGDIBitmapBtn& ClearButton() const { return clear_; }

 private:
  Win32KeyNames names_;
  CGDIBitmapBtn choice_;
  CKeyCaptureField field_;
  CGDIBitmapBtn clear_;
};

}  // namespace norvi
