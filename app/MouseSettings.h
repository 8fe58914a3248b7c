#pragma once
// The three Windows mouse settings: how they are sent to the system, how the controls show
// them and how the controls change them. Portable: the system is reached through ISystemCalls.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "actions/Seams.h"
#include "model/ProfileImage.h"

namespace norvi {

constexpr uint32_t kSpiSetMouse = 4;
constexpr uint32_t kSpiSetMouseSpeed = 113;
constexpr uint32_t kSpiSetWheelScrollLines = 105;
constexpr uint32_t kSpifUpdateIniFileAndSendChange = 3;
constexpr uint32_t kSpiGetMouse = 3;
constexpr uint32_t kSpiGetMouseSpeed = 112;
constexpr uint32_t kSpiGetWheelScrollLines = 104;
constexpr uint32_t kWheelPageScroll = 0xFFFFFFFF;  // the system's one screen per notch

constexpr int32_t kSpeedSliderId = 0xA00;
constexpr int32_t kWheelLinesEditId = 0xA03;
constexpr int32_t kMinPointerSpeed = 1;
constexpr int32_t kMaxPointerSpeed = 20;
constexpr int32_t kMinWheelLines = 1;
constexpr int32_t kMaxWheelLines = 30;
constexpr int32_t kScreenOptionDialogLines = 3;  // what the edit shows while a page is chosen

using MouseAcceleration = std::array<int32_t, 3>;  // threshold 1, threshold 2, acceleration

MouseAcceleration AccelerationFor(int32_t enhancePrecision);

// Corrects the image (CorrectImage: nothing out of range ever reaches Windows, and the
// corrected values are what the controls show and the file keeps), then sends pointer
// precision, pointer speed and wheel lines through SystemParametersInfoW, each followed by
// WM_SETTINGCHANGE to the main window. Returns whether the image was corrected.
bool ApplyPointerAndWheel(ProfileImage& profile, ISystemCalls& system, WindowHandle mainWindow);

// Puts what Windows holds now into the profile's pointer precision, pointer speed and wheel
// lines (a value the profile cannot hold becomes the nearest one it can: no wheel scrolling
// one line, more than 30 lines 30); a setting that cannot be read stays as it is. Only reads.
void ReadPointerAndWheel(ProfileImage& profile, ISystemCalls& system);

// What the wheel controls show for a profile.
struct WheelControlsView {
  bool rowsChecked;
  bool screenChecked;
  bool editEnabled;  // the edit and both arrows
  int32_t dialogLines;
};
WheelControlsView ViewOfWheel(const ProfileImage& profile);

// Result of reading the edit back.
struct NormalisedLines {
  int32_t lines;        // 1 to 30
  std::u16string text;  // the edit's new text
  bool placeCaret;      // whether the caret moves (not when the text was all zeros)
  size_t caret;         // character position of the caret
};
// Leading zeros dropped; nothing left or no leading digits gives 1 (never 0, which would
// switch wheel scrolling off system-wide); 30 and more give 30.
NormalisedLines NormaliseWheelLines(std::u16string_view editText);

int32_t WheelLinesUp(int32_t lines);
int32_t WheelLinesDown(int32_t lines);

// UM_SPEED_CHANGED: only the main window's own slider changes the speed.
void OnSpeedChanged(ProfileImage& profile, uint32_t position, int32_t sliderId);

}  // namespace norvi
