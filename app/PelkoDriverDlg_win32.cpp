#include "app/PelkoDriverDlg_win32.h"

#include <windowsx.h>

#include "app/DiscardingTraceSink.h"
#include "app/Messages.h"
#include "app/MouseSettings.h"
#include "app/PelkoDriverApp_win32.h"
#include "app/Startup.h"
#include "controls/ImageHelpers_win32.h"
#include "controls/TextFont.h"
#include "base/WideText.h"
#include "localisation/Languages.h"
#include "model/AppProfiles.h"
#include "model/FunctionName.h"
#include "model/ProfileStore.h"
#include "picker/SettingDlg_win32.h"
#include "receiver/ReceiverProtocol.h"
#include "res/ResourceIds.h"

namespace norvi {
namespace {

// The portable layer's messages, settings actions and text flags, as Windows has them.
static_assert(kWmUser == WM_USER && kLanguageAtStartUp == WM_INITDIALOG &&
              kTrayLeftDoubleClick == WM_LBUTTONDBLCLK && kTrayRightButtonUp == WM_RBUTTONUP);
static_assert(kSpiSetMouse == SPI_SETMOUSE && kSpiSetMouseSpeed == SPI_SETMOUSESPEED &&
              kSpiSetWheelScrollLines == SPI_SETWHEELSCROLLLINES &&
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

// The fourteen described controls in hover order (numbers 1 to 14) and their language keys;
// the slot buttons show their function's name instead.
struct Described {
  MainControl control;
  std::string_view key;
};
constexpr std::array<Described, kDescribedCount> kDescribed{{
    {MainControl::Precision, "str_improveAccuracy"},
    {MainControl::RowsOption, "str_rollerRows"},
    {MainControl::ScreenOption, "str_rollerScreen"},
    {MainControl::Slot0, {}},
    {MainControl::Slot1, {}},
    {MainControl::Slot2, {}},
    {MainControl::Slot3, {}},
    {MainControl::Slot4, {}},
    {MainControl::Slot5, {}},
    {MainControl::Slot6, {}},
    {MainControl::Slot7, {}},
    {MainControl::Pair, "str_openPair"},
    {MainControl::Defaults, "str_list_default"},
    {MainControl::Ok, "str_ok"},
}};

int SlotOf(MainControl control) {
  return static_cast<int>(control) - static_cast<int>(MainControl::Slot0);
}
bool IsSlot(MainControl control) {
  return SlotOf(control) >= 0 && SlotOf(control) < kSlotCount;
}

std::u16string FormatPath(std::u16string_view format, const std::u16string& path) {
  std::u16string text(format);
  if (const size_t at = text.find(u"%s"); at != std::u16string::npos) text.replace(at, 2, path);
  return text;
}

}  // namespace

CPelkoDriverDlg::CPelkoDriverDlg(CPelkoDriverApp& app)
    : Dialog(kMainDialogTemplate),
      app_(app),
      profile_(app.Profile()),
      profileFile_(ProfilePathIn(app.ConfigFolder()), [] { ::Sleep(kProfileReadPauseMs); }),
      function_(active_.Slots, {input_, windows_, system_, timer_, debugger_}),
      driver_(app) {}

CPelkoDriverDlg::~CPelkoDriverDlg() {
  function_.Shutdown();
}

RECT CPelkoDriverDlg::Place(MainControl control) const {
  return ToRect(PlaceOf(control, app_.ChineseInterface()));
}

BOOL CPelkoDriverDlg::OnInitDialog() {
  // What the window's creation does: the basic language and the skin with its controls.
  InitBasicLanguage(false);
  BuildSkin();
  AddSystemMenuItem();
  SetIcons();
  ::SetWindowTextW(hwnd(), W(TitleNaming({})));
  InitBasicLanguage(true);
  SetTimer(kTrayIconTimer, 0);  // timers come after painting
  LoadProfile();
  devices_.RegisterUsb(hwnd());
  PostStartLanguage();
  // Without the driver the program runs without remapping; without a reader it must not
  // remap either, since nobody would perform the swallowed inputs.
  if (!driver_.StartReader(hwnd())) TellText(kNoRemappingKey, {});
  driver_.Open();
  ReportSave(ApplySetting(), kProfileNotSavedKey);
  foreground_ = std::make_unique<ForegroundTracker>(
      [this](const std::u16string& program) { OnForeground(program); });
  driver_.WatchInput(hwnd(), UM_FOREGROUND_CHECK);  // until the system's event shows up
  ::ShowWindow(hwnd(), SW_SHOW);
  ::BringWindowToTop(hwnd());
  SetTimer(kWheelLinesTimer, kWheelLinesPeriodMs);
  ModifyStyle(0, WS_MINIMIZEBOX);
  return TRUE;
}

void CPelkoDriverDlg::InitBasicLanguage(bool showFlag) {
  if (showFlag)
    ShowBasicFlag();
  else
    LoadBasicLanguage();
}

void CPelkoDriverDlg::LoadBasicLanguage() {
  const std::u16string ini = app_.ProgramFolder() + std::u16string(kBasicLanguageFile);
  const int type = ::GetPrivateProfileIntW(W(std::u16string(kBasicLanguageSection)),
                                           W(std::u16string(kBasicLanguageKey)), 0, W(ini));
  basicLanguage_ = &norvi::BasicLanguage(type);
  app_.SetChineseInterface(basicLanguage_->index == kSimplifiedChineseIndex);
  LoadLanguageStrings(basicLanguage_->file);
}

void CPelkoDriverDlg::ShowBasicFlag() {
  ShowFlag(app_.ChineseInterface() ? kSimplifiedChineseIndex : kEnglishIndex);
  if (const HWND flag = ::GetDlgItem(hwnd(), kFlagControlId))
    ::MoveWindow(flag, kFlagRect.left, kFlagRect.top, kFlagRect.width(), kFlagRect.height(), TRUE);
}

void CPelkoDriverDlg::PostStartLanguage() {
  // Without "Language.cfg" this is the first run: the installation's language, silently.
  const LanguageChoiceRead read = ReadLanguageChoice(LanguageChoicePathIn(app_.ConfigFolder()));
  Post(UM_LANGUAGE, kLanguageAtStartUp, StartLanguageIndex(read, *basicLanguage_));
}

void CPelkoDriverDlg::OpenLanguageMenu() {
  retiredMenu_.reset();
  languageMenu_.reset();
  RECT button{};
  ::GetWindowRect(Button(MainControl::Language).hwnd(), &button);
  auto menu = std::make_unique<CMenuExA>();
  menu->LoadBackground(IDP_POPUP_FRAME);
  if (menu->CreatePopup(hwnd(), button.left + kLanguageMenuDx, button.bottom + kLanguageMenuDy,
                        UM_LANGUAGE))
    languageMenu_ = std::move(menu);
}

bool CPelkoDriverDlg::LanguageMenuOpen() const {
  return languageMenu_ && ::IsWindow(languageMenu_->hwnd());
}

void CPelkoDriverDlg::SetChineseInterface(bool chinese) {
  app_.SetChineseInterface(chinese);
}

void CPelkoDriverDlg::LoadLanguageStrings(std::u16string_view file) {
  app_.Strings().LoadLanguageStrings(app_.ProgramFolder() + u"\\" + std::u16string(file));
}

void CPelkoDriverDlg::ShowFlag(int32_t index) {
  const HWND flag = ::GetDlgItem(hwnd(), kFlagControlId);
  if (!flag) return;
  // The control never holds a deleted picture: the old one goes once the new one is set.
  UniqueBitmap picture(
      ::LoadBitmapW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_FLAG_FIRST + index - 1)));
  ::SendMessageW(flag, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(picture.get()));
  flag_ = std::move(picture);
}

