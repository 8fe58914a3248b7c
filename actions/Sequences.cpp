#include "actions/Sequences.h"

#include "model/FunctionCodes.h"

namespace norvi {
namespace {

struct CodeSequence {
  int32_t code;
  FixedSequence sequence;
};

constexpr CodeSequence kSequences[] = {
    {fn::Cut, Combination(kVkControl, 'X')},
    {fn::Copy, Combination(kVkControl, 'C')},
    {fn::Paste, Combination(kVkControl, 'V')},
    {fn::SelectAll, Combination(kVkControl, 'A')},
    {fn::Search, Combination(kVkControl, 'F')},
    {fn::New, Combination(kVkControl, 'N')},
    {fn::Paint, Combination(kVkControl, 'P')},  // prints
    {fn::Save, Combination(kVkControl, 'S')},
    {fn::CloseWindow, Combination(kVkLeftAlt, kVkF4)},
    {fn::ResourceManager, Combination(kVkLeftWin, 'E')},
    {fn::Run, Combination(kVkLeftWin, 'R')},
    {fn::Desktop, Combination(kVkLeftWin, 'D')},
    {fn::Start, Tap(kVkLeftWin)},
    {fn::Find, Combination(kVkLeftWin, 'Q')},
    {fn::SuperButton, Combination(kVkLeftWin, 'C')},
    {fn::MediaPlayer, Tap(0xB5)},
    {fn::PlayPause, Tap(0xB3)},
    {fn::Stop, Tap(0xB2)},
    {fn::Previous, Tap(0xB1)},
    {fn::Next, Tap(0xB0)},
    {fn::VolumeUp, Tap(0xAF)},
    {fn::VolumeDown, Tap(0xAE)},
    {fn::Mute, Tap(0xAD)},
    {fn::MouseLeft, Click(kMouseLeftDown, kMouseLeftUp)},
    {fn::MouseRight, Click(kMouseRightDown, kMouseRightUp)},
    {fn::MouseMiddle, Click(kMouseMiddleDown, kMouseMiddleUp)},
    {fn::MouseForward, Click(kMouseXDown, kMouseXUp, kXButton2)},
    {fn::MouseBack, Click(kMouseXDown, kMouseXUp, kXButton1)},
    {fn::WheelUp, {{MouseAt(kMouseWheel, kWheelDelta)}, 1}},
    {fn::WheelDown, {{MouseAt(kMouseWheel, -kWheelDelta)}, 1}},
};

}  // namespace

std::span<const InputEvent> SequenceFor(int32_t code) {
  for (const CodeSequence& entry : kSequences)
    if (entry.code == code) return entry.sequence.View();
  return {};
}

int32_t OsVersionClass(const OsVersionInfo& v) {
  if (v.platformId == kPlatformWindows) {
    if (v.major != 4) return 0;
    return v.minor < 90 ? 1 : 2;
  }
  if (v.platformId != kPlatformNt) return 0;
  if (v.major == 5) return v.minor == 0 ? 3 : 4;
  if (v.major == 6 && v.minor <= 2) return static_cast<int32_t>(5 + v.minor);
  return 0;
}

bool ZoomsWithKeys(std::u16string_view windowClass) {
  return windowClass == u"MozillaWindowClass" || windowClass == u"AVL_AVView" ||
         windowClass == u"PSViewC";
}

FixedSequence ZoomSequence(bool zoomIn, bool withKeys) {
  if (withKeys) return Combination(kVkControl, zoomIn ? kVkOemPlus : kVkOemMinus);
  const int32_t amount = zoomIn ? kWheelDelta : -kWheelDelta;
  return {{KeyDown(kVkControl), MouseAt(kMouseWheel, amount), KeyUp(kVkControl)}, 3};
}

void Play(IInputInjector& input, std::span<const InputEvent> events) {
  size_t runStart = 0;
  for (size_t i = 0; i <= events.size(); ++i) {
    const bool pause = i < events.size() && events[i].kind == InputKind::Pause;
    if (i < events.size() && !pause) continue;
    if (i > runStart) input.Inject(events.subspan(runStart, i - runStart));
    if (pause) input.Pause(events[i].pauseMs);
    runStart = i + 1;
  }
}

}  // namespace norvi
