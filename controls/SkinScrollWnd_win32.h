#pragma once
// Skinned scroll bars for a standard control that has scroll bars of its own (the picker's
// lists). A frame window takes the control's place; the control moves into an inner window
// "LIMIT" that clips its own scroll bars away, and two CSkinScrollBar windows sit where those
// bars were. The frame keeps the skin bars in step with the control's scroll state and
// forwards the user's scrolling to the control.

#include <windows.h>

#include "controls/SkinScrollBar_win32.h"
#include "framework/Window_win32.h"

namespace norvi {

class CSkinScrollWnd : public Window {
 public:
  static constexpr UINT kLayoutChanged = WM_USER + 100;  // 1124
  static constexpr UINT kHorizontalBarId = 100;
  static constexpr UINT kVerticalBarId = 101;
  static constexpr UINT kLimitId = 200;
  static constexpr UINT_PTR kSyncTimer = 100;
  static constexpr UINT kSyncMs = 500;

  HWND Control() const { return control_; }
  HWND Limit() const { return limit_.hwnd(); }
  CSkinScrollBar& HorizontalBar() { return horizontal_; }
  CSkinScrollBar& VerticalBar() { return vertical_; }
  int CornerMode() const { return cornerMode_; }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  // The frame carries the control's identifier, so a request found by identifier (the
  // measuring of an owner-drawn list's rows) comes here; the control answers it.
  bool OnReflectedMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;
  // The frame lives as long as its window.
  void OnFinalMessage() override { delete this; }

 private:
  friend CSkinScrollWnd* SkinScrollAttach(HWND control, HBITMAP skin);
  CSkinScrollWnd() = default;
  ~CSkinScrollWnd() override = default;

  bool Attach(HWND control, HBITMAP skin);
  static LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp);
  LRESULT OnControlMessage(UINT msg, WPARAM wp, LPARAM lp);
  void OnControlFrameCalculated(NCCALCSIZE_PARAMS& params);
  void Detach();
  void Sync(CSkinScrollBar& bar, int which, bool onlyWhenChanged);
  void PlaceLimit(bool vertical, bool leftScrollBar);
  void Forward(UINT msg, WPARAM wp, LPARAM lp);
  void PaintCorner();

  HWND control_ = nullptr;
  WNDPROC controlProc_ = nullptr;  // the control's procedure before the frame took it
  HBITMAP skin_ = nullptr;
  int cell_ = 0;
  Window limit_;
  CSkinScrollBar horizontal_;
  CSkinScrollBar vertical_;
  bool forwarding_ = false;
  bool limitBusy_ = false;
  bool destroying_ = false;
  int cornerMode_ = kNoCorner;
};

// Gives `control` skinned scroll bars drawn from `skin` (not owned: the caller keeps it alive
// while the control lives). Returns the frame, which goes with the control; nullptr when the
// control or skin is missing or a window cannot be made.
CSkinScrollWnd* SkinScrollAttach(HWND control, HBITMAP skin);

}  // namespace norvi