void CPelkoDriverDlg::StoreLanguageChoice(int32_t index) {
  const std::u16string path = LanguageChoicePathIn(app_.ConfigFolder());
  const FileResult written = WriteLanguageChoice(path, index);
  const std::string_view key = LanguageSaveMessageKey(written.error);
  if (written.ok() || key.empty()) return;
  const std::u16string text = FormatPath(app_.Strings().Text(key), path);
  ::MessageBoxW(hwnd(), W(text), W(std::u16string(kSaveFailedCaption)), MB_OK);
}

void CPelkoDriverDlg::RefreshLanguageTexts() {
  Button(MainControl::Pair).SetCaption(std::u16string(app_.Strings().Text("str_openPair")));
  Button(MainControl::Defaults).SetCaption(std::u16string(app_.Strings().Text("str_list_default")));
  Button(MainControl::Ok).SetCaption(std::u16string(app_.Strings().Text("str_ok")));
  RefreshTooltips();
}

void CPelkoDriverDlg::CloseLanguageMenu() {
  if (LanguageMenuOpen()) languageMenu_->Post(WM_CLOSE);
  if (languageMenu_) retiredMenu_ = std::move(languageMenu_);
}

void CPelkoDriverDlg::BuildSkin() {
  const std::u16string skins = app_.ProgramFolder() + u"\\skins\\";
  SIZE ignored{};
  // The hover and pressed skins are only cut into the buttons' own pictures: they go once the
  // controls stand, which keeps two full-window pictures out of the running program.
  UniqueBitmap over, down;
  LoadPictureFile(skins + u"Main_Normal.bmp", normal_, size_);
  LoadPictureFile(skins + u"Main_Down.bmp", down, ignored);
  LoadPictureFile(skins + u"Main_Over.bmp", over, ignored);
  if (size_.cx <= 0 || size_.cy <= 0) size_ = {kDefaultWidth, kDefaultHeight};
  ::MoveWindow(hwnd(), CentredOrigin(::GetSystemMetrics(SM_CXFULLSCREEN), size_.cx),
               CentredOrigin(::GetSystemMetrics(SM_CYFULLSCREEN), size_.cy), size_.cx, size_.cy,
               FALSE);
  // The language background lives only while the controls cut their backgrounds from it.
  const UINT backgroundId =
      app_.ChineseInterface() ? IDB_LANGUAGE_BACKGROUND_CHINESE : IDB_LANGUAGE_BACKGROUND_OTHER;
  UniqueBitmap background(
      ::LoadBitmapW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(backgroundId)));
  std::unique_ptr<Gdiplus::Bitmap> languageBackground;
  if (background) languageBackground.reset(Gdiplus::Bitmap::FromHBITMAP(background.get(), nullptr));
  for (const ControlPlace& place : MainControlPlaces())
    CreateControl(place, languageBackground.get(), over.get(), down.get());
}

