#pragma once
// A comctl32 tooltip control owned by one window (version 6 controls: the program carries a
// manifest that asks for them).

#include <windows.h>

#include "base/Handles_win32.h"

namespace norvi {

class Tooltip {
 public:
  // Creates the tooltip window for `owner` unless it exists; true when it exists afterwards.
  bool Create(HWND owner);
  HWND hwnd() const { return window_.get(); }
  explicit operator bool() const { return static_cast<bool>(window_); }

  void Activate(bool active) const;
  int ToolCount() const;
  // Adds a tool covering `rect` of `tool` (client coordinates) with identifier `id`.
  bool AddTool(HWND tool, UINT_PTR id, const RECT& rect, const wchar_t* text) const;
  void SetToolText(HWND tool, UINT_PTR id, const wchar_t* text) const;
  // The font the tips are drawn with; the caller keeps it alive while the tooltip lives.
  void SetFont(HFONT font) const;
  // Passes a mouse message on so the tooltip can decide when to show itself.
  void Relay(const MSG& msg) const;

 private:
  UniqueWindow window_;
};

}  // namespace norvi
