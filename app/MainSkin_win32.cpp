#include "app/MainSkin_win32.h"

#include <memory>

#include "app/MainLabels_win32.h"
#include "app/MouseSettings.h"
#include "app/Startup.h"
#include "controls/ImageHelpers_win32.h"
#include "controls/TextDraw_win32.h"
#include "res/ResourceIds.h"

namespace norvi {
namespace {

constexpr int kDefaultWidth = 1000;  // when the skin pictures are missing
constexpr int kDefaultHeight = 715;
constexpr DWORD kWheelEditStyle = WS_CHILD | WS_VISIBLE | ES_NUMBER | ES_AUTOHSCROLL | ES_CENTER;

// The buttons whose look holds a label.
constexpr std::array<MainControl, 3> kLabelledControls{
    MainControl::Precision, MainControl::RowsOption, MainControl::ScreenOption};

}  // namespace

RECT MainSkin::Place(MainControl control) const {
  return ToRect(PlaceOf(control, chineseLayout_));
}

std::optional<MainControl> MainSkin::ControlOf(HWND button) const {
  for (const ControlPlace& place : MainControlPlaces())
    if (buttons_[static_cast<size_t>(place.control)].hwnd() == button) return place.control;
  return std::nullopt;
}

void MainSkin::Build(HWND window) {
  window_ = window;
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
  ::MoveWindow(window_, CentredOrigin(::GetSystemMetrics(SM_CXFULLSCREEN), size_.cx),
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
  WindowDC dc(window_);
  for (size_t i = 0; i < kLabelledControls.size(); ++i) {
    const RECT place = Place(kLabelledControls[i]);
    std::array<UniqueBitmap, 3>& looks = optionLooks_[i];
    CutBitmap(dc.get(), looks[0], normal_.get(), place);
    CutBitmap(dc.get(), looks[1], over.get(), place);
    CutBitmap(dc.get(), looks[2], down.get(), place);
  }
  LabelOptionButtons();
}

void MainSkin::Relabel() {
  for (const ControlPlace& place : MainControlPlaces())
    Button(place.control).SetLanguage(services_.strings.LanguageIndex());
  Button(MainControl::Pair).SetCaption(std::u16string(services_.strings.Text("str_openPair")));
  Button(MainControl::Defaults)
      .SetCaption(std::u16string(services_.strings.Text("str_list_default")));
  Button(MainControl::Ok).SetCaption(std::u16string(services_.strings.Text("str_ok")));
  LabelOptionButtons();
}

void MainSkin::PaintBackground(HDC canvas, const RECT& dirty) const {
  if (normal_) {
    BlitPicture(canvas, normal_.get(), size_.cx, size_.cy);
  } else {
    RECT all{0, 0, size_.cx, size_.cy};
    ::FillRect(canvas, &all, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
  }
  DrawMainLabels(window_, canvas, {0, 0}, dirty, services_.strings, chineseLayout_);
}

UniqueBitmap MainSkin::LabelledPicture(HDC reference, HBITMAP labelFree, const RECT& place) const {
  const int width = place.right - place.left, height = place.bottom - place.top;
  UniqueBitmap picture(::CreateCompatibleBitmap(reference, width, height));
  {
    UniqueDC dc(::CreateCompatibleDC(reference));
    const SelectObjectScope select(dc.get(), picture.get());
    BlitPicture(dc.get(), labelFree, width, height);
    DrawMainLabels(window_, dc.get(), {place.left, place.top}, place, services_.strings,
                   chineseLayout_);
  }
  return picture;
}

void MainSkin::LabelOptionButtons() {
  WindowDC screen(window_);
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

void MainSkin::CreateControl(const ControlPlace& place, Gdiplus::Bitmap* languageBackground,
                             HBITMAP over, HBITMAP down) {
  const RECT rect = Place(place.control);
  switch (place.control) {
    case MainControl::SpeedSlider:
      slider_.Create(services_.programFolder + u"\\skins\\Slider.png", rect, window_,
                     kSpeedSliderId);
      slider_.SetTravelRect(ToRect(kSpeedTravel));
      slider_.SetRange(kMinPointerSpeed, kMaxPointerSpeed);
      if (languageBackground)
        slider_.SetTrackBackground(*languageBackground, rect.left, rect.top, rect.right - rect.left,
                                   rect.bottom - rect.top);
      return;
    case MainControl::RowsEdit:
      wheelEdit_.Create(window_, rect, kWheelEditStyle, kWheelLinesEditId);
      wheelEdit_.SetRange(kMinWheelLines, kMaxWheelLines);
      if (languageBackground)
        wheelEdit_.SetBackground(*languageBackground, rect.left, rect.top, rect.right - rect.left,
                                 rect.bottom - rect.top);
      return;
    default: break;
  }
  CGDIBitmapBtn& button = Button(place.control);
  button.Create(window_, rect);
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

}  // namespace norvi