void CPelkoDriverDlg::CreateControl(const ControlPlace& place, Gdiplus::Bitmap* languageBackground,
                                    HBITMAP over, HBITMAP down) {
  const RECT rect = Place(place.control);
  switch (place.control) {
    case MainControl::SpeedSlider:
      slider_.Create(app_.ProgramFolder() + u"\\skins\\Slider.png", rect, hwnd(), kSpeedSliderId);
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
      button.SetCaption(std::u16string(app_.Strings().Text("str_openPair")));
      button.SetTextColours(kCaptionGrey, kCaptionGrey, kCaptionWhite);
      break;
    case MainControl::Defaults:
      button.SetCaption(std::u16string(app_.Strings().Text("str_list_default")));
      button.SetTextColours(kCaptionGrey, kCaptionGrey, kCaptionWhite);
      break;
    case MainControl::Ok:
      button.SetCaption(std::u16string(app_.Strings().Text("str_ok")));
      button.SetTextColours(kCaptionWhite, kCaptionWhite, kCaptionWhite);
      break;
    default:
      if (IsSlot(place.control)) button.SetToggleMode(1);
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

void CPelkoDriverDlg::AddTrayIcon() {
  taskbarCreated_ = ::RegisterWindowMessageW(L"TaskbarCreated");
  // A shared icon belongs to the system; nothing to release.
  tray_.Add(hwnd(), static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr),
                                                    MAKEINTRESOURCEW(IDI_PROGRAM), IMAGE_ICON, 0, 0,
                                                    LR_DEFAULTSIZE | LR_SHARED)));
}

