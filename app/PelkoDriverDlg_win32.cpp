#include "app/PelkoDriverDlg_win32.h"

#include <windowsx.h>

#include "app/ApplyModel.h"
#include "app/MainLabels_win32.h"
#include "app/Messages.h"
#include "app/MouseSettings.h"
#include "app/Startup.h"
#include "base/WideText.h"
#include "controls/ImageHelpers_win32.h"
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

constexpr int kDefaultWidth = 1000;  // when the skin pictures are missing
constexpr int kDefaultHeight = 715;
constexpr UINT kAboutStringId = 101;
constexpr DWORD kWheelEditStyle = WS_CHILD | WS_VISIBLE | ES_NUMBER | ES_AUTOHSCROLL | ES_CENTER;
constexpr UINT kCloseDelayMs = 500;
constexpr wchar_t kPairingTool[] = L"\\Varnel\\Varnix.exe";

RECT ToRect(const LayoutRect& r) {
  return {r.left, r.top, r.right, r.bottom};
}

// The buttons whose look holds a label.
constexpr std::array<MainControl, 3> kLabelledControls{
    MainControl::Precision, MainControl::RowsOption, MainControl::ScreenOption};

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
      language_(services_, [this] { RefreshLanguageTexts(); }) {}

RECT CPelkoDriverDlg::Place(MainControl control) const {
  return ToRect(PlaceOf(control, chineseLayout_));
}

BOOL CPelkoDriverDlg::OnInitDialog() {
  keeper_.Attach(hwnd());
  language_.Attach(hwnd());
  // What the window's creation does: the basic language and the skin with its controls.
  language_.LoadBasic();
  BuildSkin();
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
  for (const ControlPlace& place : MainControlPlaces())
    Button(place.control).SetLanguage(services_.strings.LanguageIndex());
  Button(MainControl::Pair).SetCaption(std::u16string(services_.strings.Text("str_openPair")));
  Button(MainControl::Defaults)
      .SetCaption(std::u16string(services_.strings.Text("str_list_default")));
  Button(MainControl::Ok).SetCaption(std::u16string(services_.strings.Text("str_ok")));
  LabelOptionButtons();
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

void CPelkoDriverDlg::BuildSkin() {
  const std::u16string skins = services_.programFolder + u"\\skins\\";
  SIZE ignored{};
  // The hover and pressed skins are only cut into the buttons' own pictures: they go once the
  // controls stand, which keeps two full-window pictures out of the running program.
  UniqueBitmap over, down;
  LoadPictureFile(skins + u"Main_Normal.bmp", normal_, size_);
  LoadPictureFile(skins + u"Main_Down.bmp", down, ignored);
  LoadPictureFile(skins + u"Main_Over.bmp", over, ignored);
  if (size_.cx <= 0 || size_.cy <= 0) size_ = {kDefaultWidth, kDefaultHeight};
  chineseLayout_ = services_.chineseInterface;
  ::MoveWindow(hwnd(), CentredOrigin(::GetSystemMetrics(SM_CXFULLSCREEN), size_.cx),
               CentredOrigin(::GetSystemMetrics(SM_CYFULLSCREEN), size_.cy), size_.cx, size_.cy,
               FALSE);
  // The language background lives only while the controls cut their backgrounds from it.
  const UINT backgroundId =
      services_.chineseInterface ? IDB_LANGUAGE_BACKGROUND_CHINESE : IDB_LANGUAGE_BACKGROUND_OTHER;
  UniqueBitmap background(
      ::LoadBitmapW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(backgroundId)));
  std::unique_ptr<Gdiplus::Bitmap> languageBackground;
  if (background) languageBackground.reset(Gdiplus::Bitmap::FromHBITMAP(background.get(), nullptr));
  for (const ControlPlace& place : MainControlPlaces())
    CreateControl(place, languageBackground.get(), over.get(), down.get());
  // A language change draws the labels anew over these.
  WindowDC dc(hwnd());
  for (size_t i = 0; i < kLabelledControls.size(); ++i) {
    const RECT place = Place(kLabelledControls[i]);
    std::array<UniqueBitmap, 3>& looks = optionLooks_[i];
    CutBitmap(dc.get(), looks[0], normal_.get(), place);
    CutBitmap(dc.get(), looks[1], over.get(), place);
    CutBitmap(dc.get(), looks[2], down.get(), place);
  }
  LabelOptionButtons();
}

