#include "app/MouseSettings.h"

#include <algorithm>

#include "model/Text.h"

namespace norvi {

MouseAcceleration AccelerationFor(int32_t enhancePrecision) {
  return enhancePrecision ? MouseAcceleration{6, 10, 1} : MouseAcceleration{0, 0, 0};
}

bool ApplyPointerAndWheel(ProfileImage& profile, ISystemCalls& system, WindowHandle mainWindow) {
  const bool corrected = CorrectImage(profile);
  MouseAcceleration acceleration = AccelerationFor(profile.EnhancePrecision);
  system.ParametersInfo(kSpiSetMouse, 0, acceleration.data(), kSpifUpdateIniFileAndSendChange);
  system.SendSettingChange(mainWindow, kSpiSetMouse,
                           reinterpret_cast<intptr_t>(acceleration.data()));
  // The speed travels in the pointer argument itself, not behind it.
  void* speed = reinterpret_cast<void*>(static_cast<uintptr_t>(profile.PointerSpeed));
  system.ParametersInfo(kSpiSetMouseSpeed, 0, speed, kSpifUpdateIniFileAndSendChange);
  system.SendSettingChange(mainWindow, kSpiSetMouseSpeed, 0);
  // -1 becomes the system's one-screen value 0xFFFFFFFF.
  system.ParametersInfo(kSpiSetWheelScrollLines, static_cast<uint32_t>(profile.WheelLines), nullptr,
                        kSpifUpdateIniFileAndSendChange);
  system.SendSettingChange(mainWindow, kSpiSetWheelScrollLines, 0);
  return corrected;
}

void ReadPointerAndWheel(ProfileImage& profile, ISystemCalls& system) {
  MouseAcceleration acceleration{};
  if (system.ParametersInfo(kSpiGetMouse, 0, acceleration.data(), 0))
    profile.EnhancePrecision = acceleration[2] != 0 ? 1 : 0;
  int32_t speed = 0;
  if (system.ParametersInfo(kSpiGetMouseSpeed, 0, &speed, 0))
    profile.PointerSpeed = std::clamp(speed, kMinPointerSpeed, kMaxPointerSpeed);
  uint32_t lines = 0;
  if (system.ParametersInfo(kSpiGetWheelScrollLines, 0, &lines, 0))
    profile.WheelLines =
        lines == kWheelPageScroll
            ? kWheelLinesScreen
            : static_cast<int32_t>(std::clamp<uint32_t>(lines, kMinWheelLines, kMaxWheelLines));
}

WheelControlsView ViewOfWheel(const ProfileImage& profile) {
  if (profile.WheelLines == kWheelLinesScreen)
    return {false, true, false, kScreenOptionDialogLines};
  return {true, false, true, profile.WheelLines};
}

NormalisedLines NormaliseWheelLines(std::u16string_view editText) {
  std::u16string_view text = editText;
  while (!text.empty() && text.front() == u'0') text.remove_prefix(1);
  if (text.empty()) return {1, u"1", false, 0};
  int32_t lines = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') break;
    lines = std::min(lines * 10 + (c - u'0'), kMaxWheelLines);  // saturate: no overflow
  }
  if (lines < kMinWheelLines) lines = kMinWheelLines;
  return {lines, AsciiToUtf16(std::to_string(lines)), true, text.size()};
}

int32_t WheelLinesUp(int32_t lines) {
  return lines > kMaxWheelLines - 1 ? kMaxWheelLines : lines + 1;
}

int32_t WheelLinesDown(int32_t lines) {
  return lines > kMinWheelLines ? lines - 1 : kMinWheelLines;
}

void OnSpeedChanged(ProfileImage& profile, uint32_t position, int32_t sliderId) {
  if (sliderId == kSpeedSliderId) profile.PointerSpeed = static_cast<int32_t>(position);
}

}  // namespace norvi
