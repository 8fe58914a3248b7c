#pragma once
// The program's interface strings, filled from a language file. Every string is empty
// until a file is loaded; loading a file replaces all of them, and a key the file lacks (or
// leaves empty) takes the English file's string, else the built-in English text, so no
// control is ever blank. User-interface thread only.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "localisation/XmlDoc.h"
#include "model/FunctionName.h"

namespace norvi {

// The language keys in table order; each is an element name under "config".
inline constexpr auto kLanguageKeys = std::to_array<std::string_view>({
    "str_improveAccuracy",
    "str_rollerRows",
    "str_rollerScreen",
    "str_openPair",
    "str_ok",
    "str_list_base",
    "str_list_base_cut",
    "str_list_base_copy",
    "str_list_base_paste",
    "str_list_base_selectall",
    "str_list_base_search",
    "str_list_base_new",
    "str_list_base_paint",
    "str_list_base_save",
    "str_list_windows",
    "str_list_windows_switch_window",
    "str_list_windows_close_window",
    "str_list_windows_lock_PC",
    "str_list_windows_resource_manager",
    "str_list_windows_run",
    "str_list_windows_desktop",
    "str_list_windows_start",
    "str_list_windows_find",
    "str_list_windows_super_button",
    "str_list_windows_zoom_in",
    "str_list_windows_zoom_out",
    "str_list_windows_maximize",
    "str_list_windows_minimize",
    "str_list_media",
    "str_list_media_player",
    "str_list_media_play_pause",
    "str_list_media_stop",
    "str_list_media_previous",
    "str_list_media_next",
    "str_list_media_vol_plus",
    "str_list_media_vol_less",
    "str_list_media_mute",
    "str_list_mouse",
    "str_list_mouse_left",
    "str_list_mouse_right",
    "str_list_mouse_middle",
    "str_list_mouse_forward",
    "str_list_mouse_backward",
    "str_list_mouse_roll_up",
    "str_list_mouse_roll_down",
    "str_list_mouse_roll_left",
    "str_list_mouse_roll_right",
    "str_list_advance",
    "str_list_advance_play_sound",
    "str_list_advance_open_program",
    "str_list_advance_open_file",
    "str_list_advance_open_dir",
    "str_list_advance_keys",
    "str_browse",
    "str_list_disable",
    "str_list_default",
    "str_panel",
    "str_cur_function",
    "str_cancel",
    "str_notfind",
    "str_msg1",
    "str_msg2",
    "str_msg3",
    "str_msg4",
    "str_msg5",
    "str_msg_profile_unreadable",
    "str_msg_profile_not_saved",
    "str_msg_profile_applied_not_saved",
    "str_msg_config_elsewhere",
    "str_msg_no_remapping",
    "str_settings_for_program",
    "str_keys_named",
    "str_keys_clear",
    "str_keys_prompt",
    "str_keys_listening",
    "str_keys_hint",
    "str_keys_modifiers_only",
    "str_keys_escape",
    // The main window's labels over its skin.
    "str_main_subtitle",
    "str_main_settings",
    "str_main_pointer",
    "str_main_pointer_speed",
    "str_main_slow",
    "str_main_fast",
    "str_main_precision",
    "str_main_wheel",
    "str_main_wheel_scrolls",
    "str_main_wheel_lines",
    "str_main_wheel_screen",
    "str_main_wheel_up",
    "str_main_middle_button",
    "str_main_wheel_down",
    "str_main_right_button",
    "str_main_tilt_right",
    "str_main_tilt_left",
    "str_main_forward",
    "str_main_back",
    "str_main_thumb_side",
    "str_main_click_input",
    // The picker's message when an advanced row is chosen without a path.
    "str_msg_no_path",
});

// The parent element of every key in a language file.
inline constexpr std::u16string_view kLanguageKeyParent = u"config";

// The text of key under the first element named parentName below the root, or under a
// parentName nested in it (searched level by level); empty when there is none.
std::u16string LookupKey(XmlDoc& doc, std::u16string_view parentName, std::u16string_view key);

class StringTable : public IStringLookup {
 public:
  // Assigns every string from the language file at path, each string the file does not give
  // from "en.xml" in the same folder, then from the built-in English texts. Returns 1 when
  // the file was read, 0 when it was not (missing, unreadable, too large for the reader or
  // for memory). Never throws.
  int LoadLanguageStrings(std::u16string_view path);

  // The language whose file was loaded last (LanguageOfFile of its path); 0 before any load
  // and after a file that is none of the twelve. Set also by the start-up texts.
  int32_t LanguageIndex() const override { return language_; }
  void SetLanguageIndex(int32_t index) { language_ = index; }

  // Empty for a key outside the table. The view lasts until the next load or Set.
  std::u16string_view Text(std::string_view key) const override;
  // Replaces one string; 0 for a key outside the table.
  int Set(std::string_view key, std::u16string text);

  // The loader's document, kept for diagnosis (its result text).
  const XmlDoc& Document() const { return doc_; }

 private:
  XmlDoc doc_;
  std::array<std::u16string, kLanguageKeys.size()> strings_;
  int32_t language_ = 0;
};

}  // namespace norvi
