#include "framework/Tooltip_win32.h"

#include <commctrl.h>

namespace norvi {
namespace {

TTTOOLINFOW ToolInfo(HWND tool, UINT_PTR id, const wchar_t* text) {
  TTTOOLINFOW ti{};
  ti.cbSize = sizeof(ti);
  ti.hwnd = tool;
  ti.uId = id;
  ti.lpszText = const_cast<wchar_t*>(text);
  return ti;
}

}  // namespace

bool Tooltip::Create(HWND owner) {
  if (window_) return true;
  static const bool initialised = [] {
    INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES};
    return ::InitCommonControlsEx(&icc) != FALSE;
  }();
  (void)initialised;
  window_.reset(::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                  WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                                  CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, owner, nullptr,
                                  nullptr, nullptr));
  return static_cast<bool>(window_);
}

void Tooltip::Activate(bool active) const {
  ::SendMessageW(window_.get(), TTM_ACTIVATE, active ? TRUE : FALSE, 0);
}

int Tooltip::ToolCount() const {
  return static_cast<int>(::SendMessageW(window_.get(), TTM_GETTOOLCOUNT, 0, 0));
}

bool Tooltip::AddTool(HWND tool, UINT_PTR id, const RECT& rect, const wchar_t* text) const {
  TTTOOLINFOW ti = ToolInfo(tool, id, text);
  ti.rect = rect;
  return ::SendMessageW(window_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)) != 0;
}

void Tooltip::SetToolText(HWND tool, UINT_PTR id, const wchar_t* text) const {
  TTTOOLINFOW ti = ToolInfo(tool, id, text);
  ::SendMessageW(window_.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
}

void Tooltip::SetFont(HFONT font) const {
  ::SendMessageW(window_.get(), WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
}

void Tooltip::Relay(const MSG& msg) const {
  ::SendMessageW(window_.get(), TTM_RELAYEVENT, 0,
                 reinterpret_cast<LPARAM>(const_cast<MSG*>(&msg)));
}

}  // namespace norvi
