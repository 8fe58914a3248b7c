#pragma once
// Dialogs from dialog templates: modeless (pages, child dialogs) and modal. The modal loop is
// the framework's own: before a message is translated, the target window and then each of
// its parents up to the dialog get PreTranslateMessage, so a dialog, a page or a control can
// swallow keys (Enter, Escape, Space) before the dialog manager acts on them.

#include <windows.h>

#include "framework/Window_win32.h"

namespace norvi {

class Dialog : public Window {
 public:
  // templateId names a dialog template in `module` (nullptr: the program file).
  explicit Dialog(UINT templateId, HINSTANCE module = nullptr);
  // Destroys the window while the object is still a dialog, so its procedure sees one.
  ~Dialog() override;

  // Creates the dialog without showing more than its template asks for.
  bool CreateModeless(HWND parent);
  // Creates the dialog, disables the owner, shows the dialog and runs the modal loop until
  // EndDialog; returns the result, or -1 when the dialog could not be created.
  INT_PTR DoModal(HWND owner);
  // Ends a modal run with `result` (the window goes when the loop returns); a modeless dialog
  // is destroyed at once.
  void EndDialog(INT_PTR result);
  bool IsModal() const { return modal_; }

 protected:
  // WM_INITDIALOG; the return value is the dialog manager's (true: default focus).
  virtual BOOL OnInitDialog() { return TRUE; }
  // IDOK / IDCANCEL commands (Enter, Escape, close box): end with IDOK / IDCANCEL.
  virtual void OnOK() { EndDialog(IDOK); }
  virtual void OnCancel() { EndDialog(IDCANCEL); }

  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  // A dialog's default is the dialog manager's own processing.
  LRESULT Default(UINT msg, WPARAM wp, LPARAM lp) override;

 private:
  static INT_PTR CALLBACK StaticDialogProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  void RunModalLoop();
  bool PreTranslateChain(MSG& msg);

  UINT templateId_;
  HINSTANCE module_;
  bool modal_ = false;
  bool endRequested_ = false;
  INT_PTR result_ = -1;
  bool defaultRequested_ = false;  // set by Default() during one dispatch
};

// Enter, Escape or Space pressed or released. The skinned dialogs swallow these before the
// dialog manager sees them, so only their own buttons confirm or close them.
bool IsEnterEscapeOrSpace(const MSG& msg);

}  // namespace norvi
