#pragma once
// The program's message box: a modal dialog drawn from one 330 x 160 picture, with a title
// word, one line of message text, a close button and either OK alone or OK and Cancel.

#include <windows.h>

#include <string>

#include "controls/GDIBitmapBtn_win32.h"
#include "framework/Dialog_win32.h"
#include "framework/Gdi_win32.h"
#include "model/FunctionName.h"

namespace norvi {

// Where the box draws its captions and its message (client coordinates). The message is
// broken into lines (a word longer than a line too) and centred in the area between the title
// bar and the buttons, so a long message in any language shows whole.
namespace infobox {
constexpr RECT kOkRectTwoButtons{183, 127, 249, 159};
constexpr RECT kOkRectOneButton{240, 127, 306, 159};
constexpr RECT kCancelRect{249, 127, 315, 159};
constexpr RECT kMessageArea{90, 38, 315, 120};
constexpr UINT kMessageFlags = DT_WORDBREAK | DT_EDITCONTROL | DT_NOCLIP | DT_END_ELLIPSIS;
}  // namespace infobox

// What every message box needs from the program: the interface strings (str_ok, str_cancel),
// whether the interface is Chinese, the owner window and the module holding the pictures.
struct InfoSettings {
  const IStringLookup& strings;
  bool chineseInterface = false;
  HWND owner = nullptr;
  HMODULE resources = nullptr;  // nullptr: the program file
};

class CDlgInfo : public Dialog {
 public:
  explicit CDlgInfo(const InfoSettings& settings);

  void SetMessage(const std::u16string& text) { message_ = text; }
  const std::u16string& Message() const { return message_; }
  void SetTwoButtons(bool twoButtons) { twoButtons_ = twoButtons; }
  // Runs the dialog modally: IDOK for OK, IDCANCEL for Cancel, the close button or closing.
  INT_PTR Run() { return DoModal(settings_.owner); }

  const CGDIBitmapBtn& OkButton() const { return ok_; }
  const CGDIBitmapBtn& CancelButton() const { return cancel_; }
  const CGDIBitmapBtn& CloseButton() const { return close_; }

  // Enter, Escape and Space neither confirm nor close the box: only its buttons do.
  bool PreTranslateMessage(MSG& msg) override;

 protected:
  BOOL OnInitDialog() override;
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  void LoadPictures();
  void CreateButtons();
  void Paint();

  InfoSettings settings_;
  std::u16string message_;
  bool twoButtons_ = false;
  UniqueBitmap background_, over_, down_;
  CGDIBitmapBtn close_, ok_, cancel_;
};

// Shows a message (OK) or a question (OK and Cancel) and returns IDOK or IDCANCEL.
INT_PTR ShowInfo(const InfoSettings& settings, const std::u16string& text, bool twoButtons);

}  // namespace norvi
