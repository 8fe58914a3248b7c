#include "localisation/BuiltInTexts.h"

namespace norvi {
namespace {

struct BuiltInText {
  std::string_view key;
  std::u16string_view text;
};

// The English language file's texts by key: what a control shows when neither the chosen
// language's file nor the English file gives its string.
constexpr BuiltInText kBuiltInEnglish[] = {
    {"str_improveAccuracy", u"Enhance pointer precision"},
    {"str_rollerRows", u"Scroll this many lines per notch"},
    {"str_rollerScreen", u"Scroll one screen per notch"},
    {"str_openPair", u"Pair mouse"},
    {"str_ok", u"OK"},
    {"str_list_base", u"Editing"},
    {"str_list_base_cut", u"Cut"},
    {"str_list_base_copy", u"Copy"},
    {"str_list_base_paste", u"Paste"},
    {"str_list_base_selectall", u"Select all"},
    {"str_list_base_search", u"Find"},
    {"str_list_base_new", u"New"},
    {"str_list_base_paint", u"Print"},
    {"str_list_base_save", u"Save"},
    {"str_list_windows", u"Windows"},
    {"str_list_windows_switch_window", u"Switch window"},
    {"str_list_windows_close_window", u"Close window"},
    {"str_list_windows_lock_PC", u"Lock computer"},
    {"str_list_windows_resource_manager", u"File Explorer"},
    {"str_list_windows_run", u"Run"},
    {"str_list_windows_desktop", u"Show desktop"},
    {"str_list_windows_start", u"Start menu"},
    {"str_list_windows_find", u"Search"},
    {"str_list_windows_super_button", u"Charms bar"},
    {"str_list_windows_zoom_in", u"Zoom in"},
    {"str_list_windows_zoom_out", u"Zoom out"},
    {"str_list_windows_maximize", u"Maximize window"},
    {"str_list_windows_minimize", u"Minimize window"},
    {"str_list_media", u"Media"},
    {"str_list_media_player", u"Media player"},
    {"str_list_media_play_pause", u"Play/Pause"},
    {"str_list_media_stop", u"Stop"},
    {"str_list_media_previous", u"Previous track"},
    {"str_list_media_next", u"Next track"},
    {"str_list_media_vol_plus", u"Volume up"},
    {"str_list_media_vol_less", u"Volume down"},
    {"str_list_media_mute", u"Mute"},
    {"str_list_mouse", u"Mouse"},
    {"str_list_mouse_left", u"Left click"},
    {"str_list_mouse_right", u"Right click"},
    {"str_list_mouse_middle", u"Middle click"},
    {"str_list_mouse_forward", u"Forward"},
    {"str_list_mouse_backward", u"Back"},
    {"str_list_mouse_roll_up", u"Scroll up"},
    {"str_list_mouse_roll_down", u"Scroll down"},
    {"str_list_mouse_roll_left", u"Scroll left"},
    {"str_list_mouse_roll_right", u"Scroll right"},
    {"str_list_advance", u"Advanced"},
    {"str_list_advance_play_sound", u"Play sound"},
    {"str_list_advance_open_program", u"Open program"},
    {"str_list_advance_open_file", u"Open file"},
    {"str_list_advance_open_dir", u"Open folder"},
    {"str_browse", u"Browse..."},
    {"str_list_disable", u"Disabled"},
    {"str_list_default", u"Default"},
    {"str_panel", u"Choose a function"},
    {"str_cur_function", u"Current: "},
    {"str_cancel", u"Cancel"},
    {"str_notfind", u"Receiver removed. Closing the program."},
    {"str_msg1", u"Settings saved and applied."},
    {"str_msg2", u"Path not found: %s"},
    {"str_msg3", u"Restore all buttons to default?"},
    {"str_msg4", u"Please plug in the receiver."},
    {"str_msg5", u"Access denied; language not saved."},
    {"str_msg_profile_unreadable",
     u"The settings file %s could not be read. The default settings are in use; the file is left "
     u"as it is."},
    {"str_msg_profile_not_saved", u"The button and mouse settings could not be saved to %s."},
    {"str_msg_profile_applied_not_saved",
     u"The settings are applied but could not be saved to %s; they last until the program ends."},
    {"str_msg_no_remapping",
     u"Button events cannot be received; the buttons keep their normal functions."},
    {"str_settings_for_program", u"Settings for %s\u2026"},
    {"str_list_advance_keys", u"Keys..."},
    {"str_keys_named", u"Keys: %s"},
    {"str_keys_clear", u"Clear"},
    {"str_keys_prompt", u"Click, then press keys"},
    {"str_keys_listening", u"Press the keys now"},
    {"str_keys_hint",
     u"Click the field and press the combination, for example Ctrl+Shift+T. Clear starts again."},
    {"str_keys_modifiers_only",
     u"Modifier keys only: the button holds them down for as long as you hold it."},
    {"str_keys_escape", u"Esc alone was recorded: the button will press Esc. Clear starts again."},
    {"str_main_subtitle", u"Wireless Mouse"},
    {"str_main_settings", u"Mouse settings"},
    {"str_main_pointer", u"Pointer"},
    {"str_main_pointer_speed", u"Pointer speed"},
    {"str_main_slow", u"Slow"},
    {"str_main_fast", u"Fast"},
    {"str_main_precision", u"Enhance pointer precision"},
    {"str_main_wheel", u"Wheel"},
    {"str_main_wheel_scrolls", u"Each notch of the wheel scrolls:"},
    {"str_main_wheel_lines", u"The following number of lines at a time"},
    {"str_main_wheel_screen", u"One screen at a time"},
    {"str_main_wheel_up", u"Wheel up"},
    {"str_main_middle_button", u"Middle button"},
    {"str_main_wheel_down", u"Wheel down"},
    {"str_main_right_button", u"Right button"},
    {"str_main_tilt_right", u"Tilt right"},
    {"str_main_tilt_left", u"Tilt left"},
    {"str_main_forward", u"Forward"},
    {"str_main_back", u"Back"},
    {"str_main_thumb_side", u"Thumb side"},
    {"str_main_click_input", u"Click an input to choose its function"},
};

}  // namespace

std::u16string_view BuiltInEnglish(std::string_view key) {
  for (const BuiltInText& entry : kBuiltInEnglish)
    if (entry.key == key) return entry.text;
  return {};
}

}  // namespace norvi
