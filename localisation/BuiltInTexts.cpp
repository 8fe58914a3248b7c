#include "localisation/BuiltInTexts.h"

namespace norvi {

// The English language file's texts, in table order: what a control shows when neither the
// chosen language's file nor the English file gives its string.
const std::array<std::u16string_view, kLanguageKeys.size()> kBuiltInEnglish = {
    u"Enhance pointer precision",  // str_improveAccuracy
    u"Scroll this many lines per notch",  // str_rollerRows
    u"Scroll one screen per notch",  // str_rollerScreen
    u"Pair mouse",  // str_openPair
    u"OK",  // str_ok
    u"Editing",  // str_list_base
    u"Cut",  // str_list_base_cut
    u"Copy",  // str_list_base_copy
    u"Paste",  // str_list_base_paste
    u"Select all",  // str_list_base_selectall
    u"Find",  // str_list_base_search
    u"New",  // str_list_base_new
    u"Print",  // str_list_base_paint
    u"Save",  // str_list_base_save
    u"Windows",  // str_list_windows
    u"Switch window",  // str_list_windows_switch_window
    u"Close window",  // str_list_windows_close_window
    u"Lock computer",  // str_list_windows_lock_PC
    u"File Explorer",  // str_list_windows_resource_manager
    u"Run",  // str_list_windows_run
    u"Show desktop",  // str_list_windows_desktop
    u"Start menu",  // str_list_windows_start
    u"Search",  // str_list_windows_find
    u"Charms bar",  // str_list_windows_super_button
    u"Zoom in",  // str_list_windows_zoom_in
    u"Zoom out",  // str_list_windows_zoom_out
    u"Maximize window",  // str_list_windows_maximize
    u"Minimize window",  // str_list_windows_minimize
    u"Media",  // str_list_media
    u"Media player",  // str_list_media_player
    u"Play/Pause",  // str_list_media_play_pause
    u"Stop",  // str_list_media_stop
    u"Previous track",  // str_list_media_previous
    u"Next track",  // str_list_media_next
    u"Volume up",  // str_list_media_vol_plus
    u"Volume down",  // str_list_media_vol_less
    u"Mute",  // str_list_media_mute
    u"Mouse",  // str_list_mouse
    u"Left click",  // str_list_mouse_left
    u"Right click",  // str_list_mouse_right
    u"Middle click",  // str_list_mouse_middle
    u"Forward",  // str_list_mouse_forward
    u"Back",  // str_list_mouse_backward
    u"Scroll up",  // str_list_mouse_roll_up
    u"Scroll down",  // str_list_mouse_roll_down
    u"Scroll left",  // str_list_mouse_roll_left
    u"Scroll right",  // str_list_mouse_roll_right
    u"Advanced",  // str_list_advance
    u"Play sound",  // str_list_advance_play_sound
    u"Open program",  // str_list_advance_open_program
    u"Open file",  // str_list_advance_open_file
    u"Open folder",  // str_list_advance_open_dir
    u"Browse...",  // str_browse
    u"Disabled",  // str_list_disable
    u"Default",  // str_list_default
    u"Choose a function",  // str_panel
    u"Current: ",  // str_cur_function
    u"Cancel",  // str_cancel
    u"Receiver removed. Closing the program.",  // str_notfind
    u"Settings saved and applied.",  // str_msg1
    u"Path not found: %s",  // str_msg2
    u"Restore all buttons to default?",  // str_msg3
    u"Please plug in the receiver.",  // str_msg4
    u"Access denied; language not saved.",  // str_msg5
    // str_msg_profile_unreadable
    u"The settings file %s could not be read. The default settings are in use; the file is left as it is.",
    // str_msg_profile_not_saved
    u"The button and mouse settings could not be saved to %s.",
    // str_msg_profile_applied_not_saved
    u"The settings are applied but could not be saved to %s; they last until the program ends.",
    // str_msg_no_remapping
    u"Button events cannot be received; the buttons keep their normal functions.",
    u"Settings for %s\u2026",  // str_settings_for_program
};

}  // namespace norvi
