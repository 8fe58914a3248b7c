#include "picker/SettingLayout.h"

namespace norvi {
namespace {

constexpr std::array<PickerRow, 8> kBaseRows{{
    {1, "str_list_base_cut"},
    {2, "str_list_base_copy"},
    {3, "str_list_base_paste"},
    {4, "str_list_base_selectall"},
    {5, "str_list_base_search"},
    {6, "str_list_base_new"},
    {7, "str_list_base_paint"},
    {8, "str_list_base_save"},
}};

constexpr std::array<PickerRow, 13> kWindowsRows{{
    {33, "str_list_windows_switch_window"},
    {34, "str_list_windows_close_window"},
    {35, "str_list_windows_lock_PC"},
    {36, "str_list_windows_resource_manager"},
    {37, "str_list_windows_run"},
    {38, "str_list_windows_desktop"},
    {39, "str_list_windows_start"},
    {40, "str_list_windows_find"},
    {41, "str_list_windows_super_button"},
    {42, "str_list_windows_zoom_in"},
    {43, "str_list_windows_zoom_out"},
    {44, "str_list_windows_maximize"},
    {45, "str_list_windows_minimize"},
}};

constexpr std::array<PickerRow, 8> kMediaRows{{
    {49, "str_list_media_player"},
    {50, "str_list_media_play_pause"},
    {51, "str_list_media_stop"},
    {52, "str_list_media_previous"},
    {53, "str_list_media_next"},
    {54, "str_list_media_vol_plus"},
    {55, "str_list_media_vol_less"},
    {56, "str_list_media_mute"},
}};

// The middle button stands before the right one: users look for it under the left.
constexpr std::array<PickerRow, 9> kMouseRows{{
    {65, "str_list_mouse_left"},
    {67, "str_list_mouse_middle"},
    {66, "str_list_mouse_right"},
    {68, "str_list_mouse_forward"},
    {69, "str_list_mouse_backward"},
    {70, "str_list_mouse_roll_up"},
    {71, "str_list_mouse_roll_down"},
    {72, "str_list_mouse_roll_left"},
    {73, "str_list_mouse_roll_right"},
}};

}  // namespace

std::span<const PickerRow> ListRows(int category) {
  switch (category) {
    case kCategoryBase: return kBaseRows;
    case kCategoryWindows: return kWindowsRows;
    case kCategoryMedia: return kMediaRows;
    case kCategoryMouse: return kMouseRows;
    default: return {};
  }
}

std::u16string DialogFilter(std::u16string_view filter) {
  std::u16string text(filter);
  for (char16_t& c : text)
    if (c == u'|') c = u'\0';
  return text;
}

}  // namespace norvi