UniqueBitmap CPelkoDriverDlg::LabelledPicture(HDC reference, HBITMAP labelFree,
                                              const RECT& place) const {
  const int width = place.right - place.left, height = place.bottom - place.top;
  UniqueBitmap picture(::CreateCompatibleBitmap(reference, width, height));
  {
    UniqueDC dc(::CreateCompatibleDC(reference));
    const SelectObjectScope select(dc.get(), picture.get());
    BlitPicture(dc.get(), labelFree, width, height);
    DrawMainLabels(hwnd(), dc.get(), {place.left, place.top}, place, services_.strings,
                   chineseLayout_);
  }
  return picture;
}

void CPelkoDriverDlg::LabelOptionButtons() {
  WindowDC screen(hwnd());
  for (size_t i = 0; i < kLabelledControls.size(); ++i) {
    const RECT place = Place(kLabelledControls[i]);
    const std::array<UniqueBitmap, 3>& looks = optionLooks_[i];
    const UniqueBitmap normal = LabelledPicture(screen.get(), looks[0].get(), place);
    const UniqueBitmap over = LabelledPicture(screen.get(), looks[1].get(), place);
    const UniqueBitmap down = LabelledPicture(screen.get(), looks[2].get(), place);
    const RECT own{0, 0, place.right - place.left, place.bottom - place.top};
    CGDIBitmapBtn& button = Button(kLabelledControls[i]);
    button.SetImages(own, normal.get(), over.get(), down.get(), normal.get());
    MarkCarriesTextBeneath(button.hwnd());
    button.Invalidate();
  }
}

void CPelkoDriverDlg::CreateControl(const ControlPlace& place, Gdiplus::Bitmap* languageBackground,
                                    HBITMAP over, HBITMAP down) {
  const RECT rect = Place(place.control);
  switch (place.control) {
    case MainControl::SpeedSlider:
      slider_.Create(services_.programFolder + u"\\skins\\Slider.png", rect, hwnd(),
                     kSpeedSliderId);
      slider_.SetTravelRect(ToRect(kSpeedTravel));
      slider_.SetRange(kMinPointerSpeed, kMaxPointerSpeed);
      if (languageBackground)
        slider_.SetTrackBackground(*languageBackground, rect.left, rect.top, rect.right - rect.left,
                                   rect.bottom - rect.top);
      return;
    case MainControl::RowsEdit:
      wheelEdit_.Create(hwnd(), rect, kWheelEditStyle, kWheelLinesEditId);
      wheelEdit_.SetRange(kMinWheelLines, kMaxWheelLines);
      if (languageBackground)
        wheelEdit_.SetBackground(*languageBackground, rect.left, rect.top, rect.right - rect.left,
                                 rect.bottom - rect.top);
      return;
    default: break;
  }
  CGDIBitmapBtn& button = Button(place.control);
  button.Create(hwnd(), rect);
  button.SetImages(rect, normal_.get(), over, down, normal_.get());
  button.SetLanguage(services_.strings.LanguageIndex());
  switch (place.control) {
    case MainControl::Precision:
    case MainControl::RowsOption:
    case MainControl::ScreenOption:
      button.SetToggleMode(1);
      button.SetRepeatClicks(true);  // quick clicks on a check box all count
      break;
    case MainControl::RowsUp:
    case MainControl::RowsDown: button.SetRepeatClicks(true); break;
    case MainControl::Pair:
      button.SetCaption(std::u16string(services_.strings.Text("str_openPair")));
      button.SetTextColours(kCaptionGrey, kCaptionGrey, kCaptionWhite);
      break;
    case MainControl::Defaults:
      button.SetCaption(std::u16string(services_.strings.Text("str_list_default")));
      button.SetTextColours(kCaptionGrey, kCaptionGrey, kCaptionWhite);
      break;
    case MainControl::Ok:
      button.SetCaption(std::u16string(services_.strings.Text("str_ok")));
      button.SetTextColours(kCaptionWhite, kCaptionWhite, kCaptionWhite);
      break;
    default:
      if (SlotOf(place.control) >= 0) button.SetToggleMode(1);
      break;
  }
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
  ::EnableWindow(slider_.hwnd(), systemWide);
  for (MainControl control :
       {MainControl::Precision, MainControl::RowsOption, MainControl::ScreenOption})
    ::EnableWindow(Button(control).hwnd(), systemWide);
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
  slider_.SetPos(profile_.PointerSpeed);
  Button(MainControl::Precision).SetCheck(profile_.EnhancePrecision == 1 ? 1 : 0);
  const WheelControlsView wheel = ViewOfWheel(profile_);
  Button(MainControl::RowsOption).SetCheck(wheel.rowsChecked);
  Button(MainControl::ScreenOption).SetCheck(wheel.screenChecked);
  SetWheelEditEnabled(wheel.editEnabled);
  dialogLines_ = wheel.dialogLines;
  for (int i = 0; i < kSlotCount; ++i) {
    const ButtonSlot& slot = editing_.Edited().Slots[i];
    Button(SlotControl(i)).SetCheck(SlotShownRemapped(slot, form) ? 1 : 0);
  }
  PushWheelLines();
}

