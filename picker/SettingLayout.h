#pragma once
// Where everything sits in the function picker and its five pages, what each control says,
// and the questions the advanced page asks for a path. Portable: plain numbers in the client
// coordinates of the picker (buttons, texts) or of a page (lists, advanced rows); colours in
// GDI order 0x00BBGGRR.

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "controls/ImageGeometry.h"

namespace norvi {

// Categories 1 to 5, in tab and page order.
enum PickerCategory : int {
  kCategoryBase = 1,
  kCategoryWindows = 2,
  kCategoryMedia = 3,
  kCategoryMouse = 4,
  kCategoryAdvance = 5,
};
constexpr int kCategoryCount = 5;

// The picker's nine buttons, in creation order.
enum class PickerButton {
  Close,
  TabBase,
  TabWindows,
  TabMedia,
  TabMouse,
  TabAdvance,
  Disable,
  Default,
  Ok
};
constexpr int kPickerButtonCount = 9;

constexpr PickerButton TabOf(int category) {
  return static_cast<PickerButton>(static_cast<int>(PickerButton::TabBase) + category - 1);
}

struct TextColours {
  uint32_t normal, hover, pressed;
};

struct PickerButtonPlace {
  PickerButton button;
  EdgeRect rect;
  std::string_view captionKey;  // empty: picture only
  std::string_view tooltipKey;  // empty: no tooltip
  bool toggle;                  // the pressed look follows the checked state
  TextColours colours;          // of the caption; unused without one
};

constexpr TextColours kTabTextColours{0x676153, 0xE9CC2F, 0xE9CC2F};
constexpr TextColours kActionTextColours{0x676153, 0xE9CC2F, 0xFFFFFF};

constexpr std::array<PickerButtonPlace, kPickerButtonCount> kPickerButtons{{
    {PickerButton::Close, {383, 1, 411, 28}, {}, {}, false, {}},
    {PickerButton::TabBase,
     {0, 37, 82, 64},
     "str_list_base",
     "str_list_base",
     true,
     kTabTextColours},
    {PickerButton::TabWindows,
     {83, 37, 165, 64},
     "str_list_windows",
     "str_list_windows",
     true,
     kTabTextColours},
    {PickerButton::TabMedia,
     {166, 37, 248, 64},
     "str_list_media",
     "str_list_media",
     true,
     kTabTextColours},
    {PickerButton::TabMouse,
     {249, 37, 331, 64},
     "str_list_mouse",
     "str_list_mouse",
     true,
     kTabTextColours},
    {PickerButton::TabAdvance,
     {332, 37, 412, 64},
     "str_list_advance",
     "str_list_advance",
     true,
     kTabTextColours},
    {PickerButton::Disable, {23, 258, 42, 277}, {}, "str_list_disable", true, {}},
    {PickerButton::Default,
     {249, 255, 321, 280},
     "str_list_default",
     "str_list_default",
     false,
     kActionTextColours},
    {PickerButton::Ok, {321, 255, 393, 280}, "str_ok", "str_ok", false, kActionTextColours},
}};

constexpr const PickerButtonPlace& PlaceOf(PickerButton button) {
  return kPickerButtons[static_cast<size_t>(button)];
}

// Every page sits here in the picker: 370 x 169 pixels.
constexpr EdgeRect kPickerPageRect{21, 74, 391, 243};

// Texts the picker draws itself: "MS Shell Dlg" 14 / 300, FF_SWISS, transparent.
constexpr uint32_t kPickerTextColour = 0x695F58;
constexpr uint32_t kPickerTitleFlags =
    0x8135;  // CENTER VCENTER WORDBREAK SINGLELINE NOCLIP END_ELLIPSIS
constexpr uint32_t kPickerLabelFlags = 0x8134;                  // the same without CENTER
constexpr EdgeRect kPickerTitleRect{75, 1, 317, 20};            // str_panel
constexpr EdgeRect kPickerCurrentFunctionRect{5, 16, 180, 38};  // str_cur_function + name
constexpr EdgeRect kPickerDisableLabelRect{46, 258, 106, 278};  // str_list_disable

// What OK answers when the disable box is checked.
constexpr int32_t kDisabledCode = 96;

// Skin pictures under the program folder.
constexpr std::u16string_view kPickerNormalPicture = u"\\skins\\setting\\Setting_Normal.bmp";
constexpr std::u16string_view kPickerDownPicture = u"\\skins\\setting\\Setting_Down.bmp";
constexpr std::u16string_view kPickerOverPicture = u"\\skins\\setting\\Setting_Over.bmp";
constexpr std::u16string_view kListPagePicture = u"\\skins\\base\\Base_Normal.bmp";
constexpr std::u16string_view kAdvancedNormalPicture = u"\\skins\\advanced\\Advanced_Normal.bmp";
constexpr std::u16string_view kAdvancedDownPicture = u"\\skins\\advanced\\Advanced_Down.bmp";
constexpr std::u16string_view kAdvancedOverPicture = u"\\skins\\advanced\\Advanced_Over.bmp";

// List pages: the list and its looks (page coordinates).
constexpr EdgeRect kListRect{0, 0, 372, 171};
constexpr uint32_t kListStyle =
    0x50200061;  // CHILD VISIBLE VSCROLL HASSTRINGS OWNERDRAWVARIABLE NOTIFY
constexpr int kListId = 101;
constexpr uint32_t kListBackground = 0xFCFCFC;
constexpr uint32_t kListSelection = 0xE9CC2F;
constexpr uint32_t kListText = 0x6B5C53;
constexpr uint32_t kListSelectedText = 0xFFFFFF;
constexpr int kListRowHeight = 18;

// The function codes of list category 1 to 4 in display order; empty for any other number.
std::span<const int32_t> ListRows(int category);

// The category whose page offers the code (advanced: 81 to 85); 0 when no page does.
int CategoryOf(int32_t code);
// Whether the code's function opens a path (81 to 84), and so is nothing without one.
bool NeedsPath(int32_t code);

// Advanced page (page coordinates): one row per function that needs a path. Each path field
// starts right of its label's rectangle, so the label shows whole in every language.
constexpr int kAdvancedRowCount = 4;

// What the row's browse question asks: a file to open (extension, initial name, filter in
// the "text|pattern||" form, initial folder), or a folder when `folder` is set.
struct PathRequest {
  bool folder;
  std::u16string_view defaultExtension;
  std::u16string_view fileName;
  std::u16string_view filter;
  std::u16string_view initialFolder;
};
constexpr uint32_t kPathRequestFlags = 6;  // OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT

struct AdvancedRow {
  int32_t code;
  std::string_view labelKey;  // label and choice tooltip
  EdgeRect choice, path, browse, label;
  PathRequest request;
};

constexpr std::array<AdvancedRow, kAdvancedRowCount> kAdvancedRows{{
    {81,
     "str_list_advance_play_sound",
     {21, 37, 38, 54},
     {130, 36, 263, 52},
     {273, 33, 349, 55},
     {41, 36, 127, 56},
     {false, u".wav*", u"*.wav*", u"(*.wav*)|*.wav*||", u"c:\\Windows\\Media"}},
    {82,
     "str_list_advance_open_program",
     {21, 63, 38, 80},
     {130, 63, 262, 79},
     {273, 59, 349, 81},
     {41, 63, 127, 83},
     {false, u".exe", u"*.exe", u"(*.exe)|*.exe||", u"c:\\Program Files"}},
    {83,
     "str_list_advance_open_file",
     {21, 88, 38, 105},
     {130, 89, 262, 105},
     {273, 86, 349, 108},
     {41, 89, 127, 109},
     {false, u".", u"*.*", u"(*.*)|*.*||", u"D:\\"}},
    {84,
     "str_list_advance_open_dir",
     {21, 114, 38, 131},
     {130, 116, 262, 132},
     {273, 113, 349, 135},
     {41, 116, 127, 136},
     {true, {}, {}, {}, {}}},
}};

constexpr TextColours kBrowseTextColours{0x695F58, 0xFFFFFF, 0xFFFFFF};
constexpr TextColours kChosenPathTextColours{0x695F58, 0x695F58, 0x695F58};

// A path holds at most 259 characters and its terminator.
constexpr size_t kPickerPathLimit = 259;

// The filter of a file question as the system wants it: every '|' becomes a terminator, so
// "(*.exe)|*.exe||" turns into "(*.exe)\0*.exe\0\0".
std::u16string DialogFilter(std::u16string_view filter);

}  // namespace norvi