void CPelkoDriverDlg::OnTrayNotify(LPARAM mouseMessage) {
  if (mouseMessage == kTrayLeftDoubleClick) ShowFromTray();
  if (mouseMessage == kTrayRightButtonUp) ShowTrayMenu();
}

void CPelkoDriverDlg::ShowTrayMenu() {
  CXPMenu menu;
  // One look now: where the system raises no foreground event, the last input may have
  // switched programs without a look since.
  if (foreground_) foreground_->Check();
  menuProgram_ = foreground_ ? foreground_->LastProgram() : std::u16string();
  if (!menuProgram_.empty())
    menu.AddItem(kCommandAppSettings, IDI_TRAY_CONFIG, IDI_TRAY_CONFIG, AppModeText(menuProgram_));
  menu.AddItem(kCommandConfig, IDI_TRAY_CONFIG, IDI_TRAY_CONFIG, u"Config");
  menu.AddItem(kCommandExit, IDI_TRAY_EXIT, IDI_TRAY_EXIT, u"Exit");
  POINT cursor{};
  ::GetCursorPos(&cursor);
  // Without the foreground the menu would not close when the user clicks elsewhere.
  ::SetForegroundWindow(hwnd());
  trayMenu_ = &menu;
  menu.Track(hwnd(), cursor, TPM_RIGHTBUTTON);
  trayMenu_ = nullptr;
}

void CPelkoDriverDlg::ShowFromTray() {
  EditAssignmentsOf({});
  ::ShowWindow(hwnd(), SW_SHOW);
}

std::u16string CPelkoDriverDlg::AppModeText(const std::u16string& program) const {
  return FormatPath(app_.Strings().Text(kAppSettingsKey), program);
}

std::u16string CPelkoDriverDlg::RestingHint() const {
  return editing_.empty() ? std::u16string() : AppModeText(editing_);
}

void CPelkoDriverDlg::EditAssignmentsOf(const std::u16string& program) {
  editing_ = program;
  if (!editing_.empty())
    appImage_ = LoadAppAssignments(app_.ConfigFolder(), editing_, profile_).image;
  ::SetWindowTextW(hwnd(), W(TitleNaming(editing_)));
  // The pointer and wheel settings are system-wide: only the default profile has them.
  const BOOL systemWide = editing_.empty();
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
  ApplyPendingChoices(appImage_, app_);
  const ProfileOutcome saved = norvi::SaveAppAssignments(app_.ConfigFolder(), editing_, appImage_);
  AppFileChanged(editing_);
  UpdateControls(1);
  RefreshTooltips();
  if (saved.status == ProfileStatus::SaveFailed)
    TellText(kProfileNotSavedKey, AppProfilePathIn(app_.ConfigFolder(), editing_).value_or(u""));
  else
    TellText("str_msg1", {});
}

void CPelkoDriverDlg::RemoveAppAssignments() {
  const FileResult removed = norvi::RemoveAppAssignments(app_.ConfigFolder(), editing_);
  AppFileChanged(editing_);
  EditAssignmentsOf(editing_);  // the default assignments it has now
  if (!removed.ok())
    TellText(kProfileNotSavedKey, AppProfilePathIn(app_.ConfigFolder(), editing_).value_or(u""));
}

void CPelkoDriverDlg::AppFileChanged(const std::u16string& program) {
  ownFile_.erase(program);
  const bool wasInForce = SameExecutableName(switch_.InForce(), program);
  OnForeground(foreground_ ? foreground_->LastProgram() : std::u16string());
  // Still in force: its new file replaces what was read before.
  if (wasInForce && SameExecutableName(switch_.InForce(), program)) SwitchTo(switch_.InForce());
}