void CPelkoDriverDlg::RefreshTooltips() {
  for (int number = 1; number <= kDescribedCount; ++number)
    Button(DescribedControl(number))
        .SetTooltip(HoverText(number, editing_.Edited().Slots, services_.strings, keyNames_), true);
}

void CPelkoDriverDlg::SetWheelEditEnabled(bool enabled) {
  enabled = enabled && editing_.EditsDefault();
  ::EnableWindow(wheelEdit_.hwnd(), enabled);
  ::EnableWindow(Button(MainControl::RowsUp).hwnd(), enabled);
  ::EnableWindow(Button(MainControl::RowsDown).hwnd(), enabled);
}

void CPelkoDriverDlg::PushWheelLines() {
  ::SetWindowTextW(wheelEdit_.hwnd(), std::to_wstring(dialogLines_).c_str());
}

void CPelkoDriverDlg::NormaliseWheelLines() {
  const int length = ::GetWindowTextLengthW(wheelEdit_.hwnd());
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  ::GetWindowTextW(wheelEdit_.hwnd(), text.data(), length + 1);
  text.resize(static_cast<size_t>(length));
  const NormalisedLines n = norvi::NormaliseWheelLines(U16(text));
  dialogLines_ = n.lines;
  profile_.WheelLines = n.lines;
  ::SetWindowTextW(wheelEdit_.hwnd(), W(n.text));
  if (n.placeCaret) {
    wheelEdit_.Send(EM_SETSEL, n.caret, n.caret);
    wheelEdit_.Send(EM_SCROLLCARET);
  }
}

void CPelkoDriverDlg::Paint() {
  PaintDC paint(hwnd());
  MemoryCanvas canvas(paint.get(), size_.cx, size_.cy);
  if (normal_) {
    BlitPicture(canvas.dc(), normal_.get(), size_.cx, size_.cy);
  } else {
    RECT all{0, 0, size_.cx, size_.cy};
    ::FillRect(canvas.dc(), &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  }
  DrawMainLabels(hwnd(), canvas.dc(), {0, 0}, paint.paint().rcPaint, services_.strings,
                 chineseLayout_);
  {
    const TextPainter text(hwnd(), canvas.dc(), services_.strings.LanguageIndex(), kTextFont,
                           kHintColour);
    text.Draw(hint_, ToRect(kHintRect), kHintFlags);
  }
  canvas.CopyTo(paint.get());
}

void CPelkoDriverDlg::OnButton(HWND button) {
  for (const ControlPlace& place : MainControlPlaces()) {
    if (Button(place.control).hwnd() == button) {
      OnSettingsButton(place.control);
      return;
    }
  }
}

void CPelkoDriverDlg::OnSettingsButton(MainControl control) {
  switch (control) {
    case MainControl::Minimise: ::ShowWindow(hwnd(), SW_MINIMIZE); break;
    case MainControl::Close: ::ShowWindow(hwnd(), SW_HIDE); break;
    case MainControl::Precision: {
      CGDIBitmapBtn& box = Button(control);
      box.SetCheck(box.GetCheck() ? 0 : 1);
      profile_.EnhancePrecision = box.GetCheck() ? 1 : 0;
      break;
    }
    case MainControl::RowsOption:
      Button(MainControl::RowsOption).SetCheck(1);
      Button(MainControl::ScreenOption).SetCheck(0);
      SetWheelEditEnabled(true);
      profile_.WheelLines = dialogLines_;
      break;
    case MainControl::ScreenOption:
      Button(MainControl::RowsOption).SetCheck(0);
      Button(MainControl::ScreenOption).SetCheck(1);
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
      ::GetWindowRect(Button(MainControl::Language).hwnd(), &button);
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
    if (!::GetWindowRect(Button(DescribedControl(static_cast<int>(i + 1))).hwnd(), &r)) continue;
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
  if (id == kWheelLinesTimer && Button(MainControl::RowsOption).GetCheck()) NormaliseWheelLines();
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
