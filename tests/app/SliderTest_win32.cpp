// The PNG slider's windows under Wine: clicks on the bar, drags of the thumb and SetPos,
// observed through the messages the owner receives (posted: the owner may be busy) and the
// thumb's place.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <vector>

#include "app/MainLayout.h"
#include "app/Messages.h"
#include "app/MouseSettings.h"
#include "app/PngHSlider_win32.h"
#include "controls/ImageHelpers_win32.h"
#include "tests/support/MessageLog_win32.h"
#include "tests/support/Pump_win32.h"

namespace norvi {
namespace {

namespace fs = std::filesystem;

constexpr int kThumbWidth = 20;
constexpr int kThumbHeight = 16;

using testkit::Expected;
using testkit::kPosted;
using testkit::Matches;
using testkit::PumpPending;

// A thumb picture whose top-left colour (magenta) is the see-through key.
fs::path WriteThumbPicture() {
  Gdiplus::Bitmap picture(kThumbWidth, kThumbHeight, PixelFormat32bppARGB);
  for (int y = 0; y < kThumbHeight; ++y)
    for (int x = 0; x < kThumbWidth; ++x)
      picture.SetPixel(x, y,
                       (x < 2 || x >= kThumbWidth - 2) ? Gdiplus::Color(255, 255, 0, 255)
                                                       : Gdiplus::Color(255, 30, 120, 200));
  const CLSID png{0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
  const fs::path path = fs::temp_directory_path() / L"norvi-slider-thumb.png";
  picture.Save(path.c_str(), &png, nullptr);
  return path;
}

class SliderTest : public testing::Test {
 protected:
  void SetUp() override {
    const LayoutRect place = PlaceOf(MainControl::SpeedSlider, false);
    ASSERT_TRUE(slider_.Create(WriteThumbPicture().u16string(),
                               {place.left, place.top, place.right, place.bottom}, owner_.get(),
                               kSpeedSliderId));
    slider_.SetTravelRect(
        {kSpeedTravel.left, kSpeedTravel.top, kSpeedTravel.right, kSpeedTravel.bottom});
    slider_.SetRange(kMinPointerSpeed, kMaxPointerSpeed);
  }

  // What the owner is told: this value, posted, with the bar's identifier.
  Expected Told(WPARAM value) const {
    return {UM_SPEED_CHANGED, value, kSpeedSliderId, owner_.get(), kPosted};
  }
  // A click at x in the owner's client coordinates; true when the owner is told this value once.
  testing::AssertionResult ClickAt(int ownerX, WPARAM value) {
    log_.Clear();
    const int barX = ownerX - PlaceOf(MainControl::SpeedSlider, false).left;
    ::SendMessageW(slider_.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(barX, 8));
    PumpPending();
    return Matches(log_.Messages(), {Told(value)}, "click at " + std::to_string(ownerX));
  }
  int ThumbLeft() const {
    RECT r;
    ::GetWindowRect(slider_.Thumb().hwnd(), &r);
    ::MapWindowPoints(HWND_DESKTOP, slider_.hwnd(), reinterpret_cast<POINT*>(&r), 2);
    return r.left;
  }
  // Moves the pointer to screen x. The real cursor goes there too: the system may add moves of
  // its own at the cursor's place while the thumb holds the capture.
  void DragTo(int screenX) {
    RECT thumb;
    ::GetWindowRect(slider_.Thumb().hwnd(), &thumb);
    ::SetCursorPos(screenX, thumb.top + 5);
    POINT p{screenX, 0};
    ::ScreenToClient(slider_.Thumb().hwnd(), &p);
    ::SendMessageW(slider_.Thumb().hwnd(), WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(p.x, 5));
  }

  GdiplusSession gdiplus_;
  static constexpr RECT kOwnerPlace{0, 0, 1000, 715};
  testkit::MessageLog log_{{UM_SPEED_CHANGED}};
  testkit::ProbeWindow owner_{&kOwnerPlace, L"slider owner", 0, 0};
  CPngHSliderBar slider_;
};

TEST_F(SliderTest, ClicksPostTheMappedValueWithTheBarsIdAndMoveTheThumb) {
  EXPECT_TRUE(ClickAt(90, 1));  // left of the travel
  EXPECT_TRUE(ClickAt(271, 19));
  EXPECT_TRUE(ClickAt(272, 20));  // the maximum only from the right edge on
  EXPECT_TRUE(ClickAt(290, 20));
  EXPECT_EQ(slider_.Pos(), 20);
  EXPECT_EQ(ThumbLeft(), 186 - kThumbWidth);
}

TEST_F(SliderTest, SetPosAboveTheMaximumPutsTheThumbAtTheMinimum) {
  slider_.SetPos(10);
  EXPECT_EQ(ThumbLeft(), (186 - kThumbWidth) * 9 / 19);
  slider_.SetPos(21);
  EXPECT_EQ(slider_.Pos(), 1);
  EXPECT_EQ(ThumbLeft(), 0);
}

TEST_F(SliderTest, DraggingAgainstAnEndKeepsPostingTheEndValueAndTheThumbKeepsTheLast) {
  slider_.SetPos(10);
  RECT thumb;
  ::GetWindowRect(slider_.Thumb().hwnd(), &thumb);
  ::SendMessageW(slider_.Thumb().hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
  // The system may add moves of its own: at least one report a move, each of the end value.
  const auto onlyTold = [&](WPARAM value, const char* context) {
    const std::vector<testkit::Message> got = log_.Messages();
    EXPECT_GE(got.size(), 2u) << context;
    EXPECT_TRUE(Matches(got, std::vector<Expected>(got.size(), Told(value)), context));
  };
  log_.Clear();
  DragTo(thumb.left + 5 + 400);
  DragTo(thumb.left + 5 + 500);
  PumpPending();
  onlyTold(20, "dragged past the right end");
  log_.Clear();
  DragTo(thumb.left - 400);
  DragTo(thumb.left - 500);
  ::SendMessageW(slider_.Thumb().hwnd(), WM_LBUTTONUP, 0, 0);
  PumpPending();
  onlyTold(1, "dragged past the left end and released");
  EXPECT_EQ(slider_.Pos(), 1);  // the last value posted
  EXPECT_EQ(ThumbLeft(), 0);
}

TEST_F(SliderTest, ThumbIsShapedByItsKeyColourAndDisabledSlidersIgnoreClicks) {
  UniqueRegion region(::CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(::GetWindowRgn(slider_.Thumb().hwnd(), region.get()), ERROR);
  EXPECT_FALSE(::PtInRegion(region.get(), 0, 0));  // key-coloured edge
  EXPECT_TRUE(::PtInRegion(region.get(), kThumbWidth / 2, kThumbHeight / 2));
  slider_.Enable(false);
  log_.Clear();
  ::SendMessageW(slider_.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 8));
  PumpPending();
  EXPECT_TRUE(Matches(log_.Messages(), {}, "click on a disabled slider"));
}

}  // namespace
}  // namespace norvi
