#include "actions/Function.h"

#include <algorithm>

#include "actions/Sequences.h"
#include "model/FunctionCodes.h"

namespace norvi {
namespace {

bool InRange(int32_t code, int32_t first, int32_t last) {
  return code >= first && code <= last;
}

}  // namespace

CFunction::CFunction(const SlotTable& slots, ActionSeams seams)
    : slots_(slots),
      input_(seams.input),
      windows_(seams.windows),
      system_(seams.system),
      timer_(seams.timer),
      debug_(seams.debug),
      keys_(seams.input, seams.timer, seams.system) {}

void CFunction::PerformSlot(int slotIndex) {
  if (slotIndex < 0 || slotIndex >= kSlotCount) return;
  const ButtonSlot& slot = slots_[static_cast<size_t>(slotIndex)];
  if (slot.FunID == fn::Keys) {
    // A combination that does not parse presses nothing.
    if (const auto combo = ParseKeyCombo(PathText(slot))) {
      if (IsButtonSlot(slotIndex))
        keys_.Press(slotIndex, *combo);
      else
        keys_.Tap(*combo);
    }
    return;
  }
  // A local copy, always terminated inside the field, whatever the record holds.
  char16_t path[kPathUnits];
  const size_t length = std::min(PathLength(slot), static_cast<size_t>(kPathUnits - 1));
  std::copy_n(slot.Path, length, path);
  path[length] = u'\0';
  Perform(slot.FunID, path);
}

void CFunction::Perform(int32_t code, const char16_t* path) {
  if (path == nullptr) path = u"";
  if (InRange(code, fn::Cut, fn::Save) || code == fn::CloseWindow ||
      InRange(code, fn::ResourceManager, fn::ZoomOut) || InRange(code, fn::MediaPlayer, fn::Mute) ||
      InRange(code, fn::MouseLeft, fn::WheelDown)) {
    PlaySequence(code);
    return;
  }
  switch (code) {
    case fn::SwitchWindow:
      timer_.Start(kAltReleaseTimerId, kAltReleaseMs);
      SwitchWindow();
      break;
    case fn::LockPC: LockPC(); break;
    case fn::Maximize: Maximize(); break;
    case fn::Minimize: Minimize(); break;
    case fn::TiltLeft: ScrollLeft(); break;
    case fn::TiltRight: ScrollRight(); break;
    case fn::PlaySound: PlaySoundFile(path); break;
    case fn::OpenProgram: OpenProgram(path); break;
    case fn::OpenFile:
    case fn::OpenFolder: OpenFileOrFolder(path); break;
    case fn::Keys:
      if (const auto combo = ParseKeyCombo(path)) keys_.Tap(*combo);
      break;
    default: break;
  }
}

void CFunction::PlaySequence(int32_t code) {
  if (code == fn::ZoomIn || code == fn::ZoomOut) {
    Zoom(code == fn::ZoomIn);
    return;
  }
  if ((code == fn::Find || code == fn::SuperButton) &&
      OsVersionClass(system_.Version()) < kVersionClassWithSearchCharms)
    return;
  Play(input_, SequenceFor(code));
}

void CFunction::Zoom(bool zoomIn) {
  ClassNameBuffer buffer;
  const WindowHandle w = windows_.WindowAt(windows_.CursorPosition());
  const bool withKeys = ZoomsWithKeys(windows_.ClassOf(w, buffer));
  Play(input_, ZoomSequence(zoomIn, withKeys).View());
}

void CFunction::SwitchWindow() {
  FixedSequence events = Tap(kVkTab);
  if (!altHeld_) {
    altHeld_ = true;
    events = {{KeyDown(kVkLeftAlt), KeyDown(kVkTab), KeyUp(kVkTab)}, 3};
  }
  Play(input_, events.View());
}

void CFunction::OnAltReleaseTimer() {
  timer_.Kill(kAltReleaseTimerId);
  if (!altHeld_) return;
  constexpr InputEvent release[] = {KeyUp(kVkLeftAlt)};
  Play(input_, release);
  altHeld_ = false;
}

void CFunction::Shutdown() {
  if (altHeld_) OnAltReleaseTimer();
  keys_.ReleaseAll();
}

void CFunction::LockPC() {
  if (!system_.IsWow64()) {
    system_.LockStation();
    return;
  }
  RedirectionState saved = nullptr;
  if (!system_.DisableFsRedirection(saved)) return;
  system_.LockStation();
  system_.RevertFsRedirection(saved);
}

void CFunction::Maximize() {
  SendSystemCommand(kStyleMaximizeBox, kCommandMaximize);
}
void CFunction::Minimize() {
  SendSystemCommand(kStyleMinimizeBox, kCommandMinimize);
}

void CFunction::SendSystemCommand(uint32_t boxStyle, uintptr_t command) {
  const WindowHandle w = windows_.Foreground();
  if ((windows_.StyleOf(w) & boxStyle) == 0 || w == windows_.Desktop()) return;
  windows_.Send(w, kMessageSysCommand, command, 0);
}

void CFunction::PlaySoundFile(const char16_t* path) {
  if (path[0] != u'\0') system_.Sound(path, 0, kSoundFileAsync);
}

void CFunction::OpenProgram(const char16_t* path) {
  if (path[0] != u'\0') Open(path);
}

void CFunction::OpenFileOrFolder(const char16_t* path) {
  const std::u16string_view bare(path);
  if (bare.empty()) return;
  if (bare.find(u' ') == std::u16string_view::npos) {
    Open(path);
    return;
  }
  char16_t quoted[kPathUnits + 2];
  const size_t length = std::min(bare.size(), static_cast<size_t>(kPathUnits - 1));
  quoted[0] = u'"';
  std::copy_n(bare.data(), length, quoted + 1);
  quoted[length + 1] = u'"';
  quoted[length + 2] = u'\0';
  Open(quoted);
}

void CFunction::Open(const char16_t* file) {
  // Shell extensions may use COM; the shell requires the caller's apartment.
  system_.EnterApartment();
  system_.Execute(kNoWindow, u"open", file, nullptr, nullptr, kShowNormal);
}

}  // namespace norvi
