#include "picker/SettingDlg_win32.h"

#include "controls/TextDraw_win32.h"
#include "controls/DlgInfo_win32.h"
#include "base/WideText.h"
#include "res/ResourceIds.h"

namespace norvi {
namespace {

constexpr int kListCategories = 4;
constexpr std::string_view kPathMissingKey = "str_msg_no_path";

bool IsShown(const Window& window) {
  return window.hwnd() && (window.Style() & WS_VISIBLE) != 0;
}

}  // namespace

CSettingDlg::CSettingDlg(HWND parent, const PickerContext& context, const SlotTable& slots)
    : Dialog(IDD_SETTING, context.resources), parent_(parent), context_(context), slots_(slots) {}

Dialog& CSettingDlg::Page(int category) const {
  if (category == kCategoryAdvance) return *advance_;
  return *lists_[static_cast<size_t>(category - 1)];
}

BOOL CSettingDlg::OnInitDialog() {
  normal_ = LoadSkinPicture(context_.programFolder, kPickerNormalPicture, &size_);
  down_ = LoadSkinPicture(context_.programFolder, kPickerDownPicture);
  over_ = LoadSkinPicture(context_.programFolder, kPickerOverPicture);
  PlaceOverParent();
  CreateButtons();
  CreatePages();
  ShowCurrentChoice();
  return TRUE;
}

void CSettingDlg::ShowCurrentChoice() {
  if (slotIndex_ < 0 || slotIndex_ >= kSlotCount) {
    ShowCategory(kCategoryBase);
    return;
  }
  // The pending choice: OK at once then leaves the slot exactly as it is.
  const ButtonSlot& slot = slots_[static_cast<size_t>(slotIndex_)];
  const int32_t code = slot.TempID;
  if (code == kDisabledCode) Mutable(PickerButton::Disable).SetCheck(1);
  const int category = CategoryOf(code);
  if (category == kCategoryAdvance)
    advance_->ShowChoice(code, std::u16string_view(slot.Path, PathLength(slot)));
  else if (category != 0)
    lists_[static_cast<size_t>(category - 1)]->Select(code);
  ShowCategory(category != 0 ? category : kCategoryBase);
}

void CSettingDlg::PlaceOverParent() {
  // Without its picture the picker keeps the template's size rather than vanish.
  if (size_.cx <= 0 || size_.cy <= 0) return;
  RECT over{};
  if (!parent_ || !::GetWindowRect(parent_, &over)) ::GetWindowRect(::GetDesktopWindow(), &over);
  const int left = over.left + (over.right - over.left - size_.cx) / 2;
  const int top = over.top + (over.bottom - over.top - size_.cy) / 2;
  ::SetWindowPos(hwnd(), nullptr, left, top, size_.cx, size_.cy, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CSettingDlg::CreateButtons() {
  for (const PickerButtonPlace& place : kPickerButtons) {
    CGDIBitmapBtn& button = Mutable(place.button);
    const RECT r = ToRect(place.rect);
    button.Create(hwnd(), r);
    button.SetImages(r, normal_.get(), over_.get(), down_.get(), normal_.get());
    button.SetLanguage(context_.strings.LanguageIndex());
    if (!place.captionKey.empty()) {
      button.SetCaption(std::u16string(context_.strings.Text(place.captionKey)));
      button.SetTextColours(place.colours.normal, place.colours.hover, place.colours.pressed);
    }
    if (!place.tooltipKey.empty())
      button.SetTooltip(std::u16string(context_.strings.Text(place.tooltipKey)), true);
    button.SetToggleMode(place.toggle ? 1 : 0);
    // Tabs and the check box are clicked in quick succession; every click counts.
    button.SetRepeatClicks(place.toggle);
  }
}

void CSettingDlg::CreatePages() {
  lists_[0] = std::make_unique<CSetting_BaseDlg>(context_);
  lists_[1] = std::make_unique<CSetting_WindowsDlg>(context_);
  lists_[2] = std::make_unique<CSetting_MediaDlg>(context_);
  lists_[3] = std::make_unique<CSetting_MouseDlg>(context_);
  advance_ = std::make_unique<CSetting_AdvanceDlg>(context_);
  const RECT r = ToRect(kPickerPageRect);
  for (int category = 1; category <= kCategoryCount; ++category) {
    Dialog& page = Page(category);
    page.CreateModeless(hwnd());
    ::ShowWindow(page.hwnd(), SW_HIDE);
    ::MoveWindow(page.hwnd(), r.left, r.top, r.right - r.left, r.bottom - r.top, FALSE);
  }
}

void CSettingDlg::ShowCategory(int n) {
  const bool disabled = Button(PickerButton::Disable).GetCheck() != 0;
  if (!disabled && (n < 1 || n > kCategoryCount)) return;
  for (int category = 1; category <= kCategoryCount; ++category) {
    const bool shown = !disabled && category == n;
    Mutable(TabOf(category)).SetCheck(shown ? 1 : 0);
    ::ShowWindow(Page(category).hwnd(), shown ? SW_SHOW : SW_HIDE);
  }
}

void CSettingDlg::OnOkButton() {
  resultCode_ = 0;
  path_.clear();
  if (Button(PickerButton::Disable).GetCheck()) {
    resultCode_ = kDisabledCode;
  } else {
    int category = 1;
    while (category <= kListCategories && !IsShown(*lists_[category - 1])) ++category;
    if (category <= kListCategories)
      resultCode_ = lists_[category - 1]->GetSelectedCode();
    else if (IsShown(*advance_))
      resultCode_ = advance_->GetChoice(path_);
  }
  if (NeedsPath(resultCode_) && path_.empty()) {
    // A function that opens nothing is no choice: say what is missing and let the user
    // browse for it.
    resultCode_ = 0;
    ShowInfo({context_.strings, context_.chineseInterface, hwnd(), context_.resources},
             std::u16string(context_.strings.Text(kPathMissingKey)), false);
    return;
  }
  if (resultCode_ != 0)
    OnOK();
  else
    OnCancel();
}

void CSettingDlg::OnButton(HWND from) {
  PickerButton pressed{};
  bool found = false;
  for (const PickerButtonPlace& place : kPickerButtons) {
    if (Button(place.button).hwnd() == from) {
      pressed = place.button;
      found = true;
    }
  }
  if (!found) return;
  switch (pressed) {
    case PickerButton::Close: OnCancel(); break;
    case PickerButton::Disable: {
      CGDIBitmapBtn& box = Mutable(PickerButton::Disable);
      box.SetCheck(box.GetCheck() ? 0 : 1);
      ShowCategory(kCategoryBase);
      break;
    }
    case PickerButton::Default:
      resultCode_ = slots_[static_cast<size_t>(slotIndex_)].InitID;
      OnOK();
      break;
    case PickerButton::Ok: OnOkButton(); break;
    default:
      ShowCategory(static_cast<int>(pressed) - static_cast<int>(PickerButton::TabBase) + 1);
      break;
  }
}

void CSettingDlg::Paint() {
  PaintDC paint(hwnd());
  const RECT client = ClientRect();
  MemoryCanvas canvas(paint.get(), client.right, client.bottom);
  if (normal_) BlitPicture(canvas.dc(), normal_.get(), size_.cx, size_.cy);
  {
    const TextPainter text(hwnd(), canvas.dc(), context_.strings.LanguageIndex(), kTextFont,
                           kPickerTextColour);
    text.Draw(context_.strings.Text("str_panel"), ToRect(kPickerTitleRect), kPickerTitleFlags);
    text.Draw(std::u16string(context_.strings.Text("str_cur_function")) + currentFunction_,
              ToRect(kPickerCurrentFunctionRect), kPickerLabelFlags);
    text.Draw(context_.strings.Text("str_list_disable"), ToRect(kPickerDisableLabelRect),
              kPickerLabelFlags);
  }
  canvas.CopyTo(paint.get());
}

bool CSettingDlg::PreTranslateMessage(MSG& msg) {
  return IsEnterEscapeOrSpace(msg);
}

LRESULT CSettingDlg::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: return TRUE;
    case WM_PAINT: Paint(); return 0;
    case WM_CLOSE:
      // Closed from outside (the program ending): an answer of cancel, whatever was chosen.
      resultCode_ = 0;
      path_.clear();
      OnCancel();
      return 0;
    case WM_LBUTTONDOWN:
      // The whole surface is the caption: a press drags the picker.
      Post(WM_NCLBUTTONDOWN, HTCAPTION, lp);
      return 0;
    case WM_COMMAND:
      if (lp != 0 && HIWORD(wp) == BN_CLICKED) {
        OnButton(reinterpret_cast<HWND>(lp));
        return 0;
      }
      break;
    default: break;
  }
  return Dialog::HandleMessage(msg, wp, lp);
}

}  // namespace norvi
