#include "picker/KeysRow_win32.h"

#include "picker/SettingLayout.h"

namespace norvi {
namespace {

constexpr COLORREF kPromptColour = 0x9AA8B3;  // the field's frame colour: a prompt, not a value

RECT Rect(const EdgeRect& r) {
  return {r.left, r.top, r.right, r.bottom};
}

void Build(CGDIBitmapBtn& button, HWND page, const EdgeRect& place, HBITMAP normal, HBITMAP over,
           HBITMAP down, int32_t language) {
  const RECT r = Rect(place);
  button.Create(page, r);
  button.SetImages(r, normal, over, down, normal);
  button.SetToggleMode(1);
  button.SetLanguage(language);
}

bool IsKeyMessage(UINT message) {
  return message == WM_KEYDOWN || message == WM_SYSKEYDOWN || message == WM_KEYUP ||
         message == WM_SYSKEYUP;
}

}  // namespace

void CKeyCaptureField::Setup(const IStringLookup& strings, const IKeyNames& names) {
  strings_ = &strings;
  names_ = &names;
  Refresh();
}

void CKeyCaptureField::Clear() {
  capture_.Clear();
  Refresh();
}

void CKeyCaptureField::Show(const KeyCombo& chosen) {
  capture_.Reset(chosen);
  Refresh();
}

std::u16string CKeyCaptureField::Text() const {
  if (!names_ || !strings_) return {};
  if (listening_ && capture_.Pending() != 0)
    return ComboText({capture_.Pending(), 0}, *names_) + std::u16string(kKeysUnfinished);
  if (!capture_.Chosen().Empty()) return ComboText(capture_.Chosen(), *names_);
  return std::u16string(strings_->Text(listening_ ? kKeysListeningKey : kKeysPromptKey));
}

std::string_view CKeyCaptureField::HintKey() const {
  switch (capture_.Note()) {
    case CaptureNote::ModifiersOnly: return kKeysModifiersOnlyKey;
    case CaptureNote::Escape: return kKeysEscapeKey;
    case CaptureNote::None: break;
  }
  return kKeysHintKey;
}

void CKeyCaptureField::Refresh() {
  if (!strings_) return;
  const bool chosen = !capture_.Chosen().Empty() || (listening_ && capture_.Pending() != 0);
  const COLORREF colour = chosen ? kPickerTextColour : kPromptColour;
  SetTextColours(colour, colour, colour);
  SetCaption(Text());
  SetTooltip(std::u16string(strings_->Text(HintKey())), true);
  SetCheck(listening_ ? 1 : 0);
}

bool CKeyCaptureField::PreTranslateMessage(MSG& msg) {
  CGDIBitmapBtn::PreTranslateMessage(msg);
  if (msg.hwnd != hwnd() || !IsKeyMessage(msg.message)) return false;
  const auto vk = static_cast<uint8_t>(msg.wParam);
  if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN)
    capture_.KeyDown(vk);
  else
    capture_.KeyUp(vk);
  Refresh();
  // Taken whole: no dialog key, no menu, no system command (Alt+F4) sees it.
  return true;
}

LRESULT CKeyCaptureField::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      listening_ = msg == WM_SETFOCUS;
      // Modifiers half pressed when the focus moves are forgotten; the chosen keys stay.
      capture_.Reset(capture_.Chosen());
      Refresh();
      break;
    case WM_GETDLGCODE: return DLGC_WANTALLKEYS;
    default: break;
  }
  return CGDIBitmapBtn::HandleMessage(msg, wp, lp);
}

void CKeysRow::Create(HWND page, HBITMAP normal, HBITMAP over, HBITMAP down,
                      const IStringLookup& strings) {
  Build(choice_, page, kKeysRow.choice, normal, over, down, strings.LanguageIndex());
  choice_.SetUserValue(kKeysRow.code);
  choice_.SetTooltip(std::u16string(strings.Text(kKeysRow.labelKey)), true);
  choice_.SetRepeatClicks(true);
  Build(field_, page, kKeysRow.field, normal, over, down, strings.LanguageIndex());
  field_.Setup(strings, names_);
  Build(clear_, page, kKeysRow.clear, normal, over, down, strings.LanguageIndex());
  clear_.SetToggleMode(0);
  const std::u16string clear(strings.Text(kKeysClearKey));
  clear_.SetCaption(clear);
  clear_.SetTextColours(kBrowseTextColours.normal, kBrowseTextColours.hover,
                        kBrowseTextColours.pressed);
  clear_.SetTooltip(clear, true);
}

bool CKeysRow::OnCommand(HWND from, UINT code) {
  if (code != BN_CLICKED && code != BN_DOUBLECLICKED) return false;
  if (from == clear_.hwnd()) {
    field_.Clear();
    ::SetFocus(field_.hwnd());  // listening again at once
  } else if (from != choice_.hwnd() && from != field_.hwnd()) {
    return false;
  }
  SetChecked(true);
  return true;
}

void CKeysRow::ShowChoice(std::u16string_view stored) {
  if (const std::optional<KeyCombo> combo = ParseKeyCombo(stored)) field_.Show(*combo);
  SetChecked(true);
}

int32_t CKeysRow::GetChoice(std::u16string& path) const {
  if (!choice_.GetCheck() || field_.Chosen().Empty()) return 0;
  path = FormatKeyCombo(field_.Chosen());
  return kKeysRow.code;
}

void CKeysRow::PaintLabel(const TextPainter& text, const IStringLookup& strings) const {
  text.Draw(strings.Text(kKeysRow.labelKey), Rect(kKeysRow.label), kPickerLabelFlags);
}

}  // namespace norvi
