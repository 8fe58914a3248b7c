#include "controls/DlgInfo_win32.h"

#include <algorithm>

#include "controls/TextDraw_win32.h"
#include "base/WideText.h"
#include "res/ResourceIds.h"

namespace norvi {
namespace {

const wchar_t kWindowText[] = L"ZarqoPelkoInfoDlg";
const char16_t kTitleChinese[] = u"\u63d0\u793a";  // "Tips"
const char16_t kTitleOther[] = u"Tips";

using namespace infobox;

constexpr RECT kCloseRect{300, 0, 329, 29};
constexpr RECT kTitleRect{10, 9, 100, 23};

constexpr COLORREF kTextColour = RGB(83, 97, 103);
constexpr COLORREF kButtonTextNormal = RGB(83, 97, 103);
constexpr COLORREF kButtonTextActive = RGB(255, 255, 255);
constexpr UINT kTitleFlags =
    DT_VCENTER | DT_WORDBREAK | DT_SINGLELINE | DT_NOCLIP | DT_END_ELLIPSIS;
static_assert(kTitleFlags == 0x8134);

// The message's rectangle: the lines it needs, centred in the message area (from its top
// when they need more).
RECT MessageRect(HDC dc, std::u16string_view message) {
  const TextNeed need = MeasureText(dc, message, kMessageArea, kMessageFlags);
  const int area = kMessageArea.bottom - kMessageArea.top;
  const int top = kMessageArea.top + std::max(0, (area - need.height) / 2);
  return {kMessageArea.left, top, kMessageArea.right,
          std::min(top + need.height, static_cast<int>(kMessageArea.bottom))};
}

struct FormPictures {
  UINT background, over, down;
};
constexpr FormPictures kTwoButtonPictures{IDB_INFO_TWO_BUTTONS_NORMAL, IDB_INFO_TWO_BUTTONS_OVER,
                                          IDB_INFO_TWO_BUTTONS_DOWN};
constexpr FormPictures kOneButtonPictures{IDB_INFO_ONE_BUTTON_NORMAL, IDB_INFO_ONE_BUTTON_OVER,
                                          IDB_INFO_ONE_BUTTON_DOWN};

HBITMAP LoadResourceBitmap(HMODULE module, UINT id) {
  return static_cast<HBITMAP>(
      ::LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

}  // namespace

CDlgInfo::CDlgInfo(const InfoSettings& settings)
    : Dialog(IDD_INFO, settings.resources), settings_(settings) {}

INT_PTR ShowInfo(const InfoSettings& settings, const std::u16string& text, bool twoButtons) {
  CDlgInfo dialog(settings);
  dialog.SetMessage(text);
  dialog.SetTwoButtons(twoButtons);
  const INT_PTR result = dialog.Run();
  return result == IDOK ? IDOK : IDCANCEL;
}

bool CDlgInfo::PreTranslateMessage(MSG& msg) {
  return IsEnterEscapeOrSpace(msg);
}

BOOL CDlgInfo::OnInitDialog() {
  ::SetWindowTextW(hwnd(), kWindowText);
  LoadPictures();
  CreateButtons();
  return TRUE;
}

void CDlgInfo::LoadPictures() {
  HMODULE module = settings_.resources ? settings_.resources : ::GetModuleHandleW(nullptr);
  const FormPictures& ids = twoButtons_ ? kTwoButtonPictures : kOneButtonPictures;
  background_.reset(LoadResourceBitmap(module, ids.background));
  over_.reset(LoadResourceBitmap(module, ids.over));
  down_.reset(LoadResourceBitmap(module, ids.down));
  BITMAP info{};
  if (!::GetObjectW(background_.get(), sizeof(info), &info)) return;
  const int x = (::GetSystemMetrics(SM_CXFULLSCREEN) - info.bmWidth) / 2;
  const int y = (::GetSystemMetrics(SM_CYFULLSCREEN) - info.bmHeight) / 2;
  ::SetWindowPos(hwnd(), nullptr, x, y, info.bmWidth, info.bmHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CDlgInfo::CreateButtons() {
  struct ButtonPlan {
    CGDIBitmapBtn& button;
    RECT rect;
    const char* captionKey;
  };
  const ButtonPlan plans[] = {
      {close_, kCloseRect, nullptr},
      {ok_, twoButtons_ ? kOkRectTwoButtons : kOkRectOneButton, "str_ok"},
      {cancel_, kCancelRect, "str_cancel"},
  };
  for (const ButtonPlan& plan : plans) {
    if (&plan.button == &cancel_ && !twoButtons_) continue;
    plan.button.Create(hwnd(), plan.rect);
    plan.button.SetImages(plan.rect, background_.get(), over_.get(), down_.get(),
                          background_.get());
    if (!plan.captionKey) continue;
    plan.button.SetLanguage(settings_.strings.LanguageIndex());
    plan.button.SetCaption(std::u16string(settings_.strings.Text(plan.captionKey)));
    plan.button.SetTextColours(kButtonTextNormal, kButtonTextActive, kButtonTextActive);
  }
}

void CDlgInfo::Paint() {
  PaintDC paint(hwnd());
  const RECT client = ClientRect();
  MemoryCanvas canvas(paint.get(), client.right, client.bottom);
  BlitPicture(canvas.dc(), background_.get(), client.right, client.bottom);
  {
    const TextPainter text(hwnd(), canvas.dc(), settings_.strings.LanguageIndex(), kTextFont,
                           kTextColour);
    text.Draw(message_, MessageRect(canvas.dc(), message_), kMessageFlags);
    text.Draw(settings_.chineseInterface ? kTitleChinese : kTitleOther, kTitleRect, kTitleFlags);
  }
  canvas.CopyTo(paint.get());
}

LRESULT CDlgInfo::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: return TRUE;
    case WM_PAINT: Paint(); return 0;
    case WM_COMMAND: {
      const HWND from = reinterpret_cast<HWND>(lp);
      if (from && from == ok_.hwnd()) {
        EndDialog(IDOK);
        return 0;
      }
      if (from && (from == cancel_.hwnd() || from == close_.hwnd())) {
        EndDialog(IDCANCEL);
        return 0;
      }
      break;
    }
    default: break;
  }
  return Dialog::HandleMessage(msg, wp, lp);
}

}  // namespace norvi