void CPelkoDriverDlg::OnForegroundCheck() {
  if (!foreground_) return;
  if (foreground_->EventsDelivered()) {
    driver_.WatchInput(nullptr, 0);
    return;
  }
  driver_.InputWatched();
  foreground_->Check();
}

void CPelkoDriverDlg::OnDeviceChange(WPARAM event) {
  if (event != DBT_DEVICEREMOVECOMPLETE || receiverGone_) return;
  // A removed mouse never reports the release of a button held on it: a waiting switch
  // must not wait for it.
  SwitchTo(switch_.ReleaseAll());
  if (app_.DetectReceiver(ReceiverId) != 0) return;
  // The box runs its own message loop: a second removal arriving meanwhile must not show a
  // second box or close twice.
  receiverGone_ = true;
  app_.Tell(std::u16string(app_.Strings().Text("str_notfind")), false, hwnd());
  ::Sleep(kCloseDelayMs);
  Post(WM_CLOSE);
}

void CPelkoDriverDlg::LoadProfile() {
  const std::u16string& path = profileFile_.Path();
  const ProfileOutcome outcome = profileFile_.Load(profile_);
  switch (outcome.status) {
    case ProfileStatus::PathMissing:
      app_.Tell(FormatPath(kOpenFailedText, path), false, hwnd());
      break;
    case ProfileStatus::InvalidSignature:
      app_.Tell(std::u16string(app_.ChineseInterface() ? kInvalidProfileTextChinese
                                                       : kInvalidProfileText),
                false, hwnd());
      break;
    case ProfileStatus::Unreadable:
      if (!toldUnreadable_) TellText(kProfileUnreadableKey, path);
      toldUnreadable_ = true;
      break;
    default: break;
  }
  if (switch_.InForce().empty()) active_ = profile_;
  ownFile_.clear();
  UpdateControls(1);
}

ProfileOutcome CPelkoDriverDlg::SaveProfile() {
  return profileFile_.Save(profile_);
}

void CPelkoDriverDlg::ReportSave(const ProfileOutcome& outcome, std::string_view failureKey) {
  if (outcome.status == ProfileStatus::SaveFailed) TellText(failureKey, profileFile_.Path());
}

void CPelkoDriverDlg::TellText(std::string_view key, const std::u16string& path) {
  app_.Tell(FormatPath(app_.Strings().Text(key), path), false, hwnd());
}

void CPelkoDriverDlg::ResetProfile() {
  profileFile_.UserConfirmed();
  if (profileFile_.Reset().status == ProfileStatus::Saved) {
    LoadProfile();
  } else {
    // The defaults still apply; the failed save is reported once, by the apply below.
    profile_ = DefaultProfile();
    UpdateControls(1);
  }
  ReportSave(ApplySetting(), kProfileNotSavedKey);
}

ProfileOutcome CPelkoDriverDlg::ApplySetting() {
  const bool corrected =
      ApplyPointerAndWheel(profile_, system_, reinterpret_cast<WindowHandle>(hwnd()));
  ApplyPendingChoices(profile_, app_);
  ApplyFilerToDevice();
  RefreshTooltips();
  if (corrected) UpdateControls(1);  // show what Windows received
  return SaveProfile();
}

int32_t CPelkoDriverDlg::ApplyFilerToDevice() {
  return ApplyInForce(app_);
}

int32_t CPelkoDriverDlg::ApplyInForce(ITraceSink& trace) {
  if (switch_.InForce().empty()) {
    const int32_t result = norvi::ApplyFilerToDevice(profile_, *this, trace);
    active_ = profile_;
    return result;
  }
  // A program's own file: its slots over the default settings, applied as the default is,
  // without tracing a profile the main window does not show.
  DiscardingTraceSink quiet;
  active_ = LoadAppAssignments(app_.ConfigFolder(), switch_.InForce(), profile_).image;
  ApplyPendingChoices(active_, quiet);
  return norvi::ApplyFilerToDevice(active_, *this, quiet);
}

