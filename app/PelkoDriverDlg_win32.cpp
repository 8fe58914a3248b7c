#include "app/PelkoDriverDlg_win32.h"

#include <windowsx.h>

#include "app/ApplyModel.h"
#include "app/MainLabels_win32.h"
#include "app/Messages.h"
#include "app/MouseSettings.h"
#include "app/Startup.h"
#include "base/WideText.h"
#include "controls/TextDraw_win32.h"
#include "localisation/Languages.h"
#include "model/FunctionName.h"
#include "picker/SettingDlg_win32.h"
#include "res/ResourceIds.h"

namespace norvi {
namespace {

// The portable layer's messages, settings actions and text flags, as Windows has them.
static_assert(kWmUser == WM_USER && kLanguageAtStartUp == WM_INITDIALOG &&
              kTrayLeftDoubleClick == WM_LBUTTONDBLCLK && kTrayRightButtonUp == WM_RBUTTONUP);
static_assert(kSpiSetMouse == SPI_SETMOUSE && kSpiSetMouseSpeed == SPI_SETMOUSESPEED &&
              kSpiSetWheelScrollLines == SPI_SETWHEELSCROLLLINES && kSpiGetMouse == SPI_GETMOUSE &&
              kSpiGetMouseSpeed == SPI_GETMOUSESPEED &&
              kSpiGetWheelScrollLines == SPI_GETWHEELSCROLLLINES &&
              kWheelPageScroll == WHEEL_PAGESCROLL &&
              kSpifUpdateIniFileAndSendChange == (SPIF_UPDATEINIFILE | SPIF_SENDCHANGE));
static_assert(kHintFlags ==
              (DT_VCENTER | DT_WORDBREAK | DT_NOCLIP | DT_EDITCONTROL | DT_END_ELLIPSIS));
static_assert(kLangChineseSimplified == MAKELANGID(LANG_CHINESE, SUBLANG_CHINESE_SIMPLIFIED));

constexpr UINT kAboutStringId = 101;
constexpr UINT kCloseDelayMs = 500;
constexpr wchar_t kPairingTool[] = L"\\Varnel\\Varnix.exe";

struct BoxSearch {
  HWND main;
  HWND found;
};

// EnumThreadWindows: stops at a shown, enabled window that the main window owns.
BOOL CALLBACK FindOpenBox(HWND w, LPARAM lp) {
  auto& search = *reinterpret_cast<BoxSearch*>(lp);
  if (!::IsWindowVisible(w) || !::IsWindowEnabled(w)) return TRUE;
  for (HWND owner = ::GetWindow(w, GW_OWNER); owner; owner = ::GetWindow(owner, GW_OWNER)) {
    if (owner != search.main) continue;
    search.found = w;
    return FALSE;
  }
  return TRUE;
}

}  // namespace

CPelkoDriverDlg::CPelkoDriverDlg(const MainServices& services)
    : Dialog(kMainDialogTemplate),
      services_(services),
      profile_(services.profile),
      device_(services_, *this,
              [this](const std::u16string& program) { tray_.SetTip(TitleNaming(program)); }),
      keeper_(services_, device_, *this),
      editing_(services_.configFolder, services_.profile, [] { ::Sleep(kProfileReadPauseMs); }),
      tray_(services_),
      language_(services_, [this] { RefreshLanguageTexts(); }),
      skin_(services_) {}

BOOL CPelkoDriverDlg::OnInitDialog() {
  keeper_.Attach(hwnd());
  language_.Attach(hwnd());
  // What the window's creation does: the basic language and the skin with its controls.
  language_.LoadBasic();
  skin_.Build(hwnd());
  AddSystemMenuItem();
  SetIcons();
  ::SetWindowTextW(hwnd(), W(TitleNaming({})));
  language_.ShowBasicFlag();
  SetTimer(kTrayIconTimer, 0);  // timers come after painting
  // Changes kept where the user would not look for them must not go unnoticed.
  if (!services_.usualConfigFolder.empty())
    services_.Tell(kConfigElsewhereKey, services_.configFolder, hwnd());
  keeper_.Load();
  language_.PostStartLanguage();
  // Without a reader the program must not remap: nobody would perform the swallowed inputs.
  if (!device_.Start()) services_.Tell(kNoRemappingKey, {}, hwnd());
  keeper_.ApplyAtStart();
  device_.FollowForeground();
  ::ShowWindow(hwnd(), SW_SHOW);
  ::BringWindowToTop(hwnd());
  SetTimer(kWheelLinesTimer, kWheelLinesPeriodMs);
  ModifyStyle(0, WS_MINIMIZEBOX);
  return TRUE;
}

void CPelkoDriverDlg::RefreshLanguageTexts() {
  // Captions and tooltips in the face of the language just loaded.
  skin_.Relabel();
  ::InvalidateRect(hwnd(), nullptr, FALSE);  // the labels on the background
  RefreshTooltips();
}

HWND CPelkoDriverDlg::OpenBox() const {
  BoxSearch search{hwnd(), nullptr};
  ::EnumThreadWindows(::GetCurrentThreadId(), &FindOpenBox, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

bool CPelkoDriverDlg::FrontOpenBox() {
  // A modal box disables its owner for as long as it runs.
  if (::IsWindowEnabled(hwnd())) return false;
  if (HWND box = OpenBox()) ::SetForegroundWindow(box);
  return true;
}

void CPelkoDriverDlg::OnTrayNotify(LPARAM mouseMessage) {
  if (mouseMessage == kTrayLeftDoubleClick && !FrontOpenBox()) ShowFromTray();
  if (mouseMessage == kTrayRightButtonUp) tray_.ShowMenu(hwnd(), device_.ProgramInFront());
}

void CPelkoDriverDlg::ShowFromTray() {
  EditAssignmentsOf({});
  ::ShowWindow(hwnd(), SW_SHOW);
}

void CPelkoDriverDlg::OnTrayCommand(UINT command) {
  if (command == kCommandExit) {
    Post(WM_CLOSE);
    return;
  }
  if ((command == kCommandConfig || command == kCommandAppSettings) && FrontOpenBox()) return;
  if (command == kCommandConfig) ShowFromTray();
  if (command == kCommandAppSettings && !tray_.MenuProgram().empty()) {
    EditAssignmentsOf(tray_.MenuProgram());
    ::ShowWindow(hwnd(), SW_SHOW);
  }
}

std::u16string CPelkoDriverDlg::RestingHint() const {
  return editing_.EditsDefault() ? std::u16string() : AppModeText(services_, editing_.Program());
}

void CPelkoDriverDlg::AddSystemMenuItem() {
  wchar_t about[128];
  if (::LoadStringW(::GetModuleHandleW(nullptr), kAboutStringId, about, 128) <= 0) return;
  if (HMENU menu = ::GetSystemMenu(hwnd(), FALSE)) {
    ::AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    ::AppendMenuW(menu, MF_STRING, kCommandAbout, about);
  }
}

void CPelkoDriverDlg::SetIcons() {
  const HINSTANCE module = ::GetModuleHandleW(nullptr);
  for (WPARAM kind : {ICON_BIG, ICON_SMALL}) {
    const int size = ::GetSystemMetrics(kind == ICON_BIG ? SM_CXICON : SM_CXSMICON);
    // Shared icons belong to the system; nothing to release.
    Send(WM_SETICON, kind,
         reinterpret_cast<LPARAM>(::LoadImageW(module, MAKEINTRESOURCEW(IDI_PROGRAM), IMAGE_ICON,
                                               size, size, LR_SHARED)));
  }
}

void CPelkoDriverDlg::EditAssignmentsOf(const std::u16string& program) {
  editing_.Begin(program);
  ::SetWindowTextW(hwnd(), W(TitleNaming(program)));
  // The pointer and wheel settings are system-wide: only the default profile has them.
  const BOOL systemWide = editing_.EditsDefault();
  ::EnableWindow(skin_.Slider().hwnd(), systemWide);
  for (MainControl control :
       {MainControl::Precision, MainControl::RowsOption, MainControl::ScreenOption})
    ::EnableWindow(skin_.Button(control).hwnd(), systemWide);
  UpdateControls(1);
  RefreshTooltips();
  hint_ = RestingHint();
  RECT hint = ToRect(kHintRect);
  ::InvalidateRect(hwnd(), &hint, FALSE);
}

void CPelkoDriverDlg::SaveAppAssignments() {
  const ProfileOutcome saved = editing_.Save(services_.trace);
  device_.AppFileChanged(editing_.Program());
  UpdateControls(1);
  RefreshTooltips();
  if (saved.status == ProfileStatus::SaveFailed)
    services_.Tell(kProfileNotSavedKey, editing_.FilePath(), hwnd());
  else
    services_.Tell("str_msg1", {}, hwnd());
}

void CPelkoDriverDlg::RemoveAppAssignments() {
  const FileResult removed = editing_.Remove();
  device_.AppFileChanged(editing_.Program());
  EditAssignmentsOf(editing_.Program());  // the default assignments it has now
  if (!removed.ok()) services_.Tell(kProfileNotSavedKey, editing_.FilePath(), hwnd());
}

void CPelkoDriverDlg::UpdateControls(int form) {
  skin_.Slider().SetPos(profile_.PointerSpeed);
  skin_.Button(MainControl::Precision).SetCheck(profile_.EnhancePrecision == 1 ? 1 : 0);
  const WheelControlsView wheel = ViewOfWheel(profile_);
  skin_.Button(MainControl::RowsOption).SetCheck(wheel.rowsChecked);
  skin_.Button(MainControl::ScreenOption).SetCheck(wheel.screenChecked);
  SetWheelEditEnabled(wheel.editEnabled);
  dialogLines_ = wheel.dialogLines;
  for (int i = 0; i < kSlotCount; ++i) {
    const ButtonSlot& slot = editing_.Edited().Slots[i];
    skin_.Button(SlotControl(i)).SetCheck(SlotShownRemapped(slot, form) ? 1 : 0);
  }
  PushWheelLines();
}

void CPelkoDriverDlg::RefreshTooltips() {
  for (int number = 1; number <= kDescribedCount; ++number)
    skin_.Button(DescribedControl(number))
        .SetTooltip(HoverText(number, editing_.Edited().Slots, services_.strings, keyNames_), true);
}

void CPelkoDriverDlg::SetWheelEditEnabled(bool enabled) {
  enabled = enabled && editing_.EditsDefault();
  ::EnableWindow(skin_.WheelEdit().hwnd(), enabled);
  ::EnableWindow(skin_.Button(MainControl::RowsUp).hwnd(), enabled);
  ::EnableWindow(skin_.Button(MainControl::RowsDown).hwnd(), enabled);
}

void CPelkoDriverDlg::PushWheelLines() {
  ::SetWindowTextW(skin_.WheelEdit().hwnd(), std::to_wstring(dialogLines_).c_str());
}

void CPelkoDriverDlg::NormaliseWheelLines() {
  const int length = ::GetWindowTextLengthW(skin_.WheelEdit().hwnd());
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  ::GetWindowTextW(skin_.WheelEdit().hwnd(), text.data(), length + 1);
  text.resize(static_cast<size_t>(length));
  const NormalisedLines n = norvi::NormaliseWheelLines(U16(text));
  dialogLines_ = n.lines;
  profile_.WheelLines = n.lines;
  ::SetWindowTextW(skin_.WheelEdit().hwnd(), W(n.text));
  if (n.placeCaret) {
    skin_.WheelEdit().Send(EM_SETSEL, n.caret, n.caret);
    skin_.WheelEdit().Send(EM_SCROLLCARET);
  }
}

void CPelkoDriverDlg::Paint() {
  PaintDC paint(hwnd());
  MemoryCanvas canvas(paint.get(), skin_.Size().cx, skin_.Size().cy);
  skin_.PaintBackground(canvas.dc(), paint.paint().rcPaint);
  {
    const TextPainter text(hwnd(), canvas.dc(), services_.strings.LanguageIndex(), kTextFont,
                           kHintColour);
    text.Draw(hint_, ToRect(kHintRect), kHintFlags);
  }
  canvas.CopyTo(paint.get());
}

void CPelkoDriverDlg::OnButton(HWND button) {
  if (const std::optional<MainControl> control = skin_.ControlOf(button))
    OnSettingsButton(*control);
}

void CPelkoDriverDlg::OnSettingsButton(MainControl control) {
  switch (control) {
    case MainControl::Minimise: ::ShowWindow(hwnd(), SW_MINIMIZE); break;
    case MainControl::Close: ::ShowWindow(hwnd(), SW_HIDE); break;
    case MainControl::Precision: {
      CGDIBitmapBtn& box = skin_.Button(control);
      box.SetCheck(box.GetCheck() ? 0 : 1);
      profile_.EnhancePrecision = box.GetCheck() ? 1 : 0;
      break;
    }
    case MainControl::RowsOption:
      skin_.Button(MainControl::RowsOption).SetCheck(1);
      skin_.Button(MainControl::ScreenOption).SetCheck(0);
      SetWheelEditEnabled(true);
      profile_.WheelLines = dialogLines_;
      break;
    case MainControl::ScreenOption:
      skin_.Button(MainControl::RowsOption).SetCheck(0);
      skin_.Button(MainControl::ScreenOption).SetCheck(1);
      SetWheelEditEnabled(false);
      profile_.WheelLines = kWheelLinesScreen;
      break;
    case MainControl::RowsUp:
    case MainControl::RowsDown:
      dialogLines_ = control == MainControl::RowsUp ? WheelLinesUp(dialogLines_)
                                                    : WheelLinesDown(dialogLines_);
      profile_.WheelLines = dialogLines_;
      PushWheelLines();
      break;
    case MainControl::Pair:
      device_.System().EnterApartment();
      device_.System().Execute(reinterpret_cast<WindowHandle>(hwnd()), u"open",
                               (services_.programFolder + U16(kPairingTool)).c_str(), nullptr,
                               nullptr, SW_SHOWNORMAL);
      break;
    case MainControl::Defaults: {
      const std::u16string asked = editing_.Program();
      if (services_.app.Tell(std::u16string(services_.strings.Text("str_msg3")), true, hwnd()) !=
              IDOK ||
          editing_.Program() != asked)
        break;
      if (editing_.EditsDefault())
        Post(UM_RESET_PROFILE);
      else
        RemoveAppAssignments();
      break;
    }
    case MainControl::Ok: {
      if (!editing_.EditsDefault()) {
        SaveAppAssignments();
        break;
      }
      if (profile_.WheelLines != kWheelLinesScreen) NormaliseWheelLines();
      keeper_.ApplyConfirmed();
      break;
    }
    case MainControl::Language: {
      RECT button{};
      ::GetWindowRect(skin_.Button(MainControl::Language).hwnd(), &button);
      language_.Open(button);
      break;
    }
    default:
      if (SlotOf(control) >= 0) ChooseFunction(SlotOf(control));
      break;
  }
}

void CPelkoDriverDlg::ChooseFunction(int slot) {
  const PickerContext context{services_.strings, services_.programFolder, pathChooser_};
  CSettingDlg picker(hwnd(), context, editing_.Edited().Slots);
  picker.SetSlotIndex(slot);
  const ButtonSlot& current = editing_.Edited().Slots[slot];
  picker.SetCurrentFunction(
      SlotFunctionName(current.FunID, PathText(current), services_.strings, keyNames_));
  const std::u16string asked = editing_.Program();
  if (picker.Run() != IDOK || editing_.Program() != asked) return;
  StorePendingChoice(editing_.Edited(), slot, picker.ResultCode(), picker.ResultPath(),
                     services_.trace);
  UpdateControls(0);
}

void CPelkoDriverDlg::OnMouseMove(POINT client) {
  if (hint_ != RestingHint()) {
    hint_ = RestingHint();
    RECT hint = ToRect(kHintRect);
    ::InvalidateRect(hwnd(), &hint, FALSE);
  }
  std::array<LayoutRect, kDescribedCount> rects{};
  for (size_t i = 0; i < rects.size(); ++i) {
    RECT r{};
    if (!::GetWindowRect(skin_.Button(DescribedControl(static_cast<int>(i + 1))).hwnd(), &r))
      continue;
    ::MapWindowPoints(HWND_DESKTOP, hwnd(), reinterpret_cast<POINT*>(&r), 2);
    rects[i] = {r.left, r.top, r.right, r.bottom};
  }
  const uint32_t hits = HoverHits(rects, client.x, client.y);
  for (size_t i = 0; i < rects.size(); ++i)
    if (hits & (1u << i)) Post(UM_HOVER_TEXT, 0, static_cast<LPARAM>(i + 1));
}

void CPelkoDriverDlg::OnHoverText(LPARAM number) {
  hint_ = number >= 1 && number <= kDescribedCount
              ? HoverText(static_cast<int>(number), editing_.Edited().Slots, services_.strings,
                          keyNames_)
              : RestingHint();
  RECT hint = ToRect(kHintRect);
  ::InvalidateRect(hwnd(), &hint, FALSE);
}

void CPelkoDriverDlg::OnTimer(UINT_PTR id) {
  if (id == kWheelLinesTimer && skin_.Button(MainControl::RowsOption).GetCheck())
    NormaliseWheelLines();
  if (id == kAltReleaseTimerId) device_.OnAltReleaseTimer();
  if (id == kKeyRepeatTimerId) device_.OnKeyRepeatTimer();
  if (id == kCloseAfterBoxTimer) {
    KillTimer(kCloseAfterBoxTimer);
    Post(WM_CLOSE);
  }
  if (id == kTrayIconTimer) {
    KillTimer(kTrayIconTimer);
    tray_.Add(hwnd());
    tray_.SetTip(TitleNaming(device_.InForce()));  // a switch before the icon was there
  }
}

void CPelkoDriverDlg::OnClose() {
  // A box still open is answered "cancel" first: its caller then goes on as after a cancel,
  // and the close comes back once the box is gone.
  if (!::IsWindowEnabled(hwnd())) {
    if (HWND box = OpenBox()) ::PostMessageW(box, WM_CLOSE, 0, 0);
    SetTimer(kCloseAfterBoxTimer, kCloseAfterBoxMs);
    return;
  }
  tray_.Remove();
  device_.Stop();
  keeper_.SaveAtExit();
  ::Sleep(kCloseDelayMs);
  EndDialog(IDCANCEL);
}

bool CPelkoDriverDlg::PreTranslateMessage(MSG& msg) {
  if (IsEnterEscapeOrSpace(msg)) return true;
  if (msg.message == WM_SYSKEYDOWN && msg.wParam == VK_F4) {
    ::ShowWindow(hwnd(), SW_HIDE);  // Alt+F4 hides; the program stays in the tray
    return true;
  }
  return Dialog::PreTranslateMessage(msg);
}

LRESULT CPelkoDriverDlg::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: Paint(); return 0;
    case WM_LBUTTONDOWN:
      // Any background point drags the window.
      Post(WM_NCLBUTTONDOWN, HTCAPTION, lp);
      return 0;
    case WM_MOUSEMOVE: OnMouseMove({GET_X_LPARAM(lp), GET_Y_LPARAM(lp)}); break;
    case WM_COMMAND:
      if (lp != 0 && HIWORD(wp) == BN_CLICKED) OnButton(reinterpret_cast<HWND>(lp));
      if (lp == 0) OnTrayCommand(LOWORD(wp));
      break;
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
      if (LRESULT result = 0; tray_.HandleOwnerMessage(msg, wp, lp, result)) return result;
      break;
    case WM_DEVICECHANGE: device_.OnDeviceChange(wp); return 1;
    case WM_TIMER: OnTimer(wp); break;
    case WM_CLOSE: OnClose(); return 0;
    case UM_DEVICE_EVENT:
      device_.OnDeviceEvent(static_cast<uint32_t>(wp), static_cast<uint32_t>(lp));
      return 1;
    case UM_SPEED_CHANGED:
      OnSpeedChanged(profile_, static_cast<uint32_t>(wp), static_cast<int32_t>(lp));
      return 1;
    case UM_HOVER_TEXT: OnHoverText(lp); return 1;
    case UM_RESET_PROFILE: keeper_.Reset(); return 0;
    case UM_LANGUAGE: language_.Apply(wp, lp); return 0;
    case UM_TRAY_NOTIFY: OnTrayNotify(lp); return 1;
    case UM_FOREGROUND_CHECK: device_.OnForegroundCheck(static_cast<uint32_t>(lp)); return 0;
    default: tray_.OnShellMessage(msg); break;
  }
  return Dialog::HandleMessage(msg, wp, lp);
}

}  // namespace norvi
