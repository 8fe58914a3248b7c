#pragma once
// The function codes a slot can hold, their display-name keys and categories.
// Every value not in the catalogue has no name and no action.

#include <cstdint>
#include <span>
#include <string_view>

namespace norvi {

enum class FunctionCategory : uint8_t { None, Base, Windows, Media, Mouse, Advance, Disable };

namespace fn {
// Basic editing.
constexpr int32_t Cut = 1, Copy = 2, Paste = 3, SelectAll = 4, Search = 5, New = 6, Paint = 7,
                  Save = 8;
// Windows.
constexpr int32_t SwitchWindow = 33, CloseWindow = 34, LockPC = 35, ResourceManager = 36, Run = 37,
                  Desktop = 38, Start = 39, Find = 40, SuperButton = 41, ZoomIn = 42, ZoomOut = 43,
                  Maximize = 44, Minimize = 45;
// Media.
constexpr int32_t MediaPlayer = 49, PlayPause = 50, Stop = 51, Previous = 52, Next = 53,
                  VolumeUp = 54, VolumeDown = 55, Mute = 56;
// Mouse: the native functions of the inputs.
constexpr int32_t MouseLeft = 65, MouseRight = 66, MouseMiddle = 67, MouseForward = 68,
                  MouseBack = 69, WheelUp = 70, WheelDown = 71, TiltLeft = 72, TiltRight = 73;
// Advanced: these carry a path.
constexpr int32_t PlaySound = 81, OpenProgram = 82, OpenFile = 83, OpenFolder = 84;
// Any key combination; the slot's path field holds it as text (model/KeyCombo.h).
constexpr int32_t Keys = 85;
constexpr int32_t Disable = 96;
}  // namespace fn

struct FunctionInfo {
  int32_t code;
  std::string_view key;  // language key of the display name
  FunctionCategory category;
};

// The whole catalogue in code order.
std::span<const FunctionInfo> FunctionCatalogue();

// Null for a value outside the catalogue.
const FunctionInfo* FindFunction(int32_t code);

// Empty for a value outside the catalogue.
std::string_view FunctionKey(int32_t code);

// Language key of a category page's header; empty for None.
std::string_view CategoryHeaderKey(FunctionCategory category);

// Key of the picker's "restore default" choice, which returns the slot's native code.
constexpr std::string_view kDefaultChoiceKey = "str_list_default";

// Codes 81 to 84 are the only ones that use a slot's path.
constexpr bool UsesPath(int32_t code) {
  return code >= fn::PlaySound && code <= fn::OpenFolder;
}

}  // namespace norvi