void CPelkoDriverDlg::OnForeground(const std::u16string& program) {
  // Only a valid file of its own changes anything; every other program shares the default.
  auto known = ownFile_.find(program);
  if (known == ownFile_.end()) {
    const AppSource source = LoadAppAssignments(app_.ConfigFolder(), program, profile_).source;
    known = ownFile_.emplace(program, source == AppSource::Own).first;
  }
  SwitchTo(switch_.Foreground(known->second ? program : std::u16string()));
}

void CPelkoDriverDlg::SwitchTo(const std::optional<std::u16string>& key) {
  if (!key) return;
  DiscardingTraceSink quiet;  // a switch is not an apply of the main window
  ApplyInForce(quiet);
  ShowProgramInTip();
}

void CPelkoDriverDlg::ShowProgramInTip() {
  tray_.SetTip(TitleNaming(switch_.InForce()));
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
    const ButtonSlot& slot = Edited().Slots[i];
    Button(SlotControl(i)).SetCheck(SlotShownRemapped(slot, form) ? 1 : 0);
  }
  PushWheelLines();
}

void CPelkoDriverDlg::RefreshTooltips() {
  for (const Described& d : kDescribed) {
    const std::u16string text =
        IsSlot(d.control) ? FunctionName(Edited().Slots[SlotOf(d.control)].FunID, app_.Strings())
                          : std::u16string(app_.Strings().Text(d.key));
    Button(d.control).SetTooltip(text, true);
  }
}

void CPelkoDriverDlg::SetWheelEditEnabled(bool enabled) {
  enabled = enabled && editing_.empty();
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
  UniqueFont font = CreateShellDlgFont(kTextFont.height, kTextFont.weight);
  {
    const TextScope text(canvas.dc(), font.get(), kHintColour);
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
      system_.EnterApartment();
      system_.Execute(reinterpret_cast<WindowHandle>(hwnd()), u"open",
                      (app_.ProgramFolder() + U16(kPairingTool)).c_str(), nullptr, nullptr,
                      SW_SHOWNORMAL);
      break;
    case MainControl::Defaults:
      if (app_.Tell(std::u16string(app_.Strings().Text("str_msg3")), true, hwnd()) != IDOK) break;
      if (editing_.empty())
        Post(UM_RESET_PROFILE);
      else
        RemoveAppAssignments();
      break;
    case MainControl::Ok: {
      if (!editing_.empty()) {
        SaveAppAssignments();
        break;
      }
      if (profile_.WheelLines != kWheelLinesScreen) NormaliseWheelLines();
      profileFile_.UserConfirmed();
      const ProfileOutcome saved = ApplySetting();
      // Never "saved" after a failure: the settings are in force but not kept.
      if (saved.status == ProfileStatus::SaveFailed)
        TellText(kProfileAppliedNotSavedKey, profileFile_.Path());
      else
        TellText("str_msg1", {});
      break;
    }
    case MainControl::Language: OpenLanguageMenu(); break;
    default:
      if (IsSlot(control)) ChooseFunction(SlotOf(control));
      break;
  }
}

void CPelkoDriverDlg::ChooseFunction(int slot) {
  pickerSlot_ = slot;
  const PickerContext context{app_.Strings(), app_.ProgramFolder(), pathChooser_};
  CSettingDlg picker(hwnd(), context, Edited().Slots);
  picker.SetSlotIndex(slot);
  picker.SetCurrentFunction(FunctionName(Edited().Slots[slot].FunID, app_.Strings()));
  if (picker.Run() != IDOK) return;
  StorePendingChoice(Edited(), slot, picker.ResultCode(), picker.ResultPath(), app_);
  UpdateControls(0);
}

void CPelkoDriverDlg::OnMouseMove(POINT client) {
  if (hint_ != RestingHint()) {
    hint_ = RestingHint();
    RECT hint = ToRect(kHintRect);
    ::InvalidateRect(hwnd(), &hint, FALSE);
  }
  std::array<LayoutRect, kDescribedCount> rects{};
  for (size_t i = 0; i < kDescribed.size(); ++i) {
    RECT r{};
    if (!::GetWindowRect(Button(kDescribed[i].control).hwnd(), &r)) continue;
    ::MapWindowPoints(HWND_DESKTOP, hwnd(), reinterpret_cast<POINT*>(&r), 2);
    rects[i] = {r.left, r.top, r.right, r.bottom};
  }
  const uint32_t hits = HoverHits(rects, client.x, client.y);
  for (size_t i = 0; i < kDescribed.size(); ++i)
    if (hits & (1u << i)) Post(UM_HOVER_TEXT, 0, static_cast<LPARAM>(i + 1));
}

