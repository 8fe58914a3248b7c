#include "model/FunctionCodes.h"

#include <algorithm>
#include <array>

namespace norvi {
namespace {

using C = FunctionCategory;

constexpr std::array<FunctionInfo, 44> kCatalogue{{
    {fn::Cut, "str_list_base_cut", C::Base},
    {fn::Copy, "str_list_base_copy", C::Base},
    {fn::Paste, "str_list_base_paste", C::Base},
    {fn::SelectAll, "str_list_base_selectall", C::Base},
    {fn::Search, "str_list_base_search", C::Base},
    {fn::New, "str_list_base_new", C::Base},
    {fn::Paint, "str_list_base_paint", C::Base},
    {fn::Save, "str_list_base_save", C::Base},
    {fn::SwitchWindow, "str_list_windows_switch_window", C::Windows},
    {fn::CloseWindow, "str_list_windows_close_window", C::Windows},
    {fn::LockPC, "str_list_windows_lock_PC", C::Windows},
    {fn::ResourceManager, "str_list_windows_resource_manager", C::Windows},
    {fn::Run, "str_list_windows_run", C::Windows},
    {fn::Desktop, "str_list_windows_desktop", C::Windows},
    {fn::Start, "str_list_windows_start", C::Windows},
    {fn::Find, "str_list_windows_find", C::Windows},
    {fn::SuperButton, "str_list_windows_super_button", C::Windows},
    {fn::ZoomIn, "str_list_windows_zoom_in", C::Windows},
    {fn::ZoomOut, "str_list_windows_zoom_out", C::Windows},
    {fn::Maximize, "str_list_windows_maximize", C::Windows},
    {fn::Minimize, "str_list_windows_minimize", C::Windows},
    {fn::MediaPlayer, "str_list_media_player", C::Media},
    {fn::PlayPause, "str_list_media_play_pause", C::Media},
    {fn::Stop, "str_list_media_stop", C::Media},
    {fn::Previous, "str_list_media_previous", C::Media},
    {fn::Next, "str_list_media_next", C::Media},
    {fn::VolumeUp, "str_list_media_vol_plus", C::Media},
    {fn::VolumeDown, "str_list_media_vol_less", C::Media},
    {fn::Mute, "str_list_media_mute", C::Media},
    {fn::MouseLeft, "str_list_mouse_left", C::Mouse},
    {fn::MouseRight, "str_list_mouse_right", C::Mouse},
    {fn::MouseMiddle, "str_list_mouse_middle", C::Mouse},
    {fn::MouseForward, "str_list_mouse_forward", C::Mouse},
    {fn::MouseBack, "str_list_mouse_backward", C::Mouse},
    {fn::WheelUp, "str_list_mouse_roll_up", C::Mouse},
    {fn::WheelDown, "str_list_mouse_roll_down", C::Mouse},
    {fn::TiltLeft, "str_list_mouse_roll_left", C::Mouse},
    {fn::TiltRight, "str_list_mouse_roll_right", C::Mouse},
    {fn::PlaySound, "str_list_advance_play_sound", C::Advance},
    {fn::OpenProgram, "str_list_advance_open_program", C::Advance},
    {fn::OpenFile, "str_list_advance_open_file", C::Advance},
    {fn::OpenFolder, "str_list_advance_open_dir", C::Advance},
    {fn::Keys, "str_list_advance_keys", C::Advance},
    {fn::Disable, "str_list_disable", C::Disable},
}};

static_assert(std::is_sorted(kCatalogue.begin(), kCatalogue.end(),
                             [](const FunctionInfo& a, const FunctionInfo& b) {
                               return a.code < b.code;
                             }));

}  // namespace

std::span<const FunctionInfo> FunctionCatalogue() {
  return kCatalogue;
}

const FunctionInfo* FindFunction(int32_t code) {
  auto it = std::lower_bound(kCatalogue.begin(), kCatalogue.end(), code,
                             [](const FunctionInfo& f, int32_t c) { return f.code < c; });
  return it != kCatalogue.end() && it->code == code ? &*it : nullptr;
}

std::string_view FunctionKey(int32_t code) {
  const FunctionInfo* f = FindFunction(code);
  return f ? f->key : std::string_view{};
}

std::string_view CategoryHeaderKey(FunctionCategory category) {
  switch (category) {
    case C::Base: return "str_list_base";
    case C::Windows: return "str_list_windows";
    case C::Media: return "str_list_media";
    case C::Mouse: return "str_list_mouse";
    case C::Advance: return "str_list_advance";
    case C::Disable: return "str_list_disable";
    case C::None: break;
  }
  return {};
}

}  // namespace norvi
