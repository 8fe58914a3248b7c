// The PNG slider's windows under Wine: clicks on the bar, drags of the thumb and SetPos,
// observed through the messages the owner receives and the thumb's place.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <vector>

#include "app/MainLayout.h"
#include "app/Messages.h"
#include "app/MouseSettings.h"
#include "app/PngHSlider_win32.h"
#include "controls/ImageHelpers_win32.h"

namespace norvi {
namespace {

namespace fs = std::filesystem;

constexpr int kThumbWidth = 20;
constexpr int kThumbHeight = 16;

struct Posted {
  WPARAM value;
  LPARAM id;
  bool sent;
};

class Owner : public Window {
 public:
  std::vector<Posted> received;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    if (msg == UM_SPEED_CHANGED) received.push_back({wp, lp, ::InSendMessage() != FALSE});
    return Window::HandleMessage(msg, wp, lp);
  }
};

void Pump() {
  MSG msg;
  for (int round = 0; round < 3; ++round)
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&msg);
}

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
    ASSERT_TRUE(owner_.Create(nullptr, {0, 0, 1000, 715}, WS_POPUP | WS_VISIBLE));
    const LayoutRect place = PlaceOf(MainControl::SpeedSlider, false);
    ASSERT_TRUE(slider_.Create(WriteThumbPicture().u16string(),
                               {place.left, place.top, place.right, place.bottom}, owner_.hwnd(),
                               kSpeedSliderId));
    slider_.SetTravelRect(
        {kSpeedTravel.left, kSpeedTravel.top, kSpeedTravel.right, kSpeedTravel.bottom});
    slider_.SetRange(kMinPointerSpeed, kMaxPointerSpeed);
  }

  // Click at x in the owner's client coordinates; returns the value posted to the owner.
  WPARAM ClickAt(int ownerX) {
    owner_.received.clear();
    const int barX = ownerX - PlaceOf(MainControl::SpeedSlider, false).left;
    ::SendMessageW(slider_.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(barX, 8));
    Pump();
    EXPECT_EQ(owner_.received.size(), 1u);
    return owner_.received.empty() ? 0 : owner_.received.back().value;
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
  Owner owner_;
  CPngHSliderBar slider_;
};

TEST_F(SliderTest, ClicksPostTheMappedValueWithTheBarsIdAndMoveTheThumb) {
  EXPECT_EQ(ClickAt(90), 1u);  // left of the travel
  EXPECT_EQ(ClickAt(271), 19u);
  EXPECT_EQ(ClickAt(272), 20u);  // the maximum only from the right edge on
  EXPECT_EQ(ClickAt(290), 20u);
  EXPECT_EQ(owner_.received.back().id, kSpeedSliderId);
  EXPECT_FALSE(owner_.received.back().sent);
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
  owner_.received.clear();
  DragTo(thumb.left + 5 + 400);
  DragTo(thumb.left + 5 + 500);
  Pump();
  ASSERT_GE(owner_.received.size(), 2u);
  for (const Posted& p : owner_.received) EXPECT_EQ(p.value, 20u);
  EXPECT_EQ(owner_.received.back().id, kSpeedSliderId);
  owner_.received.clear();
  DragTo(thumb.left - 400);
  DragTo(thumb.left - 500);
  ::SendMessageW(slider_.Thumb().hwnd(), WM_LBUTTONUP, 0, 0);
  Pump();
  ASSERT_GE(owner_.received.size(), 2u);
  for (const Posted& p : owner_.received) EXPECT_EQ(p.value, 1u);
  EXPECT_EQ(slider_.Pos(), 1);  // the last value posted
  EXPECT_EQ(ThumbLeft(), 0);
}

TEST_F(SliderTest, ThumbIsShapedByItsKeyColourAndDisabledSlidersIgnoreClicks) {
  UniqueRegion region(::CreateRectRgn(0, 0, 0, 0));
  ASSERT_NE(::GetWindowRgn(slider_.Thumb().hwnd(), region.get()), ERROR);
  EXPECT_FALSE(::PtInRegion(region.get(), 0, 0));  // key-coloured edge
  EXPECT_TRUE(::PtInRegion(region.get(), kThumbWidth / 2, kThumbHeight / 2));
  slider_.Enable(false);
  owner_.received.clear();
  ::SendMessageW(slider_.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(100, 8));
  Pump();
  EXPECT_TRUE(owner_.received.empty());
}

}  // namespace
}  // namespace norvi