void CPelkoDriverDlg::OnHoverText(LPARAM number) {
  hint_ = RestingHint();
  if (number >= 1 && number <= static_cast<LPARAM>(kDescribed.size())) {
    const Described& d = kDescribed[static_cast<size_t>(number - 1)];
    hint_ = IsSlot(d.control)
                ? FunctionName(Edited().Slots[SlotOf(d.control)].FunID, app_.Strings())
                : std::u16string(app_.Strings().Text(d.key));
  }
  RECT hint = ToRect(kHintRect);
  ::InvalidateRect(hwnd(), &hint, FALSE);
}

void CPelkoDriverDlg::OnTimer(UINT_PTR id) {
  if (id == kWheelLinesTimer && Button(MainControl::RowsOption).GetCheck()) NormaliseWheelLines();
  if (id == kAltReleaseTimerId) function_.OnAltReleaseTimer();
  if (id == kTrayIconTimer) {
    KillTimer(kTrayIconTimer);
    AddTrayIcon();
    ShowProgramInTip();  // a switch before the icon was there keeps its tip
  }
}

void CPelkoDriverDlg::OnClose() {
  driver_.WatchInput(nullptr, 0);
  foreground_.reset();
  tray_.Remove();
  driver_.SetMouseFilter(0);
  app_.Trace(u"OnClose:SetMouseDriverFilter 0\r\n");
  driver_.Close();
  driver_.StopReader();
  function_.Shutdown();  // no Alt key stays held after the program
  ReportSave(SaveProfile(), kProfileNotSavedKey);
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
      if (lp == 0 && LOWORD(wp) == kCommandConfig) ShowFromTray();
      if (lp == 0 && LOWORD(wp) == kCommandAppSettings && !menuProgram_.empty()) {
        EditAssignmentsOf(menuProgram_);
        ::ShowWindow(hwnd(), SW_SHOW);
      }
      if (lp == 0 && LOWORD(wp) == kCommandExit) Post(WM_CLOSE);
      break;
    case WM_MEASUREITEM:
    case WM_DRAWITEM:
      if (LRESULT result = 0; trayMenu_ && trayMenu_->HandleOwnerMessage(msg, wp, lp, result))
        return result;
      break;
    case WM_DEVICECHANGE: OnDeviceChange(wp); return 1;
    case WM_TIMER: OnTimer(wp); break;
    case WM_CLOSE: OnClose(); return 0;
    case UM_DEVICE_EVENT:
      DispatchDeviceEvent(static_cast<uint32_t>(wp), active_.Slots, app_, *this);
      SwitchTo(switch_.DeviceEventSeen(static_cast<uint32_t>(wp)));
      return 1;
    case UM_SPEED_CHANGED:
      OnSpeedChanged(profile_, static_cast<uint32_t>(wp), static_cast<int32_t>(lp));
      return 1;
    case UM_HOVER_TEXT: OnHoverText(lp); return 1;
    case UM_RESET_PROFILE: ResetProfile(); return 0;
    case UM_LANGUAGE:
      ApplyLanguage(static_cast<uint32_t>(wp), static_cast<int32_t>(lp), *this);
      return 0;
    case UM_TRAY_NOTIFY: OnTrayNotify(lp); return 1;
    case UM_FOREGROUND_CHECK: OnForegroundCheck(); return 0;
    default:
      if (msg == taskbarCreated_ && taskbarCreated_ != 0) tray_.AddAgain();
      break;
  }
  return Dialog::HandleMessage(msg, wp, lp);
}

}  // namespace norvi
